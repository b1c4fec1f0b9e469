#include "engine/core/PXInputMap.h"

#include <gtest/gtest.h>

namespace {

using Action = PXInputAction;
using Context = PXInputContext;

TEST(InputMapTest, DefaultsTellPlayFromMenus)
{
    struct Case {
        const char* what;
        Context context;
        int32_t key;
        Action expected;
    };
    const Case cases[] = {
        {"arrow left steers", Context::Play, KeyArrowLeft, Action::MoveLeft},
        {"space turns", Context::Play, ' ', Action::Turn},
        {"arrow up turns too", Context::Play, KeyArrowUp, Action::Turn},
        {"arrow down drops", Context::Play, KeyArrowDown, Action::Drop},
        {"P pauses in either case", Context::Play, 'P', Action::Pause},
        {"p", Context::Play, 'p', Action::Pause},
        {"Escape asks to quit", Context::Play, KeyEscape, Action::Quit},
        {"Return means nothing in play", Context::Play, KeyReturn, Action::None},
        {"arrow up moves the focus on a screen", Context::Menu, KeyArrowUp, Action::FocusUp},
        {"Tab goes to the next element", Context::Menu, KeyTab, Action::FocusNext},
        {"space presses", Context::Menu, ' ', Action::Press},
        {"Return presses", Context::Menu, KeyReturn, Action::Press},
        {"Escape goes back", Context::Menu, KeyEscape, Action::Back},
        {"page down", Context::Menu, KeyPageDown, Action::PageDown},
        {"a letter means nothing on a screen", Context::Menu, 'p', Action::None},
        {"no key", Context::Menu, 0, Action::None},
        {"a byte above 127", Context::Play, CharKeyCode(0xC9), Action::None},
    };
    const PXInputMap map;
    for (const Case& c : cases) {
        EXPECT_EQ(map.ForKey(c.context, c.key), c.expected) << c.what;
    }
}

TEST(InputMapTest, PadButtonsFollowThePad)
{
    struct Case {
        Context context;
        int32_t button;
        Action expected;
    };
    const Case cases[] = {
        {Context::Play, PadLeft, Action::MoveLeft},   {Context::Play, PadSouth, Action::Turn},
        {Context::Play, PadEast, Action::Drop},       {Context::Play, PadDown, Action::Drop},
        {Context::Play, PadStart, Action::Pause},     {Context::Play, PadBack, Action::Quit},
        {Context::Menu, PadUp, Action::FocusUp},      {Context::Menu, PadSouth, Action::Press},
        {Context::Menu, PadEast, Action::Back},       {Context::Menu, PadRightShoulder, Action::FocusNext},
        {Context::Play, PadNorth, Action::None},      {Context::Menu, 0, Action::None},
    };
    const PXInputMap map;
    for (const Case& c : cases) {
        EXPECT_EQ(map.ForPad(c.context, c.button), c.expected) << "button " << c.button;
    }
}

TEST(InputMapTest, ABoundKeyMovesAndAKeyInUseIsRefused)
{
    PXInputMap map;
    Action conflict = Action::None;
    // 'A' is free in play: it becomes the second key for left, stored in lower case.
    ASSERT_TRUE(map.BindKey(Context::Play, Action::MoveLeft, 1, 'A', &conflict));
    EXPECT_EQ(map.ForKey(Context::Play, 'a'), Action::MoveLeft);
    EXPECT_EQ(map.Find(Context::Play, Action::MoveLeft)->keys[1], 'a');
    EXPECT_EQ(map.ForKey(Context::Play, KeyArrowLeft), Action::MoveLeft);

    // Space turns: it cannot also drop, and the map stays as it was.
    EXPECT_FALSE(map.BindKey(Context::Play, Action::Drop, 0, ' ', &conflict));
    EXPECT_EQ(conflict, Action::Turn);
    EXPECT_EQ(map.ForKey(Context::Play, ' '), Action::Turn);
    EXPECT_EQ(map.ForKey(Context::Play, KeyArrowDown), Action::Drop);

    // A key in use on the screens is free in play: the contexts are apart.
    EXPECT_TRUE(map.BindKey(Context::Play, Action::Drop, 0, KeyReturn));
    EXPECT_EQ(map.ForKey(Context::Play, KeyReturn), Action::Drop);
    EXPECT_EQ(map.ForKey(Context::Play, KeyArrowDown), Action::None);
    EXPECT_EQ(map.ForKey(Context::Menu, KeyReturn), Action::Press);

    // Binding an action's own key to another of its slots leaves one copy.
    ASSERT_TRUE(map.BindKey(Context::Play, Action::MoveLeft, 2, 'a'));
    const auto& keys = map.Find(Context::Play, Action::MoveLeft)->keys;
    EXPECT_EQ(keys[1], 0);
    EXPECT_EQ(keys[2], 'a');

    // Slots and actions that do not exist.
    EXPECT_FALSE(map.BindKey(Context::Play, Action::MoveLeft, PXInputBinding::KeySlots, 'z'));
    EXPECT_FALSE(map.BindKey(Context::Play, Action::FocusUp, 0, 'z'));

    map.RestoreDefaults();
    EXPECT_EQ(map.ForKey(Context::Play, 'a'), Action::None);
    EXPECT_EQ(map.ForKey(Context::Play, KeyArrowDown), Action::Drop);
}

TEST(InputMapTest, APadButtonInUseIsRefused)
{
    PXInputMap map;
    Action conflict = Action::None;
    EXPECT_FALSE(map.BindPad(Context::Play, Action::Pause, 0, PadSouth, &conflict));
    EXPECT_EQ(conflict, Action::Turn);
    EXPECT_EQ(map.ForPad(Context::Play, PadStart), Action::Pause);
    ASSERT_TRUE(map.BindPad(Context::Play, Action::Turn, 1, PadNorth));
    EXPECT_EQ(map.ForPad(Context::Play, PadNorth), Action::Turn);
    EXPECT_EQ(map.ForPad(Context::Play, PadSouth), Action::Turn);
}

}  // namespace
