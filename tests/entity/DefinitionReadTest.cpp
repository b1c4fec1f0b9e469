// The one-key readers every type constructor uses, and the load cycle types share
// (LoadWith / UnloadWith): what a present, an absent and an unreadable key leave behind, and
// when acquiring and releasing run.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityBase.h"

namespace {

PXDefinitionBlock Block(const std::string& text)
{
    PXDefinitionBlock block;
    block.LoadFromText(text.data(), text.size());
    return block;
}

// "Key" carries a number, "Empty" nothing, "Word" a word and "Ref" a reference.
const std::string Keys = "Key = 7\nEmpty =\nWord = seven\nRef = sprite, ball\n";

TEST(DefinitionReadTest, NumbersKeepTheirTargetWithoutAKeyOrANumber)
{
    const PXDefinitionBlock block = Block(Keys);
    struct Case {
        const char* key;
        int32_t wantedInt;
        float wantedFloat;
    };
    const Case cases[] = {
        {"Key", 7, 7.0f},
        {"Empty", -3, -3.0f},
        {"Missing", -3, -3.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        int32_t i = -3;
        float f = -3.0f;
        ReadInt(&block, c.key, &i);
        ReadFloat(&block, c.key, &f);
        EXPECT_EQ(c.wantedInt, i);
        EXPECT_FLOAT_EQ(c.wantedFloat, f);
    }
}

TEST(DefinitionReadTest, FlagsTakeTheUnreadableValueOnlyForAKeyWithoutANumber)
{
    const PXDefinitionBlock block = Block("On = 1\nOff = 0\nEmpty =\n");
    struct Case {
        const char* key;
        bool start;
        bool unreadable;
        bool wanted;
    };
    const Case cases[] = {
        {"On", false, false, true},    {"Off", true, true, false},     {"Empty", false, true, true},
        {"Empty", true, false, false}, {"Missing", true, false, true}, {"Missing", false, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + (c.start ? " from on" : " from off"));
        bool flag = c.start;
        ReadFlag(&block, c.key, &flag, c.unreadable);
        EXPECT_EQ(c.wanted, flag);
    }
}

TEST(DefinitionReadTest, TextAndReferencesChangeOnlyWhenTheKeyIsThere)
{
    const PXDefinitionBlock block = Block(Keys);
    std::string text = "kept";
    ReadText(&block, "Missing", &text);
    EXPECT_EQ("kept", text);
    ReadText(&block, "Word", &text);
    EXPECT_EQ("seven", text);

    PXEntityRef ref{"kept", "ref"};
    ReadRef(&block, "Missing", &ref);
    EXPECT_EQ("kept", ref.className);
    ReadRef(&block, "Ref", &ref);
    EXPECT_EQ("sprite", ref.className);
    EXPECT_EQ("ball", ref.typeName);
    // A key that names no reference empties it.
    ReadRef(&block, "Key", &ref);
    EXPECT_TRUE(ref.IsEmpty());
}

// A type that counts what it acquires and releases through the shared cycle.
class CountingType : public PXEntityBaseType {
public:
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<PXEntityBase>(this); }
    bool Load(bool reload) override
    {
        return LoadWith(reload, [this] { events.push_back("acquire"); });
    }
    bool Unload() override
    {
        return UnloadWith([this] { events.push_back("release"); });
    }

    std::vector<std::string> events;
};

TEST(DefinitionReadTest, LoadAcquiresOnceReloadReleasesFirstUnloadOnlyWhenLoaded)
{
    CountingType type;
    EXPECT_TRUE(type.Unload());
    EXPECT_TRUE(type.events.empty());

    EXPECT_TRUE(type.Load(false));
    EXPECT_TRUE(type.Load(false));
    EXPECT_TRUE(type.IsLoaded());
    EXPECT_EQ((std::vector<std::string>{"acquire"}), type.events);

    EXPECT_TRUE(type.Load(true));
    EXPECT_EQ((std::vector<std::string>{"acquire", "release", "acquire"}), type.events);

    EXPECT_TRUE(type.Unload());
    EXPECT_TRUE(type.Unload());
    EXPECT_FALSE(type.IsLoaded());
    EXPECT_EQ((std::vector<std::string>{"acquire", "release", "acquire", "release"}), type.events);
}

}  // namespace
