// The player's options: their round trip through the settings store with the play
// bindings, what a damaged stored value falls back to (and the one log line it writes),
// applying them to the sound groups and the key repeat, and the repeat steps.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "game/SFOptions.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

namespace {

using Action = PXInputAction;
constexpr PXInputContext Play = PXInputContext::Play;

class OptionsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_settings = &store;
        g_inputMap.RestoreDefaults();
    }
    void TearDown() override
    {
        g_settings = nullptr;
        g_soundManager = nullptr;
        g_inputMap.RestoreDefaults();
        g_keyRepeatDelay = 120;
        SFOptions::SetMachineKeyRepeatDelay(120);
    }

    std::string Log() const { return dir.Read("log.txt"); }

    void StoreInt(const char* name, int32_t value)
    {
        store.OpenGameKey();
        store.SetInt(name, value);
        store.CloseKey();
    }
    void StoreText(const char* name, const std::string& value)
    {
        store.OpenGameKey();
        store.SetString(name, value);
        store.CloseKey();
    }

    static bool PlayBindingsAreDefaults()
    {
        return SFOptions::SameBindings(g_inputMap.Bindings(), PXInputMap().Bindings());
    }

    TempDir dir;
    FakeSettingsManager store{dir.Folder()};
};

TEST_F(OptionsTest, WhatIsWrittenIsReadBackWithTheBindings)
{
    SFOptions written;
    written.musicVolume = 35;
    written.effectsVolume = 0;
    written.keyRepeatDelay = 85;
    // Turn and Drop trade keys: read back one at a time, each would clash with the other.
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::Turn, 0, 0));
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::Turn, 1, 0));
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::Drop, 0, ' '));
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::Turn, 2, KeyArrowDown));
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::MoveLeft, 1, 'a'));
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::Pause, 0, CharKeyCode(0xE9)));
    ASSERT_TRUE(g_inputMap.BindPad(Play, Action::MoveLeft, 0, PadWest));
    ASSERT_TRUE(g_inputMap.BindPad(Play, Action::ToggleSound, 1, PadNorth));
    const std::vector<PXInputBinding> bindings = g_inputMap.Bindings();
    written.Write(store);

    g_inputMap.RestoreDefaults();
    SFOptions read;
    read.Read(store);
    EXPECT_EQ(read, written);
    EXPECT_EQ(read.musicVolume, 35);
    EXPECT_EQ(read.effectsVolume, 0);
    EXPECT_EQ(read.keyRepeatDelay, 85);
    EXPECT_TRUE(SFOptions::SameBindings(g_inputMap.Bindings(), bindings));
    EXPECT_EQ(g_inputMap.ForKey(Play, KeyArrowDown), Action::Turn);
    EXPECT_EQ(g_inputMap.ForKey(Play, ' '), Action::Drop);
    EXPECT_EQ(g_inputMap.ForPad(Play, PadWest), Action::MoveLeft);
    EXPECT_EQ(Log(), "");
}

TEST_F(OptionsTest, MissingValuesKeepTheDefaultsSilently)
{
    SFOptions options;
    options.Read(store);
    EXPECT_EQ(options, SFOptions());
    EXPECT_TRUE(PlayBindingsAreDefaults());

    // Some values only: the rest stays as it was.
    StoreInt("Effects Volume", 40);
    StoreText("Keys Drop", "100,0,0");
    options.Read(store);
    EXPECT_EQ(options.effectsVolume, 40);
    EXPECT_EQ(options.musicVolume, 100);
    EXPECT_EQ(options.keyRepeatDelay, 0);
    EXPECT_EQ(g_inputMap.ForKey(Play, 'd'), Action::Drop);
    EXPECT_EQ(g_inputMap.ForKey(Play, KeyArrowDown), Action::None);
    EXPECT_EQ(g_inputMap.ForKey(Play, KeyArrowLeft), Action::MoveLeft);
    EXPECT_EQ(g_inputMap.ForPad(Play, PadEast), Action::Drop);
    EXPECT_EQ(Log(), "");
}

TEST_F(OptionsTest, ADamagedValueKeepsTheDefaultAndLogsOneLine)
{
    // A value stored as text (`text`) or as a number.
    struct Stored {
        const char* name;
        const char* text;
        int32_t number;
    };
    struct Case {
        const char* what;
        std::vector<Stored> stored;
        // The start of the one log line.
        const char* logged;
    };
    const Case cases[] = {
        {"text in a volume",
         {{"Music Volume", "loud", 0}},
         "Settings: \"Music Volume\" \"loud\" is not a number; using 100"},
        {"a volume above 100",
         {{"Music Volume", nullptr, 250}},
         "Settings: \"Music Volume\" 250 is out of range 0..100; using 100"},
        {"a volume below 0",
         {{"Effects Volume", nullptr, -1}},
         "Settings: \"Effects Volume\" -1 is out of range 0..100; using 100"},
        {"a delay too short",
         {{"Key Repeat Delay", nullptr, 29}},
         "Settings: \"Key Repeat Delay\" 29 is out of range 0 or 30..1000; using 0"},
        {"a delay too long",
         {{"Key Repeat Delay", nullptr, 1001}},
         "Settings: \"Key Repeat Delay\" 1001 is out of range"},
        {"text in the delay",
         {{"Key Repeat Delay", "120ms", 0}},
         "Settings: \"Key Repeat Delay\" \"120ms\" is not a number"},
        {"letters in a binding",
         {{"Keys Left", "a,b,c", 0}},
         "Settings: \"Keys Left\" \"a,b,c\" is not 3 key codes; using the default bindings"},
        {"too many keys",
         {{"Keys Left", "259,0,0,0", 0}},
         "Settings: \"Keys Left\" \"259,0,0,0\" is not 3 key codes"},
        {"too few keys", {{"Keys Turn", "32,0", 0}}, "Settings: \"Keys Turn\" \"32,0\" is not 3 key codes"},
        {"blanks round a code",
         {{"Keys Turn", "32, 0,0", 0}},
         "Settings: \"Keys Turn\" \"32, 0,0\" is not 3 key codes"},
        {"a code that is no key",
         {{"Keys Quit", "27,280,0", 0}},
         "Settings: \"Keys Quit\" \"27,280,0\" is not 3 key codes"},
        {"a code that is no pad button",
         {{"Pad Left", "9,13", 0}},
         "Settings: \"Pad Left\" \"9,13\" is not 2 pad button codes"},
        {"a number where the codes belong",
         {{"Pad Drop", nullptr, 2}},
         "Settings: \"Pad Drop\" 2 is not 2 pad button codes"},
        {"a key another action keeps",
         {{"Keys Right", "259,0,0", 0}},
         "Settings: \"Keys Right\" \"259,0,0\" takes a key of Left; using the default bindings"},
        {"two stored bindings with one key",
         {{"Keys Left", "107,0,0", 0}, {"Keys Right", "107,0,0", 0}},
         "Settings: \"Keys Right\" \"107,0,0\" takes a key of Left"},
        {"a pad button another action keeps",
         {{"Pad Pause", "1,0", 0}},
         "Settings: \"Pad Pause\" \"1,0\" takes a pad button of Turn"},
        // A good binding is not kept beside a damaged one.
        {"a good binding before a damaged one",
         {{"Keys Left", "106,0,0", 0}, {"Pad Quit", "x", 0}},
         "Settings: \"Pad Quit\" \"x\" is not 2 pad button codes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir caseDir;
        FakeSettingsManager caseStore{caseDir.Folder()};
        g_settings = &caseStore;
        g_inputMap.RestoreDefaults();
        for (const Stored& value : c.stored) {
            if (value.text != nullptr) {
                caseStore.SetString(value.name, value.text);
            } else {
                caseStore.SetInt(value.name, value.number);
            }
        }

        SFOptions options;
        options.Read(caseStore);
        EXPECT_EQ(options, SFOptions());
        EXPECT_TRUE(PlayBindingsAreDefaults());
        const std::string log = caseDir.Read("log.txt");
        EXPECT_EQ(log.rfind(c.logged, 0), 0u) << log;
        EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 1) << log;
    }
}

TEST_F(OptionsTest, ApplySetsTheGroupGainsAndTheKeyRepeat)
{
    struct Case {
        int32_t music, effects, delay, machine;
        float musicGain, effectsGain;
        int32_t repeat;
    };
    const Case cases[] = {
        {50, 0, 0, 140, 0.25f, 0.0f, 140},
        {100, 10, 60, 140, 1.0f, 0.01f, 60},
        {0, 100, 220, 90, 0.0f, 1.0f, 220},
    };
    PXDeviceSoundManager manager(nullptr);
    g_soundManager = &manager;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.music) + " " + std::to_string(c.effects) + " " +
                     std::to_string(c.delay));
        SFOptions::SetMachineKeyRepeatDelay(c.machine);
        SFOptions options;
        options.musicVolume = c.music;
        options.effectsVolume = c.effects;
        options.keyRepeatDelay = c.delay;
        options.Apply();
        EXPECT_FLOAT_EQ(manager.GetGroupVolume(PXSoundGroup::Music), c.musicGain);
        EXPECT_FLOAT_EQ(manager.GetGroupVolume(PXSoundGroup::Effects), c.effectsGain);
        EXPECT_EQ(g_keyRepeatDelay, c.repeat);
    }
    // Without a sound manager only the key repeat is set.
    g_soundManager = nullptr;
    SFOptions options;
    options.keyRepeatDelay = 85;
    options.Apply();
    EXPECT_EQ(g_keyRepeatDelay, 85);
}

TEST_F(OptionsTest, RestoreDefaultsPutsBackTheOptionsAndEveryBinding)
{
    SFOptions options;
    options.musicVolume = 5;
    options.effectsVolume = 6;
    options.keyRepeatDelay = 300;
    ASSERT_TRUE(g_inputMap.BindKey(Play, Action::MoveLeft, 0, 'j'));
    ASSERT_TRUE(g_inputMap.BindKey(PXInputContext::Menu, Action::FocusUp, 1, 'w'));
    options.RestoreDefaults();
    EXPECT_EQ(options, SFOptions());
    EXPECT_TRUE(SFOptions::SameBindings(g_inputMap.Bindings(), PXInputMap().Bindings()));
}

TEST_F(OptionsTest, EqualityTellsEachFieldApart)
{
    const std::vector<std::function<void(SFOptions&)>> changes = {
        [](SFOptions& o) { o.musicVolume = 99; },
        [](SFOptions& o) { o.effectsVolume = 99; },
        [](SFOptions& o) { o.keyRepeatDelay = 99; },
    };
    for (size_t i = 0; i < changes.size(); ++i) {
        SFOptions changed;
        changes[i](changed);
        EXPECT_NE(changed, SFOptions()) << "field " << i;
        EXPECT_FALSE(changed == SFOptions()) << "field " << i;
    }
}

TEST(OptionsKeyRepeat, StepsHaveNamesAndTheNearestStepIsFound)
{
    const char* names[] = {"Slow", "Relaxed", "Normal", "Quick", "Fast"};
    for (size_t step = 0; step < SFOptions::KeyRepeatDelays.size(); ++step) {
        EXPECT_STREQ(SFOptions::KeyRepeatName(step), names[step]);
        EXPECT_EQ(SFOptions::NearestKeyRepeatStep(SFOptions::KeyRepeatDelays[step]), step);
    }
    EXPECT_STREQ(SFOptions::KeyRepeatName(SFOptions::KeyRepeatDelays.size()), "");

    struct Case {
        int32_t delay;
        size_t step;
    };
    // 190 lies as near 220 as 160: the slower step wins.
    const Case cases[] = {{1000, 0}, {191, 0}, {190, 0}, {189, 1}, {140, 1}, {139, 2},
                          {100, 3},  {72, 4},  {30, 4},  {0, 4},   {-50, 4}};
    for (const Case& c : cases)
        EXPECT_EQ(SFOptions::NearestKeyRepeatStep(c.delay), c.step) << c.delay << " ms";
}

}  // namespace
