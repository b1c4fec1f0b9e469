// The class registry: defining types, the unknown-class and duplicate log lines, inline
// definitions and their numbering, kind-checked entity creation and clearing.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXFileSystem.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/TempDir.h"

namespace {

int g_unloads = 0;

// A type that reads an integer and a reference the way every concrete type reads its keys.
class TestType : public PXEntityBaseType {
public:
    TestType(const PXDefinitionBlock* block, uint32_t kind) : m_kind(kind)
    {
        if (block && block->FindKey("Value"))
            block->ReadInts(&value, 1);
        if (block && block->FindKey("ChildEnt"))
            childValid = block->ReadEntityRef(&child);
    }
    std::unique_ptr<PXEntityBase> CreateEntity() override { return std::make_unique<PXEntityBase>(this); }
    bool Unload() override
    {
        ++g_unloads;
        return PXEntityBaseType::Unload();
    }
    bool IsA(uint32_t kind) const override { return kind == m_kind || PXEntityBaseType::IsA(kind); }

    int value = 0;
    PXEntityRef child;
    bool childValid = false;

private:
    uint32_t m_kind;
};

class TestPrototype : public PXEntityTypePrototype {
public:
    explicit TestPrototype(uint32_t kind) : m_kind(kind) {}
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override
    {
        return std::make_unique<TestType>(block, m_kind);
    }

private:
    uint32_t m_kind;
};

TestPrototype s_spritePrototype(PXKind::GuiElement);
TestPrototype s_buttonPrototype(PXKind::Button);

class EntityRegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        g_settings = &settings;
        g_entityRegistry = &registry;
        g_unloads = 0;
        ASSERT_TRUE(registry.RegisterPrototype(&s_spritePrototype, "sprite"));
        ASSERT_TRUE(registry.RegisterPrototype(&s_buttonPrototype, "button"));
    }
    void TearDown() override
    {
        g_entityRegistry = nullptr;
        g_settings = nullptr;
    }

    const PXEntityRef* Define(const std::string& text, bool anonymous = false)
    {
        PXDefinitionBlock block;
        block.LoadFromText(text.data(), text.size());
        return registry.DefineType(block, anonymous);
    }
    TestType* Find(const std::string& className, const std::string& typeName)
    {
        return static_cast<TestType*>(registry.FindType(className, typeName));
    }
    std::string LogText() const { return dir.Read("log.txt"); }

    TempDir dir;
    FakeSettingsManager settings{dir.Folder()};
    PXEntityRegistry registry;
};

TEST_F(EntityRegistryTest, DefinesNamedTypeUnderClassAndName)
{
    const PXEntityRef* ref = Define("class = sprite\ntype = MainMenuBG\nValue 12");
    ASSERT_NE(ref, nullptr);
    EXPECT_EQ(ref->className, "sprite");
    EXPECT_EQ(ref->typeName, "MainMenuBG");
    TestType* type = Find("sprite", "MainMenuBG");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(&type->GetRef(), ref);
    EXPECT_EQ(type->value, 12);
    EXPECT_FALSE(type->IsLoaded());
    EXPECT_EQ(registry.GetTypeCount(), 1u);
    // Both parts of the key are case-sensitive, and names are unique per class only.
    EXPECT_EQ(Find("sprite", "mainmenubg"), nullptr);
    EXPECT_EQ(Find("button", "MainMenuBG"), nullptr);
    EXPECT_NE(Define("class = button\ntype = MainMenuBG"), nullptr);
    EXPECT_EQ(LogText(), "");
}

TEST_F(EntityRegistryTest, RegisteringAClassTwiceOrNoPrototypeFails)
{
    EXPECT_FALSE(registry.RegisterPrototype(&s_buttonPrototype, "sprite"));
    EXPECT_FALSE(registry.RegisterPrototype(nullptr, "text"));
    EXPECT_TRUE(registry.RegisterPrototype(&s_spritePrototype, "Sprite"));
}

TEST_F(EntityRegistryTest, RegisteringAListGoesOnPastARefusedEntry)
{
    EXPECT_TRUE(registry.RegisterPrototypes({{&s_spritePrototype, "first"}}));
    EXPECT_FALSE(registry.RegisterPrototypes({{&s_spritePrototype, "second"},
                                              {nullptr, "third"},
                                              {&s_buttonPrototype, "first"},
                                              {&s_buttonPrototype, "fourth"}}));
    // Registered names are refused again, the refused ones are still free.
    EXPECT_FALSE(registry.RegisterPrototype(&s_spritePrototype, "second"));
    EXPECT_FALSE(registry.RegisterPrototype(&s_spritePrototype, "fourth"));
    EXPECT_TRUE(registry.RegisterPrototype(&s_spritePrototype, "third"));
    // The first registration of a name stays.
    EXPECT_NE(Define("class = first\ntype = A"), nullptr);
    EXPECT_TRUE(Find("first", "A")->IsA(PXKind::GuiElement));
    EXPECT_FALSE(Find("first", "A")->IsA(PXKind::Button));
}

TEST_F(EntityRegistryTest, UnknownClassIsLoggedAndDefinesNothing)
{
    EXPECT_EQ(Define("class = Sprite\ntype = A"), nullptr);
    EXPECT_EQ(Define("type = NoClass"), nullptr);
    EXPECT_EQ(LogText(), "Sprite - unknown class.\n - unknown class.\n");
    EXPECT_EQ(Find("Sprite", "A"), nullptr);
    EXPECT_EQ(registry.GetTypeCount(), 0u);
}

TEST_F(EntityRegistryTest, DuplicateIsLoggedOnceAndFirstDefinitionStays)
{
    ASSERT_NE(Define("class sprite\ntype Logo\nValue 1"), nullptr);
    EXPECT_EQ(Define("class sprite\ntype Logo\nValue 2"), nullptr);
    EXPECT_EQ(LogText(), "sprite|Logo - already defined.\n");
    EXPECT_EQ(Find("sprite", "Logo")->value, 1);
    EXPECT_EQ(registry.GetTypeCount(), 1u);
}

TEST_F(EntityRegistryTest, InlineDefinitionsAreNumberedByTypeCount)
{
    ASSERT_NE(Define("class sprite\ntype A"), nullptr);
    ASSERT_NE(Define("class sprite\ntype B"), nullptr);
    const PXEntityRef* outer = Define("class = button\n"
                                      "type = PlayButton\n"
                                      "# the main image is defined in place\n"
                                      "ChildEnt = @\n"
                                      "{\n"
                                      "class = sprite\n"
                                      "Value = 7\n"
                                      "}\n"
                                      "Value = 3\n");
    ASSERT_NE(outer, nullptr);
    TestType* button = Find("button", "PlayButton");
    EXPECT_EQ(button->value, 3) << "the inline Value line is hidden from the outer definition";
    ASSERT_TRUE(button->childValid);
    EXPECT_EQ(button->child.className, "sprite");
    EXPECT_EQ(button->child.typeName, "Anon2");
    ASSERT_NE(Find("sprite", "Anon2"), nullptr);
    EXPECT_EQ(Find("sprite", "Anon2")->value, 7);

    // Two inline definitions in a row take consecutive numbers.
    PXDefinitionBlock block;
    std::string two = "First @ {\nclass sprite\n}\nSecond @{\nclass sprite\n}";
    block.LoadFromText(two.data(), two.size());
    PXEntityRef first, second;
    ASSERT_TRUE(block.FindKey("First"));
    ASSERT_TRUE(block.ReadEntityRef(&first));
    ASSERT_TRUE(block.FindKey("Second"));
    ASSERT_TRUE(block.ReadEntityRef(&second));
    EXPECT_EQ(first.typeName, "Anon4");
    EXPECT_EQ(second.typeName, "Anon5");
    EXPECT_EQ(registry.GetTypeCount(), 6u);
}

TEST_F(EntityRegistryTest, InlineDefinitionsNestToAnyDepth)
{
    ASSERT_NE(Define("class button\ntype Outer\nValue 1\nChildEnt @\n{\n"
                     "  class button\n  Value 2\n  ChildEnt @ {\n"
                     "    class sprite\n    Value 3\n"
                     "  }\n"
                     "}\n"),
              nullptr);
    TestType* outer = Find("button", "Outer");
    ASSERT_TRUE(outer->childValid);
    TestType* middle = Find(outer->child.className, outer->child.typeName);
    ASSERT_NE(middle, nullptr);
    ASSERT_TRUE(middle->childValid);
    TestType* inner = Find(middle->child.className, middle->child.typeName);
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(outer->value, 1);
    EXPECT_EQ(middle->value, 2);
    EXPECT_EQ(inner->value, 3);
    // An anonymous type holds its number while its own inline children are defined.
    EXPECT_EQ(middle->GetRef().typeName, "Anon0");
    EXPECT_EQ(inner->GetRef().typeName, "Anon1");
}

TEST_F(EntityRegistryTest, InlineInsideAnonymousOfSameClassGetsItsOwnName)
{
    const PXEntityRef* ref = Define("class button\nChildEnt @ { class button\nValue 5 }", true);
    ASSERT_NE(ref, nullptr);
    TestType* outer = Find("button", ref->typeName);
    ASSERT_NE(outer, nullptr);
    ASSERT_TRUE(outer->childValid);
    EXPECT_NE(outer->child.typeName, ref->typeName);
    ASSERT_NE(Find("button", outer->child.typeName), nullptr);
    EXPECT_EQ(Find("button", outer->child.typeName)->value, 5);
    EXPECT_EQ(LogText(), "");
}

struct InlineFailure {
    const char* text;
    bool valid;
    const char* log;
};

TEST_F(EntityRegistryTest, BrokenInlineDefinitions)
{
    const InlineFailure cases[] = {
        {"class button\ntype A\nChildEnt @ {\nclass Sprite\n}", true, "Sprite - unknown class.\n"},
        // The value runs to the end of its line, so a class written before "}" keeps the space.
        {"class button\ntype F\nChildEnt @ { class sprite }", true, "sprite  - unknown class.\n"},
        {"class button\ntype B\nChildEnt @ {}", true, " - unknown class.\n"},
        {"class button\ntype C\nChildEnt @ no brace here", false, ""},
        {"class button\ntype D\nChildEnt @ {\nclass sprite\n", false, ""},
        {"class button\ntype E\nChildEnt @ # {\n}", false, ""},
    };
    for (const InlineFailure& c : cases) {
        std::filesystem::remove(dir.Path() / "log.txt");
        const PXEntityRef* ref = Define(c.text);
        ASSERT_NE(ref, nullptr) << c.text;
        TestType* type = Find("button", ref->typeName);
        EXPECT_EQ(type->childValid, c.valid) << c.text;
        EXPECT_TRUE(type->child.IsEmpty()) << c.text;
        EXPECT_EQ(LogText(), c.log) << c.text;
    }
}

TEST_F(EntityRegistryTest, OverlyDeepNestingStopsWithoutCrashing)
{
    const int levels = 2000;
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += "class button\nValue " + std::to_string(i) + "\nChildEnt @ {\n";
    text += "class sprite\n";
    text += std::string(levels, '}');
    ASSERT_NE(Define(text, true), nullptr);
    EXPECT_NE(LogText().find(" - nested too deep.\n"), std::string::npos);
    EXPECT_LE(registry.GetTypeCount(), static_cast<uint32_t>(PXEntityRegistry::MaxInlineDepth));
}

TEST_F(EntityRegistryTest, CreateEntityChecksTheKindCode)
{
    ASSERT_NE(Define("class button\ntype Play"), nullptr);
    PXEntityRef ref{"button", "Play"};
    std::unique_ptr<PXEntityBase> any = registry.CreateEntity(ref, PXKind::Unknown);
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(any->GetType(), registry.FindType("button", "Play"));
    EXPECT_NE(registry.CreateEntity("button", "Play", PXKind::Button), nullptr);
    EXPECT_EQ(registry.CreateEntity(ref, PXKind::Scene), nullptr);
    EXPECT_EQ(registry.CreateEntity("button", "Missing", PXKind::Unknown), nullptr);
    EXPECT_EQ(registry.CreateEntity(PXEntityRef{}, PXKind::Unknown), nullptr);
    EXPECT_EQ(LogText(), "");

    // The base Update keeps the shared type loaded.
    EXPECT_TRUE(any->Update(10.0f));
    EXPECT_TRUE(any->GetType()->IsLoaded());
}

TEST_F(EntityRegistryTest, KindCodesPutFirstCharacterInTopByte)
{
    EXPECT_EQ(PXKind::GuiElement, 0x47554945u);
    EXPECT_EQ(PXKindCode("UNKN"), 0x554E4B4Eu);
}

TEST_F(EntityRegistryTest, ClearTypesUnloadsAndForgetsEverything)
{
    ASSERT_NE(Define("class sprite\ntype A\nChildEnt @ {\nclass sprite\n}"), nullptr);
    registry.FindType("sprite", "A")->Load(false);
    EXPECT_TRUE(registry.ClearTypes());
    EXPECT_EQ(g_unloads, 2);
    EXPECT_EQ(registry.FindType("sprite", "A"), nullptr);
    EXPECT_EQ(registry.FindType("sprite", "Anon0"), nullptr);
    // The class map is emptied too.
    EXPECT_EQ(Define("class sprite\ntype A"), nullptr);
    EXPECT_EQ(LogText(), "sprite - unknown class.\n");
}

class CountingGame : public PXGame {
public:
    int Initialise() override { return 1; }
    void RunFrame(PXEventQueue&) override {}
    void ChangeScene(const std::string&, const std::string&, int) override {}
};

TEST_F(EntityRegistryTest, LoadsEveryDefinitionFileInListingOrder)
{
    TempDir data;
    data.Write("a.ent", "class = sprite\ntype = Logo\nValue = 1\n");
    data.Write("b.ent", "class = sprite\ntype = Logo\nValue = 2\n");
    data.Write("c.ent", "class = Sprite\ntype = Other\n");
    data.Write("empty.ent", "");
    data.Write("menus/d.ent",
               "class = button\r\ntype = Play\r\nChildEnt = @\r\n{\r\nclass = sprite\r\n}\r\n");
    data.Write("notes.txt", "class = sprite\ntype = Notes\n");

    PXFileSystem files;
    ASSERT_EQ(files.AddManager(MakeHostFileManager(), data.Folder()), 1);
    CountingGame game;
    g_fileSystem = &files;
    g_game = &game;
    EXPECT_TRUE(registry.LoadDefinitionFiles());
    g_fileSystem = nullptr;
    g_game = nullptr;

    ASSERT_NE(Find("sprite", "Logo"), nullptr);
    EXPECT_EQ(Find("sprite", "Logo")->value, 1);
    ASSERT_NE(Find("button", "Play"), nullptr);
    EXPECT_EQ(Find("button", "Play")->child.className, "sprite");
    EXPECT_EQ(Find("sprite", "Notes"), nullptr);
    std::string log = LogText();
    EXPECT_NE(log.find("sprite|Logo - already defined.\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Sprite - unknown class.\n"), std::string::npos) << log;
    EXPECT_EQ(log.size(), std::string("sprite|Logo - already defined.\nSprite - unknown class.\n").size())
        << log;
    // Five files listed; the empty one cannot be read and is not counted as done.
    EXPECT_EQ(game.GetLoadTotal(), 10u);
    EXPECT_EQ(game.GetLoadDone(), 4u);
}

TEST_F(EntityRegistryTest, LoadingWithoutFileSystemDefinesNothing)
{
    EXPECT_TRUE(registry.LoadDefinitionFiles());
    EXPECT_EQ(registry.GetTypeCount(), 0u);
}

}  // namespace
