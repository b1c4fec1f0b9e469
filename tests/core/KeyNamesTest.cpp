#include "engine/core/PXKeyNames.h"

#include <gtest/gtest.h>

#include "engine/core/PXEvent.h"

namespace {

TEST(KeyNamesTest, KeysReadAsOnTheKeyboard)
{
    struct Case {
        int32_t key;
        const char* name;
    };
    const Case cases[] = {
        {0, ""},
        {'a', "A"},
        {'z', "Z"},
        {'7', "7"},
        {',', ","},
        {' ', "Space"},
        {KeyReturn, "Enter"},
        {KeyEscape, "Escape"},
        {KeyArrowLeft, "Left"},
        {KeyArrowDown, "Down"},
        {KeyPageUp, "Page Up"},
        {KeyEnd, "End"},
        {KeyF1, "F1"},
        {KeyF12, "F12"},
        // The code page's upper half arrives sign-extended; the font draws the byte.
        {CharKeyCode(0xE9), "\xE9"},
        {KeyF12 + 1, "Key 280"},
        {-200, "Key -200"},
        {127, "Key 127"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PXKeyName(c.key), c.name) << c.key;
    }
}

TEST(KeyNamesTest, PadButtonsAreNamedByTheCommonLabels)
{
    EXPECT_EQ(PXPadButtonName(0), "");
    EXPECT_EQ(PXPadButtonName(PadSouth), "A");
    EXPECT_EQ(PXPadButtonName(PadEast), "B");
    EXPECT_EQ(PXPadButtonName(PadStart), "Start");
    EXPECT_EQ(PXPadButtonName(PadLeft), "Left");
    EXPECT_EQ(PXPadButtonName(PadRightShoulder), "RB");
    EXPECT_EQ(PXPadButtonName(99), "Button 99");
}

}  // namespace
