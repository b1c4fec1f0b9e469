// The play field's cells, the falling-piece shapes and the geometric rules of the triangle grid.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

// One triangle: colour 0 empty, 1 to 6 the piece colours, 7 gray; orientation 0 up, 1 down.
struct SFCell {
    uint8_t colour = 0;
    uint8_t orientation = 0;

    static constexpr uint8_t Up = 0;
    static constexpr uint8_t Down = 1;
    static constexpr uint8_t Gray = 7;

    bool IsEmpty() const { return colour == 0; }
    bool operator==(const SFCell& other) const
    {
        return colour == other.colour && orientation == other.orientation;
    }
    bool operator!=(const SFCell& other) const { return !(*this == other); }
};

struct SFShapeItem {
    int32_t columnOffset = 0;
    int32_t rowOffset = 0;
    uint8_t colourSlot = 1;  // 1-based index into SFPiece::slots
    uint8_t orientation = SFCell::Up;
};

// Six rotation states, each a list of triangles relative to the piece's position.
using SFShapeSet = std::array<std::vector<SFShapeItem>, 6>;

// The one shape of the game: a down-pointing triangle with an up-pointing one on top;
// odd rotations swap the colour slots of the two halves.
const SFShapeSet& DiamondShapeSet();

struct SFPiece {
    int32_t x = 0;
    int32_t y = 0;  // row of the lower half
    int32_t rotation = 0;
    const SFShapeSet* shapeSet = nullptr;  // nullptr: no piece
    std::array<uint8_t, 6> slots = {};     // colour - 1 per slot

    bool Exists() const { return shapeSet != nullptr; }
    const std::vector<SFShapeItem>& Items() const { return (*shapeSet)[rotation]; }
};

// A cell reference with the value it held when collected (groups and the clear list).
struct SFCellRef {
    int32_t x = 0;
    int32_t y = 0;
    SFCell cell;

    bool operator==(const SFCellRef& o) const { return x == o.x && y == o.y && cell == o.cell; }
};

// 17 rows by 18 columns, row 0 at the bottom. Column 17 stays empty; it only serves as
// the right neighbour of column 16, so neighbour reads never need a bounds special case.
class SFBoard {
public:
    static constexpr int Columns = 17;
    static constexpr int Stride = 18;
    static constexpr int Rows = 17;

    SFCell At(int x, int y) const { return m_cells[x + Stride * y]; }
    void Set(int x, int y, SFCell cell) { m_cells[x + Stride * y] = cell; }
    void Clear() { m_cells.fill(SFCell{}); }

    // May the triangle `cell` at (x, y) move one row down?
    bool CanFall(int x, int y, SFCell cell) const;
    // Is every triangle of the piece inside the field, on an empty cell, and not beside a
    // triangle of its own orientation?
    bool Fits(const SFPiece& piece) const;
    bool CanDrop(const SFPiece& piece) const;

    // Flood fill over same-coloured edge neighbours, appending to `group` in visiting order.
    void FindGroup(int x, int y, std::vector<SFCellRef>& group) const;
    // Size of the group containing (x, y), 0 for an empty cell.
    int GroupSize(int x, int y) const;

    // Gives every lone half a partner of its own colour; true when anything was added.
    bool CompleteDiamonds();
    // One settling pass from row 15 down; returns the number of triangles moved.
    int SettleStep();

private:
    bool HoldsOrientation(int x, int y, uint8_t orientation) const;
    void FindGroupFrom(int x, int y, std::vector<SFCellRef>& group,
                       std::array<bool, Stride * Rows>& seen) const;

    std::array<SFCell, Stride* Rows> m_cells = {};
};
