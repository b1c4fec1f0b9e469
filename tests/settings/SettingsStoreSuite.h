// The behaviour every settings store shares, as one value-parameterised suite: each store's
// test program instantiates SettingsStoreTest with a SettingsStoreMaker for its store.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/settings/PXSettingsManager.h"

struct SettingsStoreMaker {
    const char* name;
    // A fresh store on the test's storage; a second call reaches the same storage when
    // the store persists.
    std::function<std::unique_ptr<PXSettingsManager>()> make;
    // True when a second instance sees what the first one wrote.
    bool persists;
    // Gives the store empty storage before a test (and drops it after); may be empty.
    std::function<void()> reset;
};

// Test names and failures show the store's name, not the maker's bytes.
inline void PrintTo(const SettingsStoreMaker& maker, std::ostream* os)
{
    *os << maker.name;
}

class SettingsStoreTest : public ::testing::TestWithParam<SettingsStoreMaker> {
protected:
    void SetUp() override
    {
        if (GetParam().reset)
            GetParam().reset();
        store = GetParam().make();
        ASSERT_NE(store, nullptr);
        ASSERT_EQ(store->OpenGameKey(), 1);
    }
    void TearDown() override
    {
        store.reset();
        again.reset();
        if (GetParam().reset)
            GetParam().reset();
    }
    // The store a later read goes to: a new instance where the store persists, so the
    // values are shown to survive it.
    PXSettingsManager& Reader()
    {
        if (!GetParam().persists)
            return *store;
        again = GetParam().make();
        again->OpenGameKey();
        return *again;
    }

    std::unique_ptr<PXSettingsManager> store;
    std::unique_ptr<PXSettingsManager> again;
};

inline std::string SettingsStoreName(const ::testing::TestParamInfo<SettingsStoreMaker>& info)
{
    return info.param.name;
}

TEST_P(SettingsStoreTest, NumbersRoundTrip)
{
    EXPECT_EQ(store->SetInt("Full Screen", -5), 1);
    EXPECT_EQ(store->SetInt("Zero", 0), 1);
    EXPECT_EQ(store->SetUInt("Big", 0xFFFFFFF0u), 1);
    EXPECT_EQ(store->SetFloat("Volume", 0.25f), 1);
    PXSettingsManager& reader = Reader();
    int32_t i32 = 7;
    uint32_t u32 = 0;
    float f = 0.0f;
    EXPECT_EQ(reader.GetInt("Full Screen", i32), 1);
    EXPECT_EQ(i32, -5);
    EXPECT_EQ(reader.GetInt("Zero", i32), 1);
    EXPECT_EQ(i32, 0);
    EXPECT_EQ(reader.GetUInt("Big", u32), 1);
    EXPECT_EQ(u32, 0xFFFFFFF0u);
    EXPECT_EQ(reader.GetFloat("Volume", f), 1);
    EXPECT_EQ(f, 0.25f);
}

TEST_P(SettingsStoreTest, TextsAndOddNamesRoundTrip)
{
    struct Case {
        std::string name;
        std::string text;
    };
    const std::vector<Case> cases = {
        {"LastHighScoreName", "Anna Lee"},
        {"Empty", ""},
        {"with space and . dot", "tab\tand \\ backslash"},
        {"Umlaut \xc3\xa4", "\xc3\xa9t\xc3\xa9"},
        {"Longest", std::string(1023, 'x')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(store->SetString(c.name, c.text), 1) << c.name;
    PXSettingsManager& reader = Reader();
    for (const Case& c : cases) {
        std::string text = "default";
        EXPECT_EQ(reader.GetString(c.name, text), 1) << c.name;
        EXPECT_EQ(text, c.text) << c.name;
    }
}

TEST_P(SettingsStoreTest, MissingKeysLeaveTheDefault)
{
    ASSERT_EQ(store->SetInt("Present", 3), 1);
    int32_t number = 77;
    uint32_t unsignedNumber = 78;
    float real = 0.5f;
    std::string text = "default";
    EXPECT_EQ(store->GetInt("Absent", number), 0);
    EXPECT_EQ(store->GetUInt("Absent", unsignedNumber), 0);
    EXPECT_EQ(store->GetFloat("Absent", real), 0);
    EXPECT_EQ(store->GetString("Absent", text), 0);
    EXPECT_EQ(number, 77);
    EXPECT_EQ(unsignedNumber, 78u);
    EXPECT_EQ(real, 0.5f);
    EXPECT_EQ(text, "default");
}

TEST_P(SettingsStoreTest, OverwriteKeepsTheLastValue)
{
    ASSERT_EQ(store->SetInt("Swap Controls", 1), 1);
    ASSERT_EQ(store->SetInt("Swap Controls", 0), 1);
    ASSERT_EQ(store->SetString("Name", "Old"), 1);
    ASSERT_EQ(store->SetString("Name", "New"), 1);
    ASSERT_EQ(store->SetString("Name", "Newest"), 1);
    PXSettingsManager& reader = Reader();
    int32_t swap = 9;
    std::string name;
    EXPECT_EQ(reader.GetInt("Swap Controls", swap), 1);
    EXPECT_EQ(swap, 0);
    EXPECT_EQ(reader.GetString("Name", name), 1);
    EXPECT_EQ(name, "Newest");
}
