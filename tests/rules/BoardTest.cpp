// The triangle grid on hand-built boards: falling, fitting, groups, completion and settling.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/SFBoard.h"

namespace {

constexpr SFCell Up(uint8_t colour)
{
    return SFCell{colour, SFCell::Up};
}
constexpr SFCell Down(uint8_t colour)
{
    return SFCell{colour, SFCell::Down};
}

struct Placed {
    int x;
    int y;
    SFCell cell;
};

SFBoard Build(const std::vector<Placed>& cells)
{
    SFBoard board;
    for (const Placed& p : cells)
        board.Set(p.x, p.y, p.cell);
    return board;
}

SFPiece Diamond(int x, int y, int rotation = 0)
{
    SFPiece piece;
    piece.x = x;
    piece.y = y;
    piece.rotation = rotation;
    piece.shapeSet = &DiamondShapeSet();
    piece.slots = {0, 1, 0, 0, 0, 0};
    return piece;
}

TEST(DiamondShape, OddRotationsSwapTheHalvesColourSlots)
{
    const SFShapeSet& set = DiamondShapeSet();
    for (int rotation = 0; rotation < 6; ++rotation) {
        const auto& items = set[rotation];
        ASSERT_EQ(items.size(), 2u);
        EXPECT_EQ(items[0].rowOffset, 0);
        EXPECT_EQ(items[0].orientation, SFCell::Down);
        EXPECT_EQ(items[1].rowOffset, 1);
        EXPECT_EQ(items[1].orientation, SFCell::Up);
        EXPECT_EQ(items[0].colourSlot, rotation % 2 == 0 ? 1 : 2) << "rotation " << rotation;
        EXPECT_EQ(items[1].colourSlot, rotation % 2 == 0 ? 2 : 1) << "rotation " << rotation;
    }
}

struct FallCase {
    const char* name;
    std::vector<Placed> board;
    int x, y;
    SFCell cell;
    bool canFall;
};

TEST(BoardCanFall, RestingAndWedgingRules)
{
    const FallCase cases[] = {
        {"open space", {}, 5, 5, Up(1), true},
        {"bottom row never falls", {}, 5, 0, Up(1), false},
        {"below the field edge", {}, -1, 5, Up(1), false},
        {"target occupied", {{5, 4, Down(2)}}, 5, 5, Up(1), false},
        {"up rests on a down to the lower left", {{4, 4, Down(2)}}, 5, 5, Up(1), false},
        {"up rests on a down to the lower right", {{6, 4, Down(2)}}, 5, 5, Up(1), false},
        {"up beside an up below would overlap", {{6, 4, Up(2)}}, 5, 5, Up(1), false},
        {"down slides between ups below", {{4, 4, Up(2)}, {6, 4, Up(2)}}, 5, 5, Down(1), true},
        {"down beside a down below would overlap", {{4, 4, Down(2)}}, 5, 5, Down(1), false},
        {"down wedged by an up on its left", {{4, 5, Up(2)}}, 5, 5, Down(1), false},
        {"down wedged by an up on its right", {{6, 5, Up(2)}}, 5, 5, Down(1), false},
        {"right edge column reads the spare column", {}, 16, 3, Down(1), true},
        {"left edge column", {{1, 2, Down(2)}}, 0, 3, Up(1), false},
    };
    for (const FallCase& c : cases) {
        SFBoard board = Build(c.board);
        EXPECT_EQ(board.CanFall(c.x, c.y, c.cell), c.canFall) << c.name;
    }
}

struct FitCase {
    const char* name;
    std::vector<Placed> board;
    int x, y;
    bool fits;
};

TEST(BoardFits, FieldBoundsAndNeighbours)
{
    const FitCase cases[] = {
        {"empty field", {}, 8, 10, true},
        {"upper half above the top row", {}, 8, 16, false},
        {"left of the field", {}, -1, 10, false},
        {"right of the field", {}, 17, 10, false},
        {"rightmost column", {}, 16, 10, true},
        {"cell taken", {{8, 11, Up(3)}}, 8, 10, false},
        {"down beside a down", {{7, 10, Down(3)}}, 8, 10, false},
        {"up beside an up", {{9, 11, Up(3)}}, 8, 10, false},
        {"halves between opposite neighbours", {{7, 10, Up(3)}, {9, 11, Down(3)}}, 8, 10, true},
    };
    for (const FitCase& c : cases) {
        SFBoard board = Build(c.board);
        EXPECT_EQ(board.Fits(Diamond(c.x, c.y)), c.fits) << c.name;
    }
}

TEST(BoardCanDrop, NeedsEveryHalfFree)
{
    SFBoard empty;
    EXPECT_TRUE(empty.CanDrop(Diamond(8, 5)));
    EXPECT_FALSE(empty.CanDrop(Diamond(8, 0)));
    // Only the lower half meets the obstacle.
    SFBoard blocked = Build({{8, 4, Up(2)}});
    EXPECT_FALSE(blocked.CanDrop(Diamond(8, 5)));
}

struct GroupCase {
    const char* name;
    std::vector<Placed> board;
    int size;  // group size from the first listed cell
};

TEST(BoardFindGroup, EdgeConnectedSameColour)
{
    const GroupCase cases[] = {
        {"three in a row", {{0, 0, Up(1)}, {1, 0, Down(1)}, {2, 0, Up(1)}}, 3},
        {"four in a row", {{0, 0, Up(1)}, {1, 0, Down(1)}, {2, 0, Up(1)}, {3, 0, Down(1)}}, 4},
        {"other colour breaks the row", {{0, 0, Up(1)}, {1, 0, Down(2)}, {2, 0, Up(1)}}, 1},
        {"diamond halves join across the flat side", {{4, 3, Down(5)}, {4, 4, Up(5)}}, 2},
        // An up-pointing triangle under a down-pointing one touches it only at the apexes.
        {"stacked diamonds do not join", {{4, 3, Up(5)}, {4, 4, Down(5)}}, 1},
        {"flat side on a different colour", {{4, 3, Down(5)}, {4, 4, Up(6)}}, 1},
        {"gray groups like any colour", {{0, 0, Up(7)}, {1, 0, Down(7)}, {1, 1, Up(7)}, {2, 0, Up(7)}}, 4},
        {"orientation not compared sideways", {{3, 2, Up(2)}, {4, 2, Up(2)}, {5, 2, Up(2)}}, 3},
        {"column 16 with spare column beside", {{16, 0, Down(3)}, {15, 0, Up(3)}}, 2},
        {"top row down-pointing has nothing above", {{2, 16, Down(3)}, {1, 16, Up(3)}}, 2},
    };
    for (const GroupCase& c : cases) {
        SFBoard board = Build(c.board);
        std::vector<SFCellRef> group;
        board.FindGroup(c.board[0].x, c.board[0].y, group);
        EXPECT_EQ(static_cast<int>(group.size()), c.size) << c.name;
        EXPECT_EQ(board.GroupSize(c.board[0].x, c.board[0].y), c.size) << c.name;
    }
}

TEST(BoardFindGroup, VisitsInFloodOrderAndSkipsListedCells)
{
    SFBoard board = Build({{2, 1, Up(4)}, {1, 1, Down(4)}, {3, 1, Down(4)}, {2, 0, Down(4)}});
    std::vector<SFCellRef> group;
    board.FindGroup(2, 1, group);
    // Start, left, right, then across the flat side.
    ASSERT_EQ(group.size(), 4u);
    EXPECT_EQ(group[0].x, 2);
    EXPECT_EQ(group[1].x, 1);
    EXPECT_EQ(group[2].x, 3);
    EXPECT_EQ(group[3].y, 0);

    // A cell already in the list with its value stops the fill there.
    std::vector<SFCellRef> partial = {{2, 1, Up(4)}};
    board.FindGroup(2, 1, partial);
    EXPECT_EQ(partial.size(), 1u);
}

TEST(BoardCompleteDiamonds, LoneHalvesGetAPartnerOfTheirColour)
{
    SFBoard board = Build({
        {3, 5, Down(2)},    // needs an up above
        {6, 5, Up(4)},      // needs a down below
        {9, 0, Up(7)},      // bottom row up-pointing: nothing below to fill
        {12, 16, Down(1)},  // top row down-pointing: nothing above to fill
        {14, 2, Down(3)},
        {14, 3, Up(5)},  // already whole (two colours)
    });
    EXPECT_TRUE(board.CompleteDiamonds());
    EXPECT_EQ(board.At(3, 6), Up(2));
    EXPECT_EQ(board.At(6, 4), Down(4));
    EXPECT_EQ(board.At(12, 15), SFCell{});
    EXPECT_EQ(board.At(14, 4), SFCell{});
    EXPECT_EQ(board.At(14, 1), SFCell{});
    EXPECT_FALSE(board.CompleteDiamonds());
}

TEST(BoardSettleStep, DropsAsFarAsOnePassAllowsAndStopsOnSupport)
{
    // A lone diamond falls: the lower half runs to the bottom in one pass (its row was
    // scanned before it moved, so the upper half waits), the upper half follows in the next.
    SFBoard board = Build({{5, 4, Down(1)}, {5, 5, Up(2)}});
    EXPECT_EQ(board.SettleStep(), 4);
    EXPECT_EQ(board.At(5, 0), Down(1));
    EXPECT_EQ(board.At(5, 5), Up(2));
    EXPECT_EQ(board.SettleStep(), 4);
    EXPECT_EQ(board.At(5, 1), Up(2));
    EXPECT_EQ(board.SettleStep(), 0);

    // A down-pointing triangle wedged between two ups does not move.
    SFBoard wedged = Build({{4, 3, Up(1)},
                            {5, 3, Down(2)},
                            {6, 3, Up(1)},
                            {4, 2, Down(3)},
                            {6, 2, Down(3)},
                            {4, 1, Up(3)},
                            {6, 1, Up(3)},
                            {4, 0, Down(6)},
                            {6, 0, Down(6)}});
    SFBoard before = wedged;
    EXPECT_EQ(wedged.SettleStep(), 0);
    for (int y = 0; y < SFBoard::Rows; ++y)
        for (int x = 0; x < SFBoard::Stride; ++x)
            EXPECT_EQ(wedged.At(x, y), before.At(x, y)) << x << "," << y;

    // The top row is not moved by a pass.
    SFBoard top = Build({{8, 16, Up(3)}});
    EXPECT_EQ(top.SettleStep(), 0);
    EXPECT_EQ(top.At(8, 16), Up(3));
}

}  // namespace
