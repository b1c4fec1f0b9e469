// Fonts and text on the headless screen: glyph tables and blit choices, measuring, fitting
// and wrapping; the text element's key handler and filters, window slices, password,
// cursor blink, layout, the frame-rate text and the two-font text.
#include <gtest/gtest.h>

#include "engine/core/PXEvent.h"
#include "engine/gui/PXEntity2DGUIFPSText.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUIMultiText.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "tests/gui/GuiFixture.h"

namespace {

constexpr uint16_t Red = Rgb(31, 0, 0);
constexpr uint16_t Green = Rgb(0, 31, 0);
constexpr uint16_t Blue = Rgb(0, 0, 31);
constexpr uint16_t White = 0x7FFF;
constexpr uint16_t Yellow = Rgb(31, 31, 0);

// A sheet of 3 x 2 cells, each 3 x 2 pixels of one colour: A red, B green, _ blue, * white,
// C yellow, space empty (the key colour).
const char* const FontKeys = "image = sheet.bmp\nchars = \"AB_*C \"\ncharwidth = 3\ncharheight = 2\n"
                             "offsetx = 1\noffsety = 1\nnumfontelements = 1\nFontWidth1 = B, 6\n";

class FontTest : public GuiFilesTest {
protected:
    void SetUp() override
    {
        GuiFilesTest::SetUp();
        const uint16_t cells[6] = {Red, Green, Blue, White, Yellow, 0};
        std::vector<uint16_t> sheet(9 * 4);
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 9; ++x)
                sheet[static_cast<size_t>(y * 9 + x)] = cells[(y / 2) * 3 + x / 3];
        WriteImage("sheet.bmp", 9, 4, sheet);
        WriteMask("sheet_full.bmp", 9, 4, std::vector<uint8_t>(36, 255));
        fontRef = Define(std::string("class = font\ntype = Small\n") + FontKeys);
    }

    PXEntity2DGUIFont* MakeFont(const std::string& extra = "")
    {
        if (extra.empty())
            return Create<PXEntity2DGUIFont>(fontRef, PXKind::Font);
        PXEntityRef ref =
            Define("class = font\ntype = F" + std::to_string(++m_count) + "\n" + FontKeys + extra);
        return Create<PXEntity2DGUIFont>(ref, PXKind::Font);
    }

    PXEntity2DGUIText* MakeText(const std::string& keys)
    {
        PXEntityRef ref =
            Define("class = text\ntype = T" + std::to_string(++m_count) + "\nFontEnt = font, Small\n" + keys);
        auto* text = Create<PXEntity2DGUIText>(ref, PXKind::Text);
        text->Update(0.0f);
        return text;
    }

    void Fill(uint16_t value, int32_t w = 200, int32_t h = 40)
    {
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x)
                screen.SetPixel(x, y, value);
        DirtyAll();
    }

    // The colour of the glyph cell drawn with its top-left corner at (x, y).
    uint16_t Cell(int32_t x, int32_t y) const { return Pixel(x + 1, y + 1); }

    PXEntityRef fontRef;
    int m_count = 0;
};

TEST_F(FontTest, GlyphTablesAdvancesAndProperties)
{
    auto* font = MakeFont();
    auto* type = static_cast<PXEntity2DGUIFontType*>(font->GetType());
    EXPECT_EQ(0, type->GetGlyph('A'));
    EXPECT_EQ(1, type->GetGlyph('B'));
    EXPECT_EQ(4, type->GetGlyph('C'));
    EXPECT_EQ(0, type->GetGlyph('Z'));  // not listed: cell 0
    EXPECT_EQ(4, type->GetAdvance('A'));
    EXPECT_EQ(6, type->GetAdvance('B'));
    EXPECT_TRUE(type->IsA(PXKind::Font));
    EXPECT_TRUE(type->IsA(PXKind::GuiElement));
    int32_t value = 0;
    EXPECT_TRUE(font->GetProperty(PXFontProp::CharWidth, &value));
    EXPECT_EQ(4, value);
    EXPECT_TRUE(font->GetProperty(PXFontProp::LineHeight, &value));
    EXPECT_EQ(3, value);
}

TEST_F(FontTest, DrawTextPlacesCellsByAdvanceAndJustify)
{
    auto* font = MakeFont();
    struct Case {
        int32_t justify;
        int32_t start;  // where the first glyph lands for a string drawn at x = 50
    };
    // "ABZ": advances 4 + 6 + 4 = 14.
    const Case cases[] = {{PXJustify::Left, 50}, {PXJustify::Right, 36}, {PXJustify::Centre, 43}, {7, 50}};
    for (const Case& c : cases) {
        Fill(0);
        ASSERT_TRUE(font->DrawText("ABZ", PXPoint{50, 10}, c.justify, 255, nullptr));
        EXPECT_EQ(Red, Cell(c.start, 10)) << c.justify;
        EXPECT_EQ(Green, Cell(c.start + 4, 10)) << c.justify;
        EXPECT_EQ(Red, Cell(c.start + 10, 10)) << c.justify;
        EXPECT_EQ(0, Pixel(c.start - 1, 10)) << c.justify;
    }
}

TEST_F(FontTest, NoLowercaseDrawsAndMeasuresCapitals)
{
    auto* plain = MakeFont();
    auto* capitals = MakeFont("nolowercase = 1\n");
    EXPECT_EQ(10, capitals->TextWidth("ab", false));
    EXPECT_EQ(8, plain->TextWidth("ab", false));  // 'b' keeps the default advance
    Fill(0);
    capitals->DrawText("cb", PXPoint{0, 0}, PXJustify::Left, 255, nullptr);
    EXPECT_EQ(Yellow, Cell(0, 0));
    EXPECT_EQ(Green, Cell(4, 0));
}

TEST_F(FontTest, DrawTextBlitChoices)
{
    const PXColor halfRed = MakeColor(128, 255, 255, 255);
    struct Case {
        const char* name;
        bool mask;
        int32_t alpha;
        bool tint;
        char c;
        uint16_t expected;  // the glyph's pixel over white
    };
    const char high = static_cast<char>(200);  // above 127 (a letter): cell 0 (red) as well
    const Case cases[] = {
        {"copy", false, 255, false, 'A', Red},
        {"alpha", false, 128, false, 'A', Rgb(31, 15, 15)},
        {"alpha wins over tint", false, 128, true, 'A', Rgb(31, 15, 15)},
        {"tint", false, 255, true, 'A', Rgb(15, 0, 0)},
        {"tint above 127", false, 255, true, high, Rgb(15, 0, 0)},
        {"mask", true, 255, false, 'A', Red},
        {"mask alpha", true, 128, true, 'A', Rgb(31, 15, 15)},
        {"mask tint", true, 255, true, 'A', Rgb(15, 0, 0)},
        {"mask tint above 127", true, 255, true, high, Rgb(15, 0, 0)},
        {"space is keyed", false, 255, false, ' ', White},
    };
    auto* unmasked = MakeFont();
    auto* masked = MakeFont("alphaimage = sheet_full.bmp\n");
    for (const Case& c : cases) {
        Fill(White);
        PXEntity2DGUIFont* font = c.mask ? masked : unmasked;
        ASSERT_TRUE(font->DrawText(std::string(1, c.c), PXPoint{20, 20}, PXJustify::Left, c.alpha,
                                   c.tint ? &halfRed : nullptr));
        EXPECT_EQ(c.expected, Cell(20, 20)) << c.name;
    }
}

TEST_F(FontTest, FontWithoutCellsOrSheetDrawsNothing)
{
    PXEntityRef noCells = Define("class = font\ntype = NoCells\nimage = sheet.bmp\nchars = AB\n");
    auto* font = Create<PXEntity2DGUIFont>(noCells, PXKind::Font);
    EXPECT_FALSE(font->DrawText("AB", PXPoint{0, 0}, PXJustify::Left, 255, nullptr));
    PXEntityRef noSheet =
        Define("class = font\ntype = NoSheet\nimage = none.bmp\ncharwidth 3\ncharheight 2\n");
    EXPECT_FALSE(
        Create<PXEntity2DGUIFont>(noSheet, PXKind::Font)->DrawText("A", PXPoint{0, 0}, 1, 255, nullptr));
    // More characters than cells: the ones past the sheet are skipped, the rest still drawn.
    PXEntityRef many = Define("class = font\ntype = Many\nimage = sheet.bmp\nchars = \"AB_*C xyz\"\n"
                              "charwidth = 3\ncharheight = 2\noffsetx = 1\n");
    Fill(0);
    EXPECT_TRUE(
        Create<PXEntity2DGUIFont>(many, PXKind::Font)->DrawText("yA", PXPoint{0, 0}, 1, 255, nullptr));
    EXPECT_EQ(0, Cell(0, 0));
    EXPECT_EQ(Red, Cell(4, 0));
}

// A missing sheet is looked for once, and again only after the screen lost its images (a
// mode change): not for every text on every frame, which filled the log without end.
TEST_F(FontTest, MissingSheetIsTriedOnceAndAgainOnlyAfterTheScreenLostItsImages)
{
    auto openFailures = [this] {
        const std::string log = dir.Read("log.txt");
        size_t count = 0;
        for (size_t at = log.find("Unable to open image: late.bmp"); at != std::string::npos;
             at = log.find("Unable to open image: late.bmp", at + 1))
            ++count;
        return count;
    };
    PXEntityRef late = Define(std::string("class = font\ntype = Late\nimage = late.bmp\n") + FontKeys);
    auto* font = Create<PXEntity2DGUIFont>(late, PXKind::Font);
    PXEntityRef textRef = Define("class = text\ntype = LateText\nFontEnt = font, Late\nDefaultText = AB\n");
    auto* text = Create<PXEntity2DGUIText>(textRef, PXKind::Text);
    for (int frame = 0; frame < 200; ++frame) {
        EXPECT_FALSE(font->DrawText("AB", PXPoint{0, 0}, PXJustify::Left, 255, nullptr));
        text->Update(16.0f);
        text->Draw();
    }
    EXPECT_EQ(openFailures(), 1u);

    screen.FreeAllImages();  // what a mode change does
    for (int frame = 0; frame < 50; ++frame)
        font->DrawText("AB", PXPoint{0, 0}, PXJustify::Left, 255, nullptr);
    EXPECT_EQ(openFailures(), 2u);

    // The sheet turns up; the next loss of the screen's images brings it in.
    dir.Write("late.bmp", dir.Read("sheet.bmp"));
    screen.FreeAllImages();
    Fill(0);
    EXPECT_TRUE(font->DrawText("AB", PXPoint{0, 0}, PXJustify::Left, 255, nullptr));
    EXPECT_EQ(Red, Cell(0, 0));
    EXPECT_EQ(openFailures(), 2u);

    // A loaded sheet lost with the screen's images is loaded again and drawn.
    screen.FreeAllImages();
    Fill(0);
    EXPECT_TRUE(font->DrawText("B", PXPoint{0, 0}, PXJustify::Left, 255, nullptr));
    EXPECT_EQ(Green, Cell(0, 0));
}

TEST_F(FontTest, WidthAndFit)
{
    auto* font = MakeFont();
    EXPECT_EQ(10, font->TextWidth("AB", false));
    EXPECT_EQ(10, font->TextWidth("AB  ", false));
    EXPECT_EQ(18, font->TextWidth("AB  ", true));
    EXPECT_EQ(0, font->TextWidth("   ", false));
    const std::pair<int32_t, std::string> fits[] = {{0, ""},   {4, ""},    {5, "A"},
                                                    {10, "A"}, {11, "AB"}, {100, "ABAB"}};
    for (const auto& f : fits) {
        std::string out = "stale";
        font->FitText(&out, "ABAB", f.first);
        EXPECT_EQ(f.second, out) << f.first;
    }
}

TEST_F(FontTest, FitWithEllipsis)
{
    auto* font = MakeFont();
    // Advances: A 4, B 6, space 4, "." (cell 0) 4, so "..." is 12.
    struct Case {
        const char* text;
        int32_t maxWidth;
        const char* fitted;
    };
    const Case cases[] = {
        {"AB", 11, "AB"},       // 10 stays below 11
        {"ABAB", 20, "A..."},   // 20 reaches it: 8 left for the text
        {"A  AB", 22, "A..."},  // the kept part loses its trailing spaces
        {"ABAB", 12, ".."},     // no room beside the ellipsis
        {"ABAB", 0, ""},
        {"", 10, ""},
    };
    for (const Case& c : cases) {
        std::string out = "stale";
        font->FitTextWithEllipsis(&out, c.text, c.maxWidth);
        EXPECT_EQ(c.fitted, out) << c.text << " / " << c.maxWidth;
        EXPECT_LT(font->TextWidth(out, true), std::max(c.maxWidth, 1)) << c.text << " / " << c.maxWidth;
    }
}

TEST_F(FontTest, RaisedCellsDrawAboveThePosition)
{
    auto* plain = MakeFont();
    auto* raised = MakeFont("raise = 1\n");
    Fill(0);
    plain->DrawText("A", PXPoint{10, 10}, PXJustify::Left, 255, nullptr);
    EXPECT_EQ(0, Pixel(10, 9));
    EXPECT_EQ(Red, Pixel(10, 10));
    Fill(0);
    raised->DrawText("A", PXPoint{10, 10}, PXJustify::Left, 255, nullptr);
    EXPECT_EQ(Red, Pixel(10, 9));
    EXPECT_EQ(0, Pixel(10, 11));
    // A text of the raised font invalidates from where its cells start.
    Define("class = font\ntype = Raised\n" + std::string(FontKeys) + "raise = 1\n");
    PXEntityRef textRef = Define("class = text\ntype = RaisedText\nFontEnt = font, Raised\nDefaultText = A\n");
    auto* text = Create<PXEntity2DGUIText>(textRef, PXKind::Text);
    text->Update(0.0f);
    text->SetPosition(PXPoint{10, 10});
    screen.ClearDirtyList();
    text->Invalidate();
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    EXPECT_EQ(9, screen.GetDirtyList()->rects[0].top);
}

// A text with a fit width: cut with an ellipsis; while editing with the cursor past the cut,
// the end of the text, where the typing happens, shows instead.
TEST_F(FontTest, FitWidthCutsTheDrawnLine)
{
    auto* text = MakeText("FitWidth = 20\nDefaultText = ABAB\n");
    int32_t width = 0;
    EXPECT_TRUE(text->GetProperty(PXTextProp::Width, &width));
    EXPECT_EQ(16, width) << "A... is measured, not ABAB";
    text->SetPosition(PXPoint{0, 0});
    Fill(0);
    text->Draw();
    for (int32_t x : {0, 4, 8, 12})
        EXPECT_EQ(Red, Cell(x, 0)) << x;
    for (int32_t x = 15; x < 30; ++x)
        EXPECT_EQ(0, Pixel(x, 1)) << x;
    EXPECT_EQ("ABAB", text->GetText());

    text->SetProperty(PXTextProp::Editing, 1);
    while (!text->IsCursorShown())
        text->Update(50.0f);
    Fill(0);
    text->Draw();
    // "...B": the last letter in sight, the cursor after it at 18 - 1.
    EXPECT_EQ(Red, Cell(8, 0));
    EXPECT_EQ(Green, Cell(12, 0));
    EXPECT_EQ(Blue, Cell(17, 0));

    // Wrapped lines are cut one by one.
    auto* wrapped = MakeText("FitWidth = 20\nWrapWidth = 4\nDefaultText = ABABA\n");
    EXPECT_EQ((std::vector<std::string>{"ABAB", "A"}), wrapped->GetLines());
    EXPECT_TRUE(wrapped->GetProperty(PXTextProp::Width, &width));
    EXPECT_EQ(16, width);
}

TEST(WrapText, Cases)
{
    const std::string indent = "  ";
    struct Case {
        const char* text;
        int32_t width;
        const std::string* indent;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"ab cd ef", 5, nullptr, {"ab ", "cd ef"}},
        {"abcdefgh", 3, nullptr, {"abc", "def", "gh"}},
        {"hello world", 5, nullptr, {"hello", " ", "world"}},
        {"ab\r\ncd", 10, nullptr, {"ab", "cd"}},
        {"\r\r", 10, nullptr, {"", ""}},
        {"one two", -1, nullptr, {"one two"}},
        {"", 5, nullptr, {}},
        {"aaaa bbbb cccc", 6, &indent, {"aaaa ", "  bbbb", "   ", "  cccc"}},
        // An indent as long as the width is not used.
        {"abcd", 2, &indent, {"ab", "cd"}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines;
        PXEntity2DGUIFont::WrapText(&lines, c.text, c.width, c.indent);
        EXPECT_EQ(c.lines, lines) << c.text << " / " << c.width;
    }
}

TEST_F(FontTest, TextKeyHandlerAndFilters)
{
    struct Case {
        const char* name;
        const char* keys;  // extra type keys
        std::string start;
        size_t cursor;
        std::vector<int32_t> typed;
        std::string text;
        size_t endCursor;
    };
    const int32_t Bs = KeyBackspace;
    const int32_t Del = PXTextKey::Delete;
    const Case cases[] = {
        {"backspace at end", "", "abc", 3, {Bs}, "ab", 2},
        {"backspace inside", "", "abc", 1, {Bs}, "bc", 0},
        {"backspace at start", "", "abc", 0, {Bs}, "abc", 0},
        {"backspace empty", "", "", 0, {Bs}, "", 0},
        {"delete", "", "abc", 1, {Del}, "ac", 1},
        {"delete at end", "", "abc", 3, {Del}, "abc", 3},
        {"left stops at 0", "", "abc", 1, {KeyArrowLeft, KeyArrowLeft}, "abc", 0},
        {"right stops at end", "", "abc", 2, {KeyArrowRight, KeyArrowRight}, "abc", 3},
        {"home", "", "abc", 2, {PXTextKey::Home}, "abc", 0},
        {"end", "", "abc", 0, {PXTextKey::End}, "abc", 3},
        {"insert", "", "ac", 1, {'b'}, "abc", 2},
        {"above 127 typed as its byte", "", "a", 1, {-23, -1}, "a\xE9\xFF", 3},
        {"below the byte range ignored", "", "a", 1, {-129}, "a", 1},
        {"control codes ignored", "", "a", 1, {9, 13}, "a", 1},
        {"numbers only", "NumbersOnly = 1\n", "1", 1, {'a', '2', '.'}, "12", 2},
        {"address typed",
         "IPAddress = 1\n",
         "",
         0,
         {'1', '9', '2', '.', '1', '6', '8', '.', '0', '.', '1'},
         "192.168.0.1",
         11},
        {"fourth dot", "IPAddress = 1\n", "1.2.3.4", 7, {'.'}, "1.2.3.4", 7},
        {"fourth digit", "IPAddress = 1\n", "1.234", 5, {'5'}, "1.234", 5},
        {"dot after dot", "IPAddress = 1\n", "1.", 2, {'.'}, "1.", 2},
        {"leading dot", "IPAddress = 1\n", "", 0, {'.'}, "", 0},
        {"letter", "IPAddress = 1\n", "1", 1, {'x'}, "1", 1},
        {"group at the cursor", "IPAddress = 1\n", "123.4", 5, {'5', '6'}, "123.456", 7},
    };
    for (const Case& c : cases) {
        auto* text = MakeText(c.keys);
        text->SetStringProperty(PXTextProp::Text, c.start);
        text->SetProperty(PXTextProp::Cursor, static_cast<int32_t>(c.cursor));
        for (int32_t key : c.typed)
            text->OnTextKey(key);
        EXPECT_EQ(c.text, text->GetText()) << c.name;
        EXPECT_EQ(c.endCursor, text->GetCursor()) << c.name;
    }
}

TEST_F(FontTest, MaxLengthRefusesAndCuts)
{
    auto* text = MakeText("");
    text->SetStringProperty(PXTextProp::Text, "abc");
    text->SetProperty(PXTextProp::Editing, 1);
    EXPECT_EQ(3u, text->GetCursor());
    text->SetProperty(PXTextProp::MaxLength, 3);
    EXPECT_FALSE(text->OnTextKey('d'));
    EXPECT_EQ("abc", text->GetText());
    text->SetProperty(PXTextProp::MaxLength, 2);
    EXPECT_EQ("ab", text->GetText());
    EXPECT_EQ(2u, text->GetCursor());
}

TEST_F(FontTest, UpAndDownMoveBetweenWrappedLines)
{
    auto* text = MakeText("WrapWidth = 4\n");
    text->SetStringProperty(PXTextProp::Text, "abc defg hi");  // "abc ", "defg", " hi"? see below
    text->Update(0.0f);
    ASSERT_EQ((std::vector<std::string>{"abc ", "defg", " hi"}), text->GetLines());
    text->SetProperty(PXTextProp::Cursor, 1);
    text->OnTextKey(KeyArrowDown);
    EXPECT_EQ(5u, text->GetCursor());  // column 1 of "defg"
    text->OnTextKey(KeyArrowDown);
    EXPECT_EQ(9u, text->GetCursor());
    text->OnTextKey(KeyArrowDown);  // no line below
    EXPECT_EQ(9u, text->GetCursor());
    text->OnTextKey(KeyArrowUp);
    text->OnTextKey(KeyArrowUp);
    EXPECT_EQ(1u, text->GetCursor());
}

TEST(WindowSlice, Cases)
{
    const std::string text = "abcdefghijklmnopqrstuvwxyz0123";  // 30 characters
    struct Case {
        std::string text;
        int32_t window;
        size_t cursor;
        std::string slice;
        size_t at;
    };
    const Case cases[] = {
        {text, 10, 30, "... yz0123", 10},
        {text, 10, 26, "... yz0123", 6},
        {text, 10, 0, "abcdef ...", 0},
        {text, 10, 4, "abcdef ...", 4},
        {text, 10, 15, "... op ...", 5},
        {"short", 10, 2, "short", 2},
        {text, 0, 7, text, 7},
        {text, 3, 29, "... ", 4},  // too narrow for any text: markers only, nothing read out of range
    };
    for (const Case& c : cases) {
        size_t at = 99;
        EXPECT_EQ(c.slice, PXEntity2DGUIText::WindowSlice(c.text, c.cursor, c.window, &at))
            << c.window << "/" << c.cursor;
        EXPECT_EQ(c.at, at) << c.window << "/" << c.cursor;
    }
}

TEST_F(FontTest, PasswordDrawsAsterisksButKeepsTheText)
{
    auto* text = MakeText("Password = 1\n");
    text->SetStringProperty(PXTextProp::Text, "ABC");
    text->SetPosition(PXPoint{10, 10});
    Fill(0);
    ASSERT_TRUE(text->Draw());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(White, Cell(10 + 4 * i, 10)) << i;
    EXPECT_EQ(0, Cell(22, 10));
    std::string real;
    EXPECT_TRUE(text->GetStringProperty(PXTextProp::GetText, &real));
    EXPECT_EQ("ABC", real);

    // A window does not reveal it either.
    text->SetProperty(PXTextProp::WindowSize, 10);
    Fill(0);
    text->Draw();
    EXPECT_EQ(White, Cell(10, 10));
}

TEST_F(FontTest, CursorBlinksHalfTheTimeAndSitsAfterTheTypedText)
{
    auto* text = MakeText("");
    text->SetStringProperty(PXTextProp::Text, "AB");
    text->SetProperty(PXTextProp::Editing, 1);
    int shown = 0;
    for (int i = 0; i < 40; ++i) {
        text->Update(50.0f);
        shown += text->IsCursorShown() ? 1 : 0;
    }
    EXPECT_EQ(20, shown);
    while (!text->IsCursorShown())
        text->Update(50.0f);
    text->SetPosition(PXPoint{30, 5});
    Fill(0);
    text->Draw();
    // "AB" is 10 wide: the cursor cell starts at 30 + 10 - 1.
    EXPECT_EQ(Blue, Cell(39, 5));
    text->Update(200.0f);
    Fill(0);
    text->Draw();
    EXPECT_FALSE(text->IsCursorShown());
    EXPECT_EQ(0, Pixel(41, 6));
}

TEST_F(FontTest, WrappedTextLaysOutLinesAndReportsItsSize)
{
    auto* text = MakeText("WrapWidth = 3\nDefaultText = AAA BB\n");
    ASSERT_EQ((std::vector<std::string>{"AAA", " BB"}), text->GetLines());
    int32_t value = 0;
    EXPECT_TRUE(text->GetProperty(PXTextProp::Width, &value));
    EXPECT_EQ(16, value);  // the widest line, " BB"
    EXPECT_TRUE(text->GetProperty(PXTextProp::Height, &value));
    EXPECT_EQ((3 + 2) * 2 - 2, value);
    // Ids the text does not know come from its font.
    EXPECT_TRUE(text->GetProperty(PXFontProp::LineHeight, &value));
    EXPECT_EQ(3, value);
    text->SetPosition(PXPoint{0, 0});
    Fill(0);
    text->Draw();
    EXPECT_EQ(Red, Cell(0, 0));
    EXPECT_EQ(Red, Cell(8, 0));
    EXPECT_EQ(0, Cell(0, 5));  // the second line, 3 + 2 lower, starts with a space
    EXPECT_EQ(Green, Cell(4, 5));
}

TEST_F(FontTest, SingleLineWidthIsMeasuredAndJustifyMovesIt)
{
    auto* text = MakeText("DefaultText = AB\nDefaultJustify = 3\n");
    int32_t width = 0;
    EXPECT_TRUE(text->GetProperty(PXTextProp::Width, &width));
    EXPECT_EQ(10, width);
    text->SetPosition(PXPoint{100, 0});
    Fill(0);
    text->Draw();
    EXPECT_EQ(Red, Cell(95, 0));
    text->SetProperty(PXFontProp::Justify, 2);
    Fill(0);
    text->Draw();
    EXPECT_EQ(Red, Cell(90, 0));
}

TEST_F(FontTest, TintIsUsedOnlyWithItsAlphaSet)
{
    auto* text = MakeText("DefaultText = A\n");
    text->SetProperty(PXGuiProp::TintRed, 128);
    text->SetProperty(PXGuiProp::TintGreen, 255);
    text->SetProperty(PXGuiProp::TintBlue, 255);
    Fill(0);
    text->Draw();
    EXPECT_EQ(Red, Cell(0, 0));
    text->SetProperty(PXGuiProp::TintAlpha, 255);
    Fill(0);
    text->Draw();
    EXPECT_EQ(Rgb(15, 0, 0), Cell(0, 0));
}

TEST_F(FontTest, ClickIsStrictInsideTheHotWidth)
{
    struct Case {
        const char* keys;
        int32_t x, y;
        bool hit;
    };
    // Position (20, 10); line height 3; char width 4: "AB" is 8 wide by default.
    const Case cases[] = {
        {"", 21, 11, true},
        {"", 27, 12, true},
        {"", 20, 11, false},
        {"", 28, 11, false},
        {"", 21, 13, false},
        {"ClickWidth = 30\n", 49, 11, true},
        {"ClickWidth = 30\nDefaultJustify = 3\n", 6, 11, true},
        {"ClickWidth = 30\nDefaultJustify = 3\n", 5, 11, false},
    };
    for (const Case& c : cases) {
        auto* text = MakeText(std::string("DefaultText = AB\n") + c.keys);
        text->SetPosition(PXPoint{20, 10});
        EXPECT_EQ(c.hit, text->Click(PXPoint{c.x, c.y})) << c.keys << c.x << "," << c.y;
    }
}

TEST_F(FontTest, InvalidateCoversTheTextByJustify)
{
    struct Case {
        int32_t justify;
        bool editing;
        PXRect rect;
    };
    // "AB": (2 + 1) x (4 + 1) = 15 wide, 3 + 1 high; editing adds 2 x 4.
    const Case cases[] = {
        {1, false, {100, 115, 50, 54}},
        {2, false, {85, 115, 50, 54}},
        {3, false, {93, 115, 50, 54}},
        {1, true, {100, 123, 50, 54}},
    };
    for (const Case& c : cases) {
        auto* text = MakeText("DefaultText = AB\n");
        text->SetPosition(PXPoint{100, 50});
        text->SetProperty(PXFontProp::Justify, c.justify);
        text->SetProperty(PXTextProp::Editing, c.editing ? 1 : 0);
        screen.ClearDirtyList();
        text->Invalidate();
        ASSERT_EQ(1, screen.GetDirtyList()->count);
        EXPECT_EQ(c.rect, screen.GetDirtyList()->rects[0]) << c.justify << c.editing;
    }
}

TEST_F(FontTest, HugeSizesFromTheDefinitionAreKeptInRange)
{
    // Cells and spacing are capped, so the glyph arithmetic cannot overflow.
    PXEntityRef huge = Define("class = font\ntype = Huge\nimage = sheet.bmp\nchars = A\n"
                              "charwidth 2147483647\noffsetx 2147483647\ncharheight -5\n"
                              "offsety -2147483647\nnumfontelements 2147483647\nFontWidth1 = A,3\n");
    auto* font = Create<PXEntity2DGUIFont>(huge, PXKind::Font);
    ASSERT_NE(nullptr, font);
    int32_t value = 0;
    ASSERT_TRUE(font->GetProperty(PXFontProp::CharWidth, &value));
    EXPECT_EQ(2 * PXEntity2DGUIFontType::MaxCellSize, value);
    ASSERT_TRUE(font->GetProperty(PXFontProp::LineHeight, &value));
    EXPECT_EQ(-PXEntity2DGUIFontType::MaxCellSize, value);
    EXPECT_EQ(3, static_cast<PXEntity2DGUIFontType*>(font->GetType())->GetAdvance('A'));

    // A wrap width at the top of the range still gives a rectangle from the text onward.
    auto* text = MakeText("DefaultText = AB\nWrapWidth = 2147483647\n");
    text->SetPosition(PXPoint{100, 50});
    screen.ClearDirtyList();
    text->Invalidate();
    ASSERT_EQ(1, screen.GetDirtyList()->count);
    const PXRect& r = screen.GetDirtyList()->rects[0];
    EXPECT_EQ(100, r.left);
    EXPECT_EQ(50, r.top);
    EXPECT_GE(r.right, 640);
}

TEST(FormatInt, OnlyTheFirstIntegerConversionIsFilled)
{
    const std::pair<const char*, const char*> cases[] = {
        {"%d fps", "50 fps"}, {"FPS: %i", "FPS: 50"}, {"%05d", "00050"},  {"100%%", "100%"}, {"%s", "%s"},
        {"%d %d", "50 %d"},   {"%n%d", "%n50"},       {"plain", "plain"}, {"%", "%"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, PXFormatInt(c.first, 50)) << c.first;
}

TEST_F(FontTest, FrameRateTextConvergesAndHidesWhenOff)
{
    PXEntityRef ref =
        Define("class = FPSText\ntype = Rate\nFontEnt = font, Small\nDefaultText = \"%d fps\"\n");
    auto* fps = Create<PXEntity2DGUIFPSText>(ref, PXKind::Text);
    g_showFps = 1;
    for (int i = 0; i < 300; ++i)
        fps->Update(20.0f);
    EXPECT_EQ("50 fps", fps->GetText());
    g_showFps = 0;
    fps->Update(20.0f);
    EXPECT_EQ("", fps->GetText());
}

TEST_F(FontTest, MultiTextSplitsTitleAndBodyAndDrawsBothFonts)
{
    WriteSolidImage("big.bmp", 6, 4, Yellow);
    Define("class = font\ntype = Big\nimage = big.bmp\nchars = T\ncharwidth 6\ncharheight 4\n");
    PXEntityRef ref =
        Define("class = MultiText\ntype = Help\nTitleFontEnt = font, Big\nMainFontEnt = font, Small\n"
               "DefaultJustify = 1\nDefaultText = \"T\\nAB\\nA\"\n");
    auto* multi = Create<PXEntity2DGUIMultiText>(ref);
    ASSERT_EQ((std::vector<std::string>{"T", "AB", "A"}), multi->GetLines());
    int32_t value = 0;
    EXPECT_TRUE(multi->GetProperty(PXTextProp::Width, &value));
    EXPECT_EQ(10, value);  // "AB" with the body font
    EXPECT_TRUE(multi->GetProperty(PXTextProp::Height, &value));
    EXPECT_EQ((3 + 2) * 3 - 2, value);
    multi->SetPosition(PXPoint{0, 0});
    Fill(0);
    multi->Draw();
    EXPECT_EQ(Yellow, Pixel(1, 1));  // title
    EXPECT_EQ(Red, Cell(0, 6));      // body starts below the title's line height + 2
    EXPECT_EQ(Green, Cell(4, 6));
    EXPECT_EQ(Red, Cell(0, 11));

    multi->SetStringProperty(PXTextProp::Text, "only");
    EXPECT_EQ(1u, multi->GetLines().size());
}

}  // namespace
