// The shipped data as the game loads it, from the loose tree and from the packed archive:
// every definition file defines its type (no unknown class, no duplicate), every type can
// be created and loads its pictures and sounds without an "Unable to open" line, every file
// and type a definition names exists, and the help text fits the list box that shows it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXHighScore.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/entity/PXEntityKind.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"
#include "engine/files/PXResourceCache.h"
#include "engine/graphics/PXMemoryScreen2D.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXPropertyIds.h"
#include "engine/sound/PXDeviceSoundManager.h"
#include "engine/sound/PXRecordingAudioDevice.h"
#include "game/SFEntityHighScoreMenuScene.h"
#include "game/SFEntityMainGameSceneType.h"
#include "game/SFGame.h"
#include "game/SFHighScore.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/HostFileManager.h"
#include "tests/support/TempDir.h"

namespace {

// The game's own class list, without starting the game.
class RegisteringGame : public SFGame {
public:
    using SFGame::RegisterPrototypes;
};

struct Form {
    const char* name;
    const char* folder;  // the folder the game runs in
};

void PrintTo(const Form& form, std::ostream* out)
{
    *out << form.name;
}

const Form Forms[] = {
    {"Loose", SF_BINARY_DIR "/game-loose/"},
    {"Packed", SF_BINARY_DIR "/game/"},
};

// The song, spelt as the game object asks for it; the play scene's files come from its type.
const char* const SongFile = "shardfall/sounds/SFSong.wav";

// The lines of the user-data log that contain `marker`.
std::vector<std::string> LogLinesWith(const std::string& log, const std::string& marker)
{
    std::vector<std::string> found;
    std::istringstream in(log);
    std::string line;
    while (std::getline(in, line))
        if (line.find(marker) != std::string::npos)
            found.push_back(line);
    return found;
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& line : lines)
        out += "\n  " + line;
    return out;
}

// A reference value as the reader keeps it: letters and digits of each side of the comma.
bool SplitReference(const std::string& value, std::string& className, std::string& typeName)
{
    const size_t comma = value.find(',');
    if (comma == std::string::npos || value.find(',', comma + 1) != std::string::npos)
        return false;
    auto keep = [](const std::string& s) {
        std::string out;
        for (char c : s)
            if (std::isalnum(static_cast<unsigned char>(c)))
                out += c;
        return out;
    };
    className = keep(value.substr(0, comma));
    typeName = keep(value.substr(comma + 1));
    return !className.empty() && !typeName.empty();
}

// Publishes the engine on a headless screen and a recording audio device, mounts the game
// folder and its archives as the game does, registers the game's classes and reads every
// definition file. The log goes to a private user-data folder.
class ShippedContent : public ::testing::TestWithParam<Form> {
protected:
    void SetUp() override
    {
        g_settings = &settings;
        PXScreenDesc desc;
        desc.width = 640;
        desc.height = 480;
        desc.pixelFormat.bitsPerPixel = 16;
        ASSERT_EQ(1u, screen.Create(&desc, "content"));
        g_screen = &screen;
        ASSERT_TRUE(std::filesystem::is_directory(GetParam().folder)) << "build the assets target first";
        fileSystem.AddManager(MakeHostFileManager(), GetParam().folder);
        std::vector<std::string> archives;
        fileSystem.ListFiles("*.pxa", "", false, archives);
        for (const std::string& name : archives)
            fileSystem.AddManager(std::make_unique<PXArchiveManager>(&fileSystem, name), "");
        g_fileSystem = &fileSystem;
        g_resources = &resources;
        ASSERT_EQ(1, sound.Init(8));
        g_soundManager = &sound;
        g_entityRegistry = &registry;
        game.RegisterPrototypes(registry);
        fileSystem.ListFiles("*.ent", "", true, definitionFiles);
        std::sort(definitionFiles.begin(), definitionFiles.end());
        ASSERT_FALSE(definitionFiles.empty());
        registry.LoadDefinitionFiles();
    }

    void TearDown() override
    {
        registry.ClearTypes();
        g_entityRegistry = nullptr;
        g_soundManager = nullptr;
        g_resources = nullptr;
        g_fileSystem = nullptr;
        g_screen = nullptr;
        g_settings = nullptr;
    }

    std::string Log() const { return userData.Read("log.txt"); }

    // The whole text of a file of the mounted game folder; empty when it does not open.
    std::string ReadText(const std::string& name)
    {
        PXFile* file = fileSystem.Open(name, 5);
        if (file == nullptr)
            return std::string();
        std::string text(file->GetSize(), '\0');
        const uint32_t read =
            text.empty() ? 0 : file->ReadBytes(static_cast<uint32_t>(text.size()), &text[0]);
        text.resize(read);
        fileSystem.Close(file);
        return text;
    }

    bool Opens(const std::string& name)
    {
        PXFile* file = fileSystem.Open(name, 5);
        if (file != nullptr)
            fileSystem.Close(file);
        return file != nullptr;
    }

    bool Block(const std::string& name, PXDefinitionBlock& block)
    {
        const std::string text = ReadText(name);
        return !text.empty() && block.LoadFromText(text.data(), text.size());
    }

    static std::string Key(PXDefinitionBlock& block, const char* key)
    {
        std::string value;
        if (block.FindKey(key))
            block.ReadString(&value);
        return value;
    }

    // The definition file whose top-level class and type are these; empty when none is.
    std::string FileDefining(const std::string& className, const std::string& typeName)
    {
        for (const std::string& name : definitionFiles) {
            PXDefinitionBlock block;
            if (Block(name, block) && Key(block, "class") == className && Key(block, "type") == typeName)
                return name;
        }
        return std::string();
    }

    TempDir userData;
    FakeSettingsManager settings{userData.Folder()};
    PXMemoryScreen2D screen;
    PXFileSystem fileSystem;
    PXResourceCache resources;
    PXDeviceSoundManager sound{std::make_unique<PXRecordingAudioDevice>()};
    PXEntityRegistry registry;
    RegisteringGame game;
    std::vector<std::string> definitionFiles;
};

TEST_P(ShippedContent, EveryDefinitionFileDefinesItsType)
{
    const std::string log = Log();
    EXPECT_TRUE(LogLinesWith(log, "unknown class").empty()) << Joined(LogLinesWith(log, "unknown class"));
    EXPECT_TRUE(LogLinesWith(log, "already defined").empty()) << Joined(LogLinesWith(log, "already defined"));
    for (const std::string& name : definitionFiles) {
        PXDefinitionBlock block;
        ASSERT_TRUE(Block(name, block)) << name;
        const std::string className = Key(block, "class"), typeName = Key(block, "type");
        EXPECT_FALSE(typeName.empty()) << name << " has no type";
        EXPECT_NE(nullptr, registry.FindType(className, typeName))
            << name << ": " << className << "|" << typeName;
    }
}

TEST_P(ShippedContent, EveryTypeCreatesAndLoadsItsFiles)
{
    std::vector<std::unique_ptr<PXEntityBase>> made;
    for (const std::string& name : definitionFiles) {
        PXDefinitionBlock block;
        ASSERT_TRUE(Block(name, block)) << name;
        const std::string className = Key(block, "class"), typeName = Key(block, "type");
        PXEntityBaseType* type = registry.FindType(className, typeName);
        if (type == nullptr)
            continue;  // reported by EveryDefinitionFileDefinesItsType
        EXPECT_TRUE(type->Load(false)) << name;
        std::unique_ptr<PXEntityBase> entity = registry.CreateEntity(className, typeName, PXKind::Unknown);
        ASSERT_NE(nullptr, entity) << name;
        // One frame of each: text lays out, sprites and buttons draw through their images.
        entity->Update(16.0f);
        entity->Draw();
        made.push_back(std::move(entity));
    }
    const std::vector<std::string> missing = LogLinesWith(Log(), "Unable to open");
    EXPECT_TRUE(missing.empty()) << Joined(missing);
    made.clear();
}

TEST_P(ShippedContent, EveryFileADefinitionOrTheCodeNamesOpens)
{
    const std::regex quoted("\"([^\"]+\\.(bmp|img|wav|txt|html))\"", std::regex::icase);
    for (const std::string& name : definitionFiles) {
        const std::string text = ReadText(name);
        for (std::sregex_iterator it(text.begin(), text.end(), quoted), end; it != end; ++it)
            EXPECT_TRUE(Opens((*it)[1].str())) << name << " names " << (*it)[1].str();
    }
    // Files the code opens by name, whatever the definitions say.
    std::vector<std::string> codeNamed = SFEntityMainGameSceneType::AssetPaths();
    codeNamed.push_back(SongFile);
    for (const std::string& name : codeNamed)
        EXPECT_TRUE(Opens(name)) << name;
}

// A reference to a type that no file defines leaves its element out without a word in the
// log, so every "...Ent" value (inline definitions included) must name a defined type.
TEST_P(ShippedContent, EveryReferenceNamesADefinedType)
{
    // Reference keys end in "Ent" (case-sensitive here, so "transparent" is not one).
    const std::regex keyLine(R"(^[ \t]*[A-Za-z0-9_]+Ent (.*)$)");
    int checked = 0;
    for (const std::string& name : definitionFiles) {
        const std::string text = ReadText(name);
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            std::smatch m;
            if (!std::regex_match(line, m, keyLine))
                continue;
            // As the reader does: spaces, "=" and tabs after the key, then the value; "@"
            // starts an inline definition, whose own keys are checked on their lines.
            const std::string rest = m[1].str();
            const size_t start = rest.find_first_not_of(" =\t");
            if (start == std::string::npos || rest[start] == '@')
                continue;
            std::string className, typeName;
            ASSERT_TRUE(SplitReference(rest.substr(start), className, typeName)) << name << ": " << line;
            EXPECT_NE(nullptr, registry.FindType(className, typeName)) << name << ": " << line;
            ++checked;
        }
    }
    EXPECT_GT(checked, 0);
}

// Any click or key on the instructions screen starts the game, so the help cannot be
// scrolled: every line must fit the list box's rows and columns, and it must name every control.
TEST_P(ShippedContent, HelpTextFitsItsListBoxAndNamesEveryControl)
{
    PXDefinitionBlock instructions;
    ASSERT_TRUE(Block(FileDefining("SFInstrMenuScene", "instrmenu"), instructions));
    const std::string helpFile = Key(instructions, "HelpFile");
    ASSERT_FALSE(helpFile.empty());
    PXEntityRef listRef;
    ASSERT_TRUE(instructions.FindKey("HelpEnt") && instructions.ReadEntityRef(&listRef));
    EXPECT_EQ("ListBox", listRef.className);

    PXDefinitionBlock list;
    ASSERT_TRUE(Block(FileDefining(listRef.className, listRef.typeName), list));
    int listWidth = 0, listHeight = 0, wrap = 0;
    ASSERT_TRUE(list.FindKey("ListWidth") && list.ReadInts(&listWidth, 1));
    ASSERT_TRUE(list.FindKey("ListHeight") && list.ReadInts(&listHeight, 1));
    if (list.FindKey("Wrap"))
        list.ReadInts(&wrap, 1);
    EXPECT_EQ(0, wrap) << "wrapping drops the empty lines of the help";
    PXEntityRef rowRef;
    ASSERT_TRUE(list.FindKey("TextEnt") && list.ReadEntityRef(&rowRef));
    PXDefinitionBlock row;
    ASSERT_TRUE(Block(FileDefining(rowRef.className, rowRef.typeName), row));
    PXEntityRef fontRef;
    ASSERT_TRUE(row.FindKey("FontEnt") && row.ReadEntityRef(&fontRef));

    // The list shows the text up to its last CR; LF is skipped.
    const std::string text = ReadText(helpFile);
    ASSERT_FALSE(text.empty()) << helpFile;
    EXPECT_EQ('\r', text[text.find_last_not_of('\n')]) << "the last line has no CR and would not show";
    std::vector<std::string> lines;
    std::string current;
    for (char c : text) {
        if (c == '\r') {
            lines.push_back(current);
            current.clear();
        } else if (c != '\n') {
            current += c;
        }
    }
    EXPECT_LE(static_cast<int>(lines.size()), listHeight);

    // The row font is monospaced at its nominal width, which sizes the list box, so a line
    // of ListWidth characters ends inside the box.
    std::unique_ptr<PXEntityBase> fontEntity = registry.CreateEntity(fontRef, PXKind::Font);
    auto* font = dynamic_cast<PXEntity2DGUIFont*>(fontEntity.get());
    ASSERT_NE(nullptr, font) << fontRef.typeName;
    int32_t charWidth = 0;
    ASSERT_TRUE(font->GetProperty(PXFontProp::CharWidth, &charWidth));
    for (const std::string& line : lines) {
        EXPECT_LE(static_cast<int>(line.size()), listWidth) << line;
        EXPECT_LE(font->TextWidth(line, true), listWidth * charWidth) << line;
    }

    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return std::tolower(c); });
    for (const char* control :
         {"mouse", "left button", "right button", "c .", "swap the mouse buttons", "left / right",
          "up or space", "down", "p pause", "s sound", "f7 full screen", "escape quit", "any key"})
        EXPECT_NE(std::string::npos, lower.find(control)) << control;
}

// The frame buffer as 16-bit pixels, rows top to bottom.
std::vector<uint16_t> FramePixels(PXScreen2D& screen)
{
    PXSurfaceDesc desc;
    std::vector<uint16_t> pixels;
    if (!screen.LockScreen(&desc))
        return pixels;
    for (uint32_t y = 0; y < desc.height; ++y) {
        const auto* row = reinterpret_cast<const uint16_t*>(static_cast<const uint8_t*>(desc.pixels) + y * desc.pitch);
        pixels.insert(pixels.end(), row, row + desc.width);
    }
    screen.UnlockScreen();
    return pixels;
}

TEST_P(ShippedContent, TooltipAtTheRightEdgeLeavesNoTraceWhenItFades)
{
    std::unique_ptr<PXEntityBase> made = registry.CreateEntity("SFMainMenuScene", "mainmenu", PXKind::Scene);
    auto* scene = dynamic_cast<PXEntity2DScene*>(made.get());
    ASSERT_NE(nullptr, scene);
    auto frames = [&](int count) {
        for (int i = 0; i < count; ++i) {
            scene->Update(16.0f);
            scene->Draw();
            screen.Present();
        }
    };
    static PXEntity2DScene* s_scene = nullptr;
    s_scene = scene;
    g_toolTipHostFinder = []() -> PXToolTipHost* { return s_scene; };
    // A new scene starts on a cleared screen, all of it to be drawn.
    screen.Clear();
    // Over "Hard": its tooltip is laid out against the right edge of the screen.
    g_mouseX = 320;
    g_mouseY = 260;
    frames(100);
    g_mouseX = 40;
    g_mouseY = 460;
    frames(400);
    const std::vector<uint16_t> incremental = FramePixels(screen);
    screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
    scene->Draw();
    const std::vector<uint16_t> full = FramePixels(screen);
    ASSERT_EQ(full.size(), incremental.size());
    // Below the title (whose fire moves every frame) the picture is still.
    size_t stale = 0;
    PXRect where{640, 0, 480, 0};
    for (size_t i = 640 * 140; i < full.size(); ++i) {
        if (full[i] == incremental[i])
            continue;
        ++stale;
        const int32_t x = static_cast<int32_t>(i % 640), y = static_cast<int32_t>(i / 640);
        where = PXRect{std::min(where.left, x), std::max(where.right, x + 1), std::min(where.top, y),
                       std::max(where.bottom, y + 1)};
    }
    EXPECT_EQ(0u, stale) << "stale pixels in x " << where.left << ".." << where.right << ", y " << where.top
                         << ".." << where.bottom;
    g_mouseX = 0;
    g_mouseY = 0;
    g_toolTipHostFinder = nullptr;
}

// Names are Windows-1252: every font has its own glyph for E acute and e acute, neither
// blank nor the "?" cell that stands in for characters a font lacks.
TEST_P(ShippedContent, EveryFontDrawsAccentedLettersWithTheirOwnGlyphs)
{
    auto drawn = [&](PXEntity2DGUIFont& font, const std::string& text) {
        screen.Clear();
        screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
        font.DrawText(text, PXPoint{100, 100}, 1, 255, nullptr);
        return FramePixels(screen);
    };
    int fonts = 0;
    for (const std::string& name : definitionFiles) {
        PXDefinitionBlock block;
        ASSERT_TRUE(Block(name, block)) << name;
        if (Key(block, "class") != "font")
            continue;
        const std::string typeName = Key(block, "type");
        std::unique_ptr<PXEntityBase> made = registry.CreateEntity("font", typeName, PXKind::Font);
        auto* font = dynamic_cast<PXEntity2DGUIFont*>(made.get());
        ASSERT_NE(nullptr, font) << typeName;
        const std::vector<uint16_t> blank = drawn(*font, "");
        const std::vector<uint16_t> missing = drawn(*font, "?");
        for (const char* letter : {"\xC9", "\xE9"}) {
            const std::vector<uint16_t> pixels = drawn(*font, letter);
            const int code = static_cast<unsigned char>(letter[0]);
            EXPECT_NE(blank, pixels) << typeName << " draws nothing for " << code;
            EXPECT_NE(missing, pixels) << typeName << " draws the missing-glyph cell for " << code;
        }
        ++fonts;
    }
    EXPECT_GE(fonts, 6);
}

// The longest name (32 characters) of the font's widest glyph is cut before the LEVEL
// column, whose heading spans x 360-400 on the high-score background, so that the level and
// score of its row stay readable.
TEST_P(ShippedContent, LongestNameOfTheWidestGlyphEndsBeforeTheLevelColumn)
{
    constexpr int32_t LevelColumnLeft = 360;
    constexpr int32_t RowTop = 227 - 4, RowBottom = 227 + 15 + 4;  // the first row and some margin
    g_newHighScore.reset();
    g_highScores.RemoveAll();
    std::unique_ptr<PXEntityBase> made = registry.CreateEntity("SFHighScoreMenuScene", "highscores", PXKind::Scene);
    auto* scene = dynamic_cast<SFEntityHighScoreMenuScene*>(made.get());
    ASSERT_NE(nullptr, scene);
    auto* type = static_cast<SFEntityHighScoreMenuSceneType*>(scene->GetType());
    ASSERT_TRUE(type->GetName(1) != nullptr && type->GetName(1)->entity != nullptr);
    PXEntity2DGUIFont* font = type->GetName(1)->entity->GetFont();
    ASSERT_NE(nullptr, font);
    const auto* fontType = static_cast<const PXEntity2DGUIFontType*>(font->GetType());
    unsigned char widest = 'W';
    for (int c = 32; c < 256; ++c)
        if (fontType->GetAdvance(static_cast<unsigned char>(c)) > fontType->GetAdvance(widest))
            widest = static_cast<unsigned char>(c);

    auto screenWith = [&](const std::string& name) {
        g_highScores.RemoveAll();
        g_highScores.InsertEntry(SFHighScore(123456, 12, 3, name), false);
        scene->Update(16.0f);
        screen.InvalidateRect(PXRect{0, 640, 0, 480}, false);
        scene->Draw();
        return FramePixels(screen);
    };
    const std::vector<uint16_t> unnamed = screenWith("");
    const std::vector<uint16_t> named = screenWith(std::string(32, static_cast<char>(widest)));
    ASSERT_EQ(unnamed.size(), named.size());
    int32_t first = 640, last = -1;
    for (int32_t y = RowTop; y < RowBottom; ++y) {
        for (int32_t x = 0; x < 640; ++x) {
            const size_t i = static_cast<size_t>(y) * 640 + static_cast<size_t>(x);
            if (named[i] != unnamed[i]) {
                first = std::min(first, x);
                last = std::max(last, x);
            }
        }
    }
    EXPECT_LE(first, 64) << "the name starts under NAME";
    EXPECT_GT(last, LevelColumnLeft - 40) << "a long name fills its column";
    EXPECT_LT(last, LevelColumnLeft) << "glyph " << static_cast<int>(widest) << " runs into the LEVEL column";
    made.reset();
    g_highScores.RemoveAll();
}

INSTANTIATE_TEST_SUITE_P(BothForms, ShippedContent, ::testing::ValuesIn(Forms),
                         [](const ::testing::TestParamInfo<Form>& info) {
                             return std::string(info.param.name);
                         });

// The web-page button hands the about page to the desktop's opener, which needs a real file
// beside the archive as well as in the loose tree.
TEST(AboutPage, LiesLooseInBothGameFolders)
{
    for (const char* folder : {SF_BINARY_DIR "/game/", SF_BINARY_DIR "/game-loose/"}) {
        std::ifstream in(std::string(folder) + "Shardfall/about.html", std::ios::binary);
        ASSERT_TRUE(in.good()) << folder;
        const std::string page((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        EXPECT_NE(std::string::npos, page.find(SF_VERSION)) << folder;
        EXPECT_NE(std::string::npos, page.find("</html>")) << folder;
    }
}

}  // namespace
