// The game's pictures: triangles, field backgrounds, banners, effects, the info strip,
// menu screens, button plates, cursors, dialog parts and the window icon.
#pragma once

#include "tools/assetgen/Glyphs.h"
#include "tools/assetgen/Writers.h"

// The faces every picture with text shares, opened once.
struct Faces {
    Face title;  // DejaVu Sans Bold, large
    Face big;    // banner numbers
    Face menu;   // button labels
    Face label;  // info-strip labels
    Face small;  // table headings
    Face body;   // DejaVu Sans, running text
    int Open(const std::string& fontDir);
};

// Number of level looks of the triangles and backgrounds, and of numbered banners.
constexpr int LevelLooks = 8;
// The play scene shows banner (level - 1) modulo the count: enough that no level a player
// reaches repeats an earlier number.
constexpr int BannerCount = 99;

// The calm area of the instructions background that the help list box covers (the list
// box definition places its rows inside it), and the name-entry well of the score dialog.
namespace HelpArea {
constexpr int x = 76, y = 96, w = 488, h = 318;
}
constexpr int InputWellWidth = 300;
constexpr int InputWellHeight = 28;

// Colour of a triangle colour index 0..6 (blue, green, orange, purple, red, yellow, gray).
Rgba PieceColour(int colour);
// One up-pointing 32 x 28 triangle in the given look; outside pixels are transparent.
Canvas TrianglePicture(int colour, int look);

void AddTriangles(OutputTree& out);
void AddFieldPictures(OutputTree& out, const Faces& faces);
void AddInfoStrip(OutputTree& out, const Faces& faces);
void AddMenuPictures(OutputTree& out, const Faces& faces);
void AddButtons(OutputTree& out, const Faces& faces);
void AddSmallPictures(OutputTree& out);
