// Geometry of the triangle grid: falling, fitting, groups, completion and settling.
#include "game/SFBoard.h"

const SFShapeSet& DiamondShapeSet()
{
    static const SFShapeSet diamond = [] {
        SFShapeSet set;
        for (int rotation = 0; rotation < 6; ++rotation) {
            uint8_t lower = (rotation % 2 == 0) ? 1 : 2;
            uint8_t upper = (rotation % 2 == 0) ? 2 : 1;
            set[rotation] = {{0, 0, lower, SFCell::Down}, {0, 1, upper, SFCell::Up}};
        }
        return set;
    }();
    return diamond;
}

bool SFBoard::HoldsOrientation(int x, int y, uint8_t orientation) const
{
    SFCell cell = At(x, y);
    return !cell.IsEmpty() && cell.orientation == orientation;
}

bool SFBoard::CanFall(int x, int y, SFCell cell) const
{
    int below = y - 1;
    if (below < 0 || below > Rows - 1 || x < 0 || x > Columns - 1)
        return false;
    if (!At(x, below).IsEmpty())
        return false;
    // Two neighbours of one orientation would overlap.
    if (x > 0 && HoldsOrientation(x - 1, below, cell.orientation))
        return false;
    if (HoldsOrientation(x + 1, below, cell.orientation))
        return false;
    if (cell.orientation == SFCell::Up) {
        // The flat bottom rests on the sloping tops of down-pointing triangles below.
        if (x > 0 && HoldsOrientation(x - 1, below, SFCell::Down))
            return false;
        if (HoldsOrientation(x + 1, below, SFCell::Down))
            return false;
    } else {
        // Wedged between the sloping sides of up-pointing neighbours in its own row.
        if (x > 0 && HoldsOrientation(x - 1, y, SFCell::Up))
            return false;
        if (HoldsOrientation(x + 1, y, SFCell::Up))
            return false;
    }
    return true;
}

bool SFBoard::Fits(const SFPiece& piece) const
{
    for (const SFShapeItem& item : piece.Items()) {
        int x = piece.x + item.columnOffset;
        int y = piece.y + item.rowOffset;
        if (x < 0 || x > Columns - 1 || y < 0 || y > Rows - 1)
            return false;
        if (!At(x, y).IsEmpty())
            return false;
        if (x > 0 && HoldsOrientation(x - 1, y, item.orientation))
            return false;
        if (HoldsOrientation(x + 1, y, item.orientation))
            return false;
    }
    return true;
}

bool SFBoard::CanDrop(const SFPiece& piece) const
{
    for (const SFShapeItem& item : piece.Items()) {
        SFCell cell{0, item.orientation};
        cell.colour = static_cast<uint8_t>(piece.slots[item.colourSlot - 1] + 1);
        if (!CanFall(piece.x + item.columnOffset, piece.y + item.rowOffset, cell))
            return false;
    }
    return true;
}

void SFBoard::FindGroup(int x, int y, std::vector<SFCellRef>& group) const
{
    // Cells already listed with their current value count as visited.
    std::array<bool, Stride* Rows> seen = {};
    for (const SFCellRef& ref : group) {
        if (ref.x >= 0 && ref.x < Stride && ref.y >= 0 && ref.y < Rows && At(ref.x, ref.y) == ref.cell)
            seen[ref.x + Stride * ref.y] = true;
    }
    FindGroupFrom(x, y, group, seen);
}

void SFBoard::FindGroupFrom(int x, int y, std::vector<SFCellRef>& group,
                            std::array<bool, Stride * Rows>& seen) const
{
    int index = x + Stride * y;
    if (seen[index])
        return;
    seen[index] = true;
    SFCell cell = At(x, y);
    group.push_back({x, y, cell});

    if (x > 0 && At(x - 1, y).colour == cell.colour)
        FindGroupFrom(x - 1, y, group, seen);
    if (x + 1 < Stride && At(x + 1, y).colour == cell.colour)
        FindGroupFrom(x + 1, y, group, seen);
    // Across the flat side: below an up-pointing triangle, above a down-pointing one.
    if (cell.orientation == SFCell::Up) {
        if (y >= 1) {
            SFCell other = At(x, y - 1);
            if (other.colour == cell.colour && other.orientation == SFCell::Down)
                FindGroupFrom(x, y - 1, group, seen);
        }
    } else if (y <= Rows - 2) {
        SFCell other = At(x, y + 1);
        if (other.colour == cell.colour && other.orientation == SFCell::Up)
            FindGroupFrom(x, y + 1, group, seen);
    }
}

int SFBoard::GroupSize(int x, int y) const
{
    if (At(x, y).IsEmpty())
        return 0;
    std::vector<SFCellRef> group;
    FindGroup(x, y, group);
    return static_cast<int>(group.size());
}

bool SFBoard::CompleteDiamonds()
{
    bool changed = false;
    for (int r = 0; r < Rows; ++r) {
        for (int x = 0; x < Stride; ++x) {
            SFCell cell = At(x, r);
            if (cell.IsEmpty())
                continue;
            if (cell.orientation == SFCell::Down && r < Rows - 1 && At(x, r + 1).IsEmpty()) {
                Set(x, r + 1, SFCell{cell.colour, SFCell::Up});
                changed = true;
            } else if (cell.orientation == SFCell::Up && r > 0 && At(x, r - 1).IsEmpty()) {
                Set(x, r - 1, SFCell{cell.colour, SFCell::Down});
                changed = true;
            }
        }
    }
    return changed;
}

int SFBoard::SettleStep()
{
    // Scanning downward lets a triangle that just moved be examined again in the row below.
    int moved = 0;
    for (int r = Rows - 2; r >= 0; --r) {
        for (int x = 0; x < Stride; ++x) {
            SFCell cell = At(x, r);
            if (cell.IsEmpty() || !CanFall(x, r, cell))
                continue;
            Set(x, r, SFCell{});
            Set(x, r - 1, cell);
            ++moved;
        }
    }
    return moved;
}
