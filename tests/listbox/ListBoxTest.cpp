// The "ListBox" element on the headless screen: its keys, adding with limit and wrapping,
// text files, selection and paging in both modes (by property and by the focus keys), the
// view and its rows, clicks on arrows, rows and the track, thumb dragging, and the frame,
// track, thumb and highlight it draws.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "engine/core/PXInputMap.h"
#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXArchiveWriter.h"
#include "engine/gui/PXEntity2DGUIListBox.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "tests/gui/GuiFixture.h"
#include "tests/support/HostFileManager.h"

namespace {

namespace P = PXListBoxProp;

constexpr uint16_t Red = Rgb(31, 0, 0);
constexpr uint16_t Green = Rgb(0, 31, 0);
constexpr uint16_t Blue = Rgb(0, 0, 31);
constexpr uint16_t Yellow = Rgb(31, 31, 0);
constexpr uint16_t Cyan = Rgb(0, 31, 31);
constexpr uint16_t Magenta = Rgb(31, 0, 31);
constexpr uint16_t Grey = Rgb(16, 16, 16);

// The list stands at (100, 100). Its font cells are 4 x 5, so rows are 8 pixels apart, the
// rows are 40 x 32 pixels, and the arrows (8 x 6) stand at x 146: the up arrow at y 95, the
// down arrow at y 127. The thumb track runs from y 101 down to y 127.
constexpr int32_t X = 100;
constexpr int32_t Y = 100;

class ListBoxTest : public GuiFilesTest {
protected:
    void SetUp() override
    {
        GuiFilesTest::SetUp();
        // Cell 0 ("X" and every unlisted character) is solid grey, cell 1 (space) is empty.
        std::vector<uint16_t> sheet(8 * 5, 0);
        for (int32_t y = 0; y < 5; ++y)
            for (int32_t x = 0; x < 4; ++x)
                sheet[static_cast<size_t>(y * 8 + x)] = Grey;
        WriteImage("font.bmp", 8, 5, sheet);
        WriteSolidImage("up.bmp", 8, 6, Red);
        WriteSolidImage("down.bmp", 8, 6, Blue);
        Define("class = font\ntype = Mono\nimage = font.bmp\nchars = \"X \"\ncharwidth = 4\ncharheight = 5\n");
        Define("class = text\ntype = Row\nFontEnt = font, Mono\n");
        Define("class = sprite\ntype = Up\nimage = up.bmp\n");
        Define("class = sprite\ntype = Down\nimage = down.bmp\n");
        Define("class = button\ntype = UpB\nMainImageEnt = sprite, Up\n");
        Define("class = button\ntype = DownB\nMainImageEnt = sprite, Down\n");
    }

    // Keys in `extra` come first, so they win over the defaults below.
    PXEntityRef DefineList(const std::string& extra)
    {
        return Define("class = ListBox\ntype = L" + std::to_string(++m_count) + "\n" + extra +
                      "TextEnt = text, Row\nListHeight = 4\nListWidth = 10\n"
                      "UpArrowEnt = button, UpB\nDownArrowEnt = button, DownB\n"
                      "BoxColor = 0, 255, 0\nBoxLightColor = 255, 255, 0\nBoxShadowColor = 0, 255, 255\n"
                      "HighlightColor = 255, 0, 255\n");
    }

    PXEntity2DGUIListBox* MakeList(const std::string& extra = "")
    {
        return Place(Create<PXEntity2DGUIListBox>(DefineList(extra)));
    }

    PXEntity2DGUIListBox* Place(PXEntity2DGUIListBox* list)
    {
        list->SetPosition(PXPoint{X, Y});
        return list;
    }

    static void Add(PXEntity2DGUIListBox* list, const std::string& text)
    {
        list->SetStringProperty(P::AddText, text);
    }

    // Items "i0" .. "i<n-1>".
    static void AddNumbered(PXEntity2DGUIListBox* list, int n)
    {
        for (int i = 0; i < n; ++i)
            Add(list, "i" + std::to_string(i));
    }

    // Ten items in four rows, the view at the top, then item `start` selected and the view
    // following it: where the selection and paging cases begin.
    PXEntity2DGUIListBox* TenItemsAt(bool viewOnly, int32_t start)
    {
        auto* list = MakeList();
        AddNumbered(list, 10);
        list->SetProperty(P::ViewOnly, viewOnly ? 1 : 0);
        list->SetProperty(P::Selection, 0);
        list->Update(0.0f);
        list->SetProperty(P::Selection, start);
        list->Update(0.0f);
        return list;
    }

    static std::vector<std::string> Items(const PXEntity2DGUIListBox* list)
    {
        std::vector<std::string> out;
        for (size_t i = 0; i < list->GetItemCount(); ++i)
            out.push_back(list->GetItem(i).text);
        return out;
    }

    static int32_t Get(PXEntity2DGUIListBox* list, int32_t id)
    {
        int32_t value = -999;
        EXPECT_TRUE(list->GetProperty(id, &value)) << id;
        return value;
    }

    static std::string RowText(const PXEntity2DGUIListBox* list, size_t r)
    {
        auto* row = dynamic_cast<PXEntity2DGUIText*>(list->GetRow(r));
        return row ? row->GetText() : "<none>";
    }

    // Draws one frame on a cleared, wholly dirty screen.
    void DrawFrame(PXEntity2DGUIListBox* list)
    {
        ClearScreen();
        DirtyAll();
        list->Draw();
    }

    int m_count = 0;
};

TEST_F(ListBoxTest, KeysDefaultsAndBounds)
{
    PXEntity2DGUIListBoxType defaults(nullptr);
    EXPECT_EQ(0, defaults.GetListHeight());
    EXPECT_EQ(0, defaults.GetListWidth());
    EXPECT_FALSE(defaults.IsWrap());
    EXPECT_TRUE(defaults.IsOutline());
    EXPECT_EQ(MakeColor(255, 255, 255), defaults.GetBoxColor());
    EXPECT_EQ(MakeColor(255, 255, 255), defaults.GetHighlightColor());
    EXPECT_EQ(0, defaults.GetBackgroundColor().alpha);

    PXEntityRef ref = Define("class = ListBox\ntype = Keys\nListHeight = 100000\nListWidth = -3\nLineHeight = 12\n"
                             "Wrap = 1\nOutline = 0\nBoxColor = 10, 20\nBackgroundColor = 1, 2, 3, 4\n"
                             "TextEnt = text, Row\nUpArrowEnt = button, UpB\n");
    auto* type = static_cast<PXEntity2DGUIListBoxType*>(registry.FindType(ref.className, ref.typeName));
    ASSERT_NE(nullptr, type);
    EXPECT_EQ(PXEntity2DGUIListBoxType::MaxListHeight, type->GetListHeight());
    EXPECT_EQ(0, type->GetListWidth());
    EXPECT_EQ(12, type->GetLineHeight());
    EXPECT_TRUE(type->IsWrap());
    EXPECT_FALSE(type->IsOutline());
    EXPECT_EQ(MakeColor(10, 20, 255), type->GetBoxColor());  // the missing blue keeps its default
    EXPECT_EQ(MakeColor(1, 2, 3, 4), type->GetBackgroundColor());
    EXPECT_EQ("Row", type->GetTextRef().typeName);
    EXPECT_TRUE(type->GetDownArrowRef().IsEmpty());

    auto* list = Create<PXEntity2DGUIListBox>(ref);
    EXPECT_EQ(static_cast<size_t>(PXEntity2DGUIListBoxType::MaxListHeight), list->GetRowCount());
    EXPECT_NE(nullptr, list->GetUpArrow());
    EXPECT_EQ(nullptr, list->GetDownArrow());
}

TEST_F(ListBoxTest, ListNamingItselfAsRowStopsNesting)
{
    PXEntityRef ref = Define("class = ListBox\ntype = Self\nListHeight = 2\nTextEnt = ListBox, Self\n");
    auto* list = Create<PXEntity2DGUIListBox>(ref);
    ASSERT_NE(nullptr, list);
    Add(list, "fine");
    list->Update(16.0f);
    list->Draw();
    EXPECT_EQ(1u, list->GetItemCount());
}

TEST_F(ListBoxTest, ItemLimitKeepsNewestAndSelectsIt)
{
    struct Case {
        int32_t limit;
        std::vector<std::string> items;
        int32_t selection;
    };
    const Case cases[] = {
        {3, {"i2", "i3", "i4"}, 2},
        {-1, {"i0", "i1", "i2", "i3", "i4"}, 4},
        {-2, {"i0", "i1", "i2", "i3", "i4"}, 4},  // any negative limit is no limit
        {0, {}, -1},
    };
    for (const Case& c : cases) {
        auto* list = MakeList();
        list->SetProperty(P::ItemLimit, c.limit);
        AddNumbered(list, 5);
        EXPECT_EQ(c.items, Items(list)) << c.limit;
        EXPECT_EQ(c.selection, Get(list, P::Selection)) << c.limit;
        EXPECT_EQ(static_cast<int32_t>(c.items.size()), Get(list, P::Count)) << c.limit;
    }
}

TEST_F(ListBoxTest, AddedTextWrapsAtListWidthWithIndent)
{
    struct Case {
        std::string keys;
        std::string indent;
        std::string text;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"Wrap = 1\n", "", "abcd efgh ijkl", {"abcd efgh ", "ijkl"}},
        {"Wrap = 1\n", "  ", "abcd efgh ijkl", {"abcd efgh ", "  ijkl"}},
        {"Wrap = 1\n", "", "abcdefghijklmn", {"abcdefghij", "klmn"}},
        {"Wrap = 1\n", "", "one\rtwo", {"one", "two"}},
        {"Wrap = 0\n", "", "abcd efgh ijkl", {"abcd efgh ijkl"}},
        // Without a font in the rows nothing is wrapped.
        {"Wrap = 1\nTextEnt = text, Missing\n", "", "abcd efgh ijkl", {"abcd efgh ijkl"}},
    };
    for (const Case& c : cases) {
        auto* list = MakeList(c.keys);
        if (!c.indent.empty())
            list->SetStringProperty(P::Indent, c.indent);
        Add(list, c.text);
        EXPECT_EQ(c.items, Items(list)) << c.keys << c.text;
        EXPECT_EQ(static_cast<int32_t>(c.items.size()) - 1, Get(list, P::Selection));
    }
}

TEST_F(ListBoxTest, WrapFlagIsSharedByTheTypeAndItemsKeepTheTintOfTheirTime)
{
    PXEntityRef ref = DefineList("");
    auto* first = Place(Create<PXEntity2DGUIListBox>(ref));
    auto* second = Place(Create<PXEntity2DGUIListBox>(ref));
    first->SetProperty(P::Wrap, 1);
    Add(second, "abcd efgh ijkl");
    EXPECT_EQ(2u, second->GetItemCount());

    first->SetProperty(PXGuiProp::TintAlpha, 255);
    first->SetProperty(PXGuiProp::TintRed, 200);
    Add(first, "red");
    first->SetProperty(PXGuiProp::TintRed, 10);
    Add(first, "dark");
    EXPECT_EQ(MakeColor(200, 0, 0, 255), first->GetItem(0).color);
    EXPECT_EQ(MakeColor(10, 0, 0, 255), first->GetItem(1).color);
}

TEST_F(ListBoxTest, SplitsFileTextIntoLines)
{
    struct Case {
        std::string bytes;
        int32_t width;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        // The last line needs no CR to be shown.
        {"one\r\ntwo\r\nthree", 10, {"one", "two", "three"}},
        {"abcd efgh ijkl\r\n", 10, {"abcd efgh", "ijkl"}},
        {"ab cdef\r", 5, {"ab", "cdef"}},
        {"abcdefghijkl\r", 5, {"abcde", "fghij", "kl"}},
        {"abcde fg\r", 5, {"abcde", "fg"}},
        {"a\nb\r", 5, {"ab"}},
        {"\r\r\n", 5, {"", ""}},
        {"abc def ghi\r", 0, {"abc def ghi"}},
        {"", 5, {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.lines, PXEntity2DGUIListBox::SplitFileText(c.bytes, c.width)) << c.bytes;
}

TEST_F(ListBoxTest, ShowsTextFileOnceAndSelectsFirstLine)
{
    dir.Write("help.txt", "first line\r\nsecond\r\nthird");
    auto* list = MakeList();
    Add(list, "old");
    list->SetStringProperty(P::ShowFile, "help.txt");
    EXPECT_EQ((std::vector<std::string>{"first line", "second", "third"}), Items(list));
    EXPECT_EQ(0, Get(list, P::Selection));
    EXPECT_EQ("help.txt", list->GetFileName());

    // The same name again does not reload; after a clear it does.
    Add(list, "extra");
    list->SetStringProperty(P::ShowFile, "help.txt");
    EXPECT_EQ(4u, list->GetItemCount());
    list->SetProperty(P::Clear, 0);
    EXPECT_EQ(0, Get(list, P::Count));
    EXPECT_EQ(-1, Get(list, P::Selection));
    list->SetStringProperty(P::ShowFile, "help.txt");
    EXPECT_EQ(3u, list->GetItemCount());
    EXPECT_EQ("", dir.Read("log.txt"));
}

TEST_F(ListBoxTest, ShowsTextFileFromAnArchive)
{
    // Archive members are memory streams: a read asking for more than is left fails as a
    // whole instead of returning a short count, so the file must be read by its size.
    dir.Write("packed/help.txt", "one\r\ntwo\r\nthree");
    HostFileManager source;
    HostFileManager target;
    ASSERT_NE(0u, PXArchiveWriter::Write(source, {dir.Folder() + "/packed/help.txt"}, target,
                                        dir.Folder() + "/help.pxa"));
    // Stored under its full path: mount the archive and ask for that name.
    ASSERT_EQ(1, files.AddManager(std::make_unique<PXArchiveManager>(&files, "help.pxa"), ""));
    std::remove((dir.Folder() + "/packed/help.txt").c_str());
    auto* list = MakeList();
    list->SetStringProperty(P::ShowFile, dir.Folder() + "/packed/help.txt");
    EXPECT_EQ((std::vector<std::string>{"one", "two", "three"}), Items(list));
    EXPECT_EQ("", dir.Read("log.txt"));
}

TEST_F(ListBoxTest, MissingFileLogsAndLeavesListEmpty)
{
    auto* list = MakeList();
    Add(list, "old");
    list->SetStringProperty(P::ShowFile, "nothere.txt");
    EXPECT_EQ(0u, list->GetItemCount());
    EXPECT_EQ(-1, Get(list, P::Selection));
    EXPECT_EQ("Unable to open text file: nothere.txt\n", dir.Read("log.txt"));
}

TEST_F(ListBoxTest, LargeFileIsReadOnlyUpToTheBound)
{
    std::string big;
    while (big.size() <= PXEntity2DGUIListBox::MaxFileBytes + 100)
        big += "xxxxxxxx\r";
    dir.Write("big.txt", big);
    auto* list = MakeList();
    list->SetStringProperty(P::ShowFile, "big.txt");
    size_t shown = 0;
    for (size_t i = 0; i < list->GetItemCount(); ++i)
        shown += list->GetItem(i).text.size() + 1;
    EXPECT_LE(shown, static_cast<size_t>(PXEntity2DGUIListBox::MaxFileBytes) + 1);
    EXPECT_GT(shown, static_cast<size_t>(PXEntity2DGUIListBox::MaxFileBytes) - 20);
    EXPECT_NE(std::string::npos, dir.Read("log.txt").find("big.txt"));
}

TEST_F(ListBoxTest, SelectionAndPagingProperties)
{
    // Ten items, four rows. The list starts at the top, selects `start` and updates (the view
    // follows), then gets the property; `top` is the view after the next update.
    struct Case {
        bool viewOnly;
        int32_t start;
        int32_t id;
        int32_t value;
        int32_t selection;
        int32_t top;
    };
    const Case cases[] = {
        {false, 5, P::Previous, 0, 4, 2},
        {false, 0, P::Previous, 0, 0, 0},
        {false, 5, P::Next, 0, 6, 3},
        {false, 9, P::Next, 0, 9, 6},
        {false, 3, P::PageUp, 0, 0, 0},
        {false, 7, P::PageUp, 0, 3, 3},
        {false, 3, P::PageDown, 0, 7, 4},
        {false, 8, P::PageDown, 0, 9, 6},
        {false, 0, P::Selection, 50, 9, 6},
        {false, 4, P::Selection, -1, -1, 0},
        {false, 4, P::Selection, -7, -1, 0},
        // A viewer scrolls its view by one row.
        {true, 7, P::Previous, 0, 3, 3},
        {true, 7, P::Next, 0, 8, 5},
        {true, 7, P::PageUp, 0, 3, 3},
        {true, 7, P::PageDown, 0, 8, 5},
        {true, 0, P::Previous, 0, 0, 0},
        {true, 9, P::Next, 0, 9, 6},
    };
    for (const Case& c : cases) {
        auto* list = TenItemsAt(c.viewOnly, c.start);
        EXPECT_TRUE(list->SetProperty(c.id, c.value));
        EXPECT_EQ(c.selection, Get(list, P::Selection)) << c.viewOnly << " " << c.start << " " << c.id;
        list->Update(0.0f);
        EXPECT_EQ(c.top, Get(list, P::Top)) << c.viewOnly << " " << c.start << " " << c.id;
    }
}

TEST_F(ListBoxTest, FocusKeysMoveTheSelectionOrScrollAViewer)
{
    // As above: the list starts at `start` and takes the action.
    using A = PXInputAction;
    struct Case {
        bool viewOnly;
        int32_t start;
        PXInputAction action;
        int32_t selection;
        int32_t top;
    };
    const Case cases[] = {
        {false, 5, A::FocusUp, 4, 2},   {false, 5, A::FocusDown, 6, 3}, {false, 7, A::PageUp, 3, 3},
        {false, 3, A::PageDown, 7, 4},  {false, 5, A::Home, 0, 0},      {false, 2, A::End, 9, 6},
        {false, 0, A::FocusUp, 0, 0},   {false, 9, A::FocusDown, 9, 6},
        {true, 7, A::FocusUp, 3, 3},    {true, 7, A::FocusDown, 8, 5},  {true, 7, A::PageDown, 8, 5},
        {true, 7, A::Home, 0, 0},       {true, 0, A::End, 9, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.viewOnly) + " " + std::to_string(c.start) + " " +
                     std::to_string(static_cast<int>(c.action)));
        auto* list = TenItemsAt(c.viewOnly, c.start);
        EXPECT_EQ(PXActionResult::Used, list->OnInputAction(c.action));
        EXPECT_EQ(c.selection, Get(list, P::Selection));
        list->Update(0.0f);
        EXPECT_EQ(c.top, Get(list, P::Top));
    }
}

TEST_F(ListBoxTest, AListTakesTheFocusButNotPressOrSideways)
{
    auto* list = MakeList();
    AddNumbered(list, 10);
    EXPECT_TRUE(list->CanTakeFocus());
    for (PXInputAction action : {PXInputAction::Press, PXInputAction::FocusLeft, PXInputAction::FocusRight,
                                 PXInputAction::FocusNext, PXInputAction::Back}) {
        EXPECT_EQ(PXActionResult::Ignored, list->OnInputAction(action)) << static_cast<int>(action);
    }
    list->SetDisabled(true);
    EXPECT_FALSE(list->CanTakeFocus());
    // An empty list takes the keys and keeps no selection.
    auto* empty = MakeList();
    EXPECT_EQ(PXActionResult::Used, empty->OnInputAction(PXInputAction::End));
    EXPECT_EQ(-1, Get(empty, P::Selection));
}

TEST_F(ListBoxTest, MovesOnAnEmptyListKeepNoSelection)
{
    auto* list = MakeList();
    for (int32_t id : {P::Previous, P::Next, P::PageUp, P::PageDown, P::Selection}) {
        list->SetProperty(id, 3);
        EXPECT_EQ(-1, Get(list, P::Selection)) << id;
    }
    std::string text = "untouched";
    EXPECT_TRUE(list->GetStringProperty(P::Selection, &text));
    EXPECT_EQ("untouched", text);
    list->Update(0.0f);
    EXPECT_EQ(0, Get(list, P::Top));
}

TEST_F(ListBoxTest, ItemsAreFoundByTextAndUserValue)
{
    auto* list = MakeList();
    AddNumbered(list, 4);
    EXPECT_EQ(10, Get(list, P::ListWidth));
    EXPECT_EQ(4, Get(list, P::ListHeight));

    list->SetProperty(P::Selection, 1);
    list->SetProperty(P::UserValue, 77);
    list->SetProperty(P::Selection, 3);
    list->SetProperty(P::UserValue, 77);
    EXPECT_EQ(77, Get(list, P::UserValue));

    list->SetProperty(P::SelectValue, 77);
    EXPECT_EQ(1, Get(list, P::Selection));
    list->SetStringProperty(P::SelectText, "i2");
    EXPECT_EQ(2, Get(list, P::Selection));
    std::string text;
    EXPECT_TRUE(list->GetStringProperty(P::Selection, &text));
    EXPECT_EQ("i2", text);
    // No match leaves the selection.
    list->SetStringProperty(P::SelectText, "i");
    list->SetProperty(P::SelectValue, 5);
    EXPECT_EQ(2, Get(list, P::Selection));

    struct Lookup {
        int32_t index;
        int32_t value;
    };
    for (const Lookup& l : {Lookup{3, 77}, Lookup{0, 0}, Lookup{4, 4}, Lookup{-1, -1}}) {
        int32_t value = l.index;
        EXPECT_TRUE(list->GetProperty(P::ItemValue, &value));
        EXPECT_EQ(l.value, value) << l.index;
    }
}

TEST_F(ListBoxTest, UpdateFillsRowsWithTheVisibleItems)
{
    auto* list = MakeList();
    list->SetProperty(PXGuiProp::TintAlpha, 255);
    list->SetProperty(PXGuiProp::TintGreen, 99);
    AddNumbered(list, 6);
    list->Update(0.0f);  // top 2
    list->SetProperty(P::Selection, 1);
    list->SetProperty(P::FixedWindow, 1);
    list->SetAlpha(128);
    list->Update(16.0f);
    EXPECT_EQ(1, Get(list, P::Top));
    EXPECT_EQ("i1", RowText(list, 0));
    EXPECT_EQ("i4", RowText(list, 3));
    int32_t value = 0;
    list->GetRow(0)->GetProperty(PXGuiProp::TintGreen, &value);
    EXPECT_EQ(99, value);
    list->GetRow(0)->GetProperty(PXTextProp::WindowSize, &value);
    EXPECT_EQ(10, value);
    EXPECT_EQ(128, list->GetRow(2)->GetAlpha());

    list->SetProperty(P::Clear, 0);
    list->SetProperty(P::FixedWindow, 0);
    list->Update(16.0f);
    EXPECT_EQ("", RowText(list, 0));
    list->GetRow(0)->GetProperty(PXGuiProp::TintGreen, &value);
    EXPECT_EQ(0, value);
    list->GetRow(0)->GetProperty(PXTextProp::WindowSize, &value);
    EXPECT_EQ(0, value);
}

TEST_F(ListBoxTest, RowsAndArrowsArePlacedByLineHeight)
{
    struct Case {
        int32_t lineHeight;
        int32_t row1Y;     // rows centre their text when taller than the font
        int32_t downY;     // the down arrow ends one pixel below the rows
    };
    const Case cases[] = {
        {0, Y + 8, Y + 1 + 32 - 6},
        {12, Y + 12 + 3, Y + 1 + 48 - 6},
        {6, Y + 8, Y + 1 + 32 - 6},
    };
    for (const Case& c : cases) {
        auto* list = MakeList("LineHeight = " + std::to_string(c.lineHeight) + "\n");
        list->Update(0.0f);
        EXPECT_EQ(c.row1Y, list->GetRow(1)->GetY()) << c.lineHeight;
        EXPECT_EQ(X, list->GetRow(1)->GetX());
        EXPECT_EQ(X + 46, list->GetUpArrow()->GetX());
        EXPECT_EQ(Y - 5, list->GetUpArrow()->GetY());
        EXPECT_EQ(X + 46, list->GetDownArrow()->GetX());
        EXPECT_EQ(c.downY, list->GetDownArrow()->GetY()) << c.lineHeight;
    }
}

TEST_F(ListBoxTest, ClicksOnArrowsAndRows)
{
    auto* list = MakeList();
    AddNumbered(list, 12);
    list->Update(0.0f);  // top 8
    list->SetProperty(P::Selection, 5);
    list->Update(0.0f);
    ASSERT_EQ(5, Get(list, P::Top));

    // The third visible row selects item 7.
    EXPECT_TRUE(list->Click(PXPoint{X + 10, Y + 2 * 8 + 3}));
    EXPECT_EQ(7, Get(list, P::Selection));
    EXPECT_TRUE(list->Click(PXPoint{X + 47 + 3, Y - 5 + 3}));  // up arrow
    EXPECT_EQ(6, Get(list, P::Selection));
    EXPECT_TRUE(list->Click(PXPoint{X + 47 + 3, Y + 27 + 3}));  // down arrow
    EXPECT_EQ(7, Get(list, P::Selection));
    // Edges of the rows and points beside them are not taken.
    for (PXPoint p : {PXPoint{X, Y + 3}, PXPoint{X + 40, Y + 3}, PXPoint{X + 10, Y}, PXPoint{X + 10, Y + 32},
                      PXPoint{X - 20, Y + 3}}) {
        EXPECT_FALSE(list->Click(p)) << p.x << "," << p.y;
    }
    EXPECT_EQ(7, Get(list, P::Selection));

    list->SetProperty(P::ViewOnly, 1);
    list->Update(0.0f);
    list->Click(PXPoint{X + 50, Y + 30});
    list->Update(0.0f);
    EXPECT_EQ(6, Get(list, P::Top));

    list->SetDisabled(true);
    EXPECT_FALSE(list->Click(PXPoint{X + 10, Y + 3}));
}

TEST_F(ListBoxTest, ClickBelowTheLastItemSelectsIt)
{
    auto* list = MakeList();
    AddNumbered(list, 3);
    list->Update(0.0f);
    EXPECT_TRUE(list->Click(PXPoint{X + 10, Y + 3 * 8 + 3}));
    EXPECT_EQ(2, Get(list, P::Selection));
}

TEST_F(ListBoxTest, ScrollControlsAreTheArrowsAndTheTrack)
{
    auto* list = MakeList();
    AddNumbered(list, 14);
    list->Update(0.0f);
    list->Draw();
    struct Case {
        PXPoint point;
        bool controls;
        bool rows;
    };
    const Case cases[] = {
        {{X + 50, Y - 2}, true, false},    // up arrow
        {{X + 50, Y + 30}, true, false},   // down arrow
        {{X + 50, Y + 15}, true, false},   // track
        {{X + 46, Y + 1}, true, false},    // thumb's top left corner
        {{X + 10, Y + 10}, false, true},   // a row
        {{X + 44, Y + 15}, false, false},  // between rows and track
        {{X + 60, Y + 15}, false, false},  // right of the track
        {{X - 3, Y - 3}, false, false},    // frame
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.controls, list->HitsScrollControls(c.point)) << c.point.x << "," << c.point.y;
        EXPECT_EQ(c.rows, list->HitsRows(c.point)) << c.point.x << "," << c.point.y;
    }
    list->SetDisabled(true);
    EXPECT_FALSE(list->HitsScrollControls(PXPoint{X + 50, Y - 2}));
}

TEST_F(ListBoxTest, DraggingTheThumbMovesTheViewAndPullsTheSelection)
{
    // Fourteen items give eleven top positions on a 26-pixel track.
    struct Case {
        int32_t mouseY;
        int32_t top;
        int32_t selection;  // from 13
    };
    const Case cases[] = {
        {Y + 20, 7, 10},
        {Y + 2, 0, 3},
        {Y + 19 + 1, 7, 10},
    };
    for (const Case& c : cases) {
        auto* list = MakeList();
        AddNumbered(list, 14);
        list->Update(0.0f);
        MoveMouse(X + 50, c.mouseY);
        g_leftButtonDown = 1;
        list->Update(16.0f);
        g_leftButtonDown = 0;
        EXPECT_EQ(c.top, Get(list, P::Top)) << c.mouseY;
        EXPECT_EQ(c.selection, Get(list, P::Selection)) << c.mouseY;
    }

    // Outside the track, or without the button, the view follows the selection.
    auto* list = MakeList();
    AddNumbered(list, 14);
    MoveMouse(X + 60, Y + 20);
    g_leftButtonDown = 1;
    list->Update(0.0f);
    g_leftButtonDown = 0;
    EXPECT_EQ(10, Get(list, P::Top));
}

TEST_F(ListBoxTest, ArrowsAsTallAsTheBoxLeaveNoTrackToDrag)
{
    WriteSolidImage("tall.bmp", 8, 40, Red);
    Define("class = sprite\ntype = Tall\nimage = tall.bmp\n");
    auto* list = MakeList("UpArrowEnt = sprite, Tall\nListHeight = 3\n");  // rows 24 high: step <= 0
    AddNumbered(list, 9);
    MoveMouse(X + 50, Y + 10);
    g_leftButtonDown = 1;
    list->Update(0.0f);
    g_leftButtonDown = 0;
    list->Draw();
    EXPECT_GE(Get(list, P::Top), 0);
}

TEST_F(ListBoxTest, DrawsFrameTrackThumbAndHighlight)
{
    auto* list = MakeList("BackgroundColor = 0, 0, 255, 255\n");
    AddNumbered(list, 14);
    list->SetProperty(P::Selection, 1);
    list->Update(0.0f);
    DrawFrame(list);

    // Two-pixel frame, then the background fill inside it.
    EXPECT_EQ(Green, Pixel(X - 5, Y - 5));
    EXPECT_EQ(Green, Pixel(X - 4, Y - 4));
    EXPECT_EQ(Green, Pixel(X + 45, Y + 10));
    const uint16_t inside = Pixel(X - 3, Y + 30);
    EXPECT_GE(inside & 0x1F, 30);
    EXPECT_EQ(0, inside >> 5);
    // The track's right edge and its dotted columns; the thumb holds the top of the track.
    EXPECT_EQ(Green, Pixel(X + 54, Y + 10));
    EXPECT_EQ(Green, Pixel(X + 47, Y + 20));
    EXPECT_NE(Green, Pixel(X + 48, Y + 20));
    EXPECT_EQ(Yellow, Pixel(X + 46, Y + 1));  // light edge
    EXPECT_EQ(Cyan, Pixel(X + 53, Y + 3));    // dark edge
    EXPECT_EQ(Green, Pixel(X + 50, Y + 2));   // face
    EXPECT_EQ((PXRect{X + 46, X + 54, Y + 1, Y + 4}), list->GetThumbRect());
    // The arrows, the highlight round row 1 (right edge, beside the text) and the rows' text.
    EXPECT_EQ(Red, Pixel(X + 50, Y - 3));
    EXPECT_EQ(Blue, Pixel(X + 50, Y + 30));
    EXPECT_EQ(Magenta, Pixel(X + 40, Y + 8 + 2));
    EXPECT_NE(Magenta, Pixel(X + 40, Y + 2));
    EXPECT_EQ(Grey, Pixel(X + 1, Y + 1));

    // Pressed: the thumb's edges swap colours.
    MoveMouse(X + 50, Y + 2);
    g_leftButtonDown = 1;
    DrawFrame(list);
    g_leftButtonDown = 0;
    EXPECT_EQ(Cyan, Pixel(X + 46, Y + 1));
}

TEST_F(ListBoxTest, ViewerDrawsNoHighlightAndOutlineOffDrawsNoFrame)
{
    auto* viewer = MakeList();
    AddNumbered(viewer, 3);
    viewer->SetProperty(P::ViewOnly, 1);
    viewer->Update(0.0f);
    DrawFrame(viewer);
    EXPECT_EQ(Green, Pixel(X - 5, Y - 5));
    EXPECT_NE(Magenta, Pixel(X + 40, Y + 16 + 2));

    auto* bare = MakeList("Outline = 0\nBackgroundColor = 0, 0, 255, 255\n");
    AddNumbered(bare, 14);
    bare->SetProperty(P::Selection, 0);
    bare->Update(0.0f);
    DrawFrame(bare);
    EXPECT_EQ(0, Pixel(X - 5, Y - 5));
    EXPECT_EQ(0, Pixel(X - 3, Y + 30));
    EXPECT_EQ(0, Pixel(X + 54, Y + 10));
    EXPECT_EQ(0, Pixel(X + 47, Y + 20));
    // The thumb and the highlight still show.
    EXPECT_EQ(Yellow, Pixel(X + 46, Y + 1));
    EXPECT_EQ(Magenta, Pixel(X + 40, Y + 2));
}

TEST_F(ListBoxTest, ListWithoutRowsDrawsFrameAndArrowsOnly)
{
    auto* list = MakeList("ListHeight = 0\n");
    EXPECT_EQ(0u, list->GetRowCount());
    Add(list, "hidden");
    list->Update(0.0f);
    DrawFrame(list);
    EXPECT_EQ(Green, Pixel(X - 5, Y - 5));
    EXPECT_EQ(Green, Pixel(X - 5, Y));
    // Without rows there is no font, so the box has no width or height: the arrows stand
    // beside it, the down arrow over the up arrow, and there is no thumb below them.
    EXPECT_EQ(Blue, Pixel(X + 8, Y - 3));
    EXPECT_EQ(0, Pixel(X + 8, Y + 2));
    EXPECT_EQ(0, Pixel(X + 1, Y + 6));
}

TEST_F(ListBoxTest, InvalidateCoversFrameAndTrack)
{
    auto* list = MakeList();
    list->Update(0.0f);
    screen.ClearDirtyList();
    list->Invalidate();
    const PXDirtyList* dirty = screen.GetDirtyList();
    ASSERT_EQ(1u, dirty->count);
    const PXRect& r = dirty->rects[0];
    EXPECT_LE(r.left, X - 5);
    EXPECT_LE(r.top, Y - 5);
    EXPECT_GE(r.right, X + 40 + 7 + 8);
    EXPECT_GE(r.bottom, Y + 32 + 1);
}

}  // namespace
