// Pictures around the field: the info strip, menu screens and title, button plates,
// cursors, the high-score arrow, the hourglass, dialog parts and the window icon.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "tools/assetgen/Pictures.h"

namespace {

constexpr float Pi = 3.14159265f;

struct Point {
    float x, y;
};

bool InPolygon(const std::vector<Point>& poly, float x, float y)
{
    bool in = false;
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
        if ((poly[i].y > y) != (poly[j].y > y) &&
            x < (poly[j].x - poly[i].x) * (y - poly[i].y) / (poly[j].y - poly[i].y) + poly[i].x)
            in = !in;
    }
    return in;
}

// Anti-aliased polygon by 4 x 4 supersampling.
void FillPolygon(Canvas& c, const std::vector<Point>& poly, const Rgba& colour)
{
    float minX = 1e9f, minY = 1e9f, maxX = -1e9f, maxY = -1e9f;
    for (const Point& p : poly) {
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
    }
    for (int y = static_cast<int>(std::floor(minY)); y <= static_cast<int>(maxY); ++y) {
        for (int x = static_cast<int>(std::floor(minX)); x <= static_cast<int>(maxX); ++x) {
            int hits = 0;
            for (int sy = 0; sy < 4; ++sy)
                for (int sx = 0; sx < 4; ++sx)
                    hits += InPolygon(poly, x + (sx + 0.5f) / 4, y + (sy + 0.5f) / 4) ? 1 : 0;
            if (hits)
                c.Blend(x, y, colour, hits / 16.0f);
        }
    }
}

// Outline of a polygon: the polygon grown by `width` painted in the outline colour first.
void OutlinedPolygon(Canvas& c, const std::vector<Point>& poly, const Rgba& fill, const Rgba& outline,
                     float width)
{
    for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
        c.Line(poly[j].x, poly[j].y, poly[i].x, poly[i].y, width * 2, outline);
    FillPolygon(c, poly, outline);
    FillPolygon(c, poly, fill);
}

// A calm dark screen background with a faint tessellation of triangles.
Canvas ScreenBackground(const Rgba& top, const Rgba& bottom, uint32_t seed)
{
    const int w = 640, h = 480;
    Canvas c(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float t = (y + 0.5f) / h;
            Rgba p = Mix(top, bottom, t);
            float n = TileFbm(x / 80.0f, y / 80.0f, 8, 4, seed) - 0.5f;
            p = Scale(p, 1.0f + 0.35f * n);
            float dx = (x - 320.0f) / 320.0f, dy = (y - 240.0f) / 240.0f;
            p = Scale(p, 1.0f - 0.35f * Clamp01((dx * dx + dy * dy) * 0.5f));
            p.a = 1;
            c.At(x, y) = p;
        }
    }
    // The triangle lattice, barely visible.
    Rgba line = MakeRgb(0.6f, 0.7f, 1.0f, 0.05f);
    const float tw = 64, th = 56;
    for (int row = 0; row <= 9; ++row)
        c.Line(0, row * th, static_cast<float>(w), row * th, 1.0f, line);
    for (int k = -10; k <= 20; ++k) {
        c.Line(k * tw, 0, k * tw + th * 9 * (tw * 0.5f / th), th * 9, 1.0f, line);
        c.Line(k * tw, 0, k * tw - th * 9 * (tw * 0.5f / th), th * 9, 1.0f, line);
    }
    // A few faint gems resting in the lattice.
    for (int i = 0; i < 14; ++i) {
        int col = static_cast<int>(HashUnit(static_cast<uint32_t>(i), seed) * 20);
        int row = static_cast<int>(HashUnit(static_cast<uint32_t>(i), seed + 1) * 8);
        Canvas gem =
            TrianglePicture(static_cast<int>(Hash(static_cast<uint32_t>(i), seed) % 6), i % LevelLooks);
        bool up = (col + row) % 2 == 0;
        c.Draw(up ? gem : gem.Flipped(), col * 32, row * 56 + 14,
               0.10f + 0.08f * HashUnit(static_cast<uint32_t>(i), 5));
    }
    return c;
}

void Panel(Canvas& c, float x, float y, float w, float h)
{
    c.RoundRect(x + 3, y + 4, w, h, 12, MakeRgb(0, 0, 0, 0.35f));
    c.RoundRect(x, y, w, h, 12, MakeRgb(0.04f, 0.05f, 0.10f, 0.78f));
    c.RoundRect(x, y, w, h, 12, MakeRgb(0.55f, 0.65f, 0.95f, 0.30f), 1.5f);
}

// A recessed well: dark inside, shadow at the top, light at the bottom edge.
void Well(Canvas& c, float x, float y, float w, float h, float radius)
{
    c.RoundRect(x, y, w, h, radius, MakeRgb(0.02f, 0.025f, 0.05f, 0.92f));
    c.RoundRect(x, y + 1, w, h - 1, radius, MakeRgb(0.5f, 0.6f, 0.9f, 0.22f), 1.0f);
    c.RoundRect(x, y, w, h - 1, radius, MakeRgb(0, 0, 0, 0.6f), 1.0f);
}

TextStyle LabelStyle()
{
    TextStyle s;
    s.top = MakeRgb(0.80f, 0.86f, 1.0f);
    s.bottom = MakeRgb(0.55f, 0.62f, 0.85f);
    return s;
}

TextStyle GoldStyle(float radius)
{
    TextStyle s;
    s.top = MakeRgb(1.0f, 0.95f, 0.7f);
    s.bottom = MakeRgb(0.95f, 0.62f, 0.18f);
    s.outline = MakeRgb(0.12f, 0.06f, 0.02f);
    s.outlineRadius = radius;
    s.shadow = 2;
    return s;
}

// A picture drawn through an 8-bit mask: the mask carries the coverage, and every
// covered pixel keeps its colour (non-zero) so soft edges are not keyed away.
void AddWithMask(OutputTree& out, const std::string& stem, const Canvas& c)
{
    Canvas solid = c;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            solid.At(x, y).a = c.At(x, y).a > 0.0f ? 1.0f : 0.0f;
    out.Add(stem + ".bmp", EncodeBitmap24(solid, PixelMode::Keyed));
    out.Add(stem + "_Mask.bmp", EncodeAlphaMask(c));
}

}  // namespace

int Faces::Open(const std::string& fontDir)
{
    const std::string bold = fontDir + "/DejaVuSans-Bold.ttf";
    return title.Open(bold, 56) && big.Open(bold, 52) && menu.Open(bold, 18) && label.Open(bold, 12) &&
           small.Open(bold, 11) && body.Open(fontDir + "/DejaVuSans.ttf", 16);
}

void AddInfoStrip(OutputTree& out, const Faces& faces)
{
    const int w = 128, h = 480;
    Canvas c(w, h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float n = TileFbm(x / 24.0f, y / 24.0f, 8, 3, 901) - 0.5f;
            Rgba p = Mix(MakeRgb(0.10f, 0.115f, 0.18f), MakeRgb(0.065f, 0.075f, 0.12f), (y + 0.5f) / h);
            p = Scale(p, 1.0f + 0.25f * n);
            p.a = 1;
            c.At(x, y) = p;
        }
    }
    // Edges against the field and the banner.
    c.FillRect(0, 0, 1, h, MakeRgb(0, 0, 0, 0.7f));
    c.FillRect(1, 0, 1, h, MakeRgb(0.6f, 0.7f, 1.0f, 0.18f));
    c.FillRect(w - 2, 0, 1, h, MakeRgb(0.6f, 0.7f, 1.0f, 0.10f));
    c.FillRect(w - 1, 0, 1, h, MakeRgb(0, 0, 0, 0.7f));
    const TextStyle label = LabelStyle();
    // Next piece: drawn by the game at x 48..80, y 24..80 of the strip.
    Well(c, 36, 16, 56, 72, 8);
    DrawCentred(c, faces.label, "NEXT", label, 64, 104);
    DrawCentred(c, faces.label, "SCORE", label, 64, 126);
    Well(c, 10, 131, 108, 28, 6);
    DrawCentred(c, faces.label, "LEVEL", label, 64, 182);
    Well(c, 30, 187, 68, 28, 6);
    // Level progress: diamonds drawn by the game at x 16..112, y 259..371.
    DrawCentred(c, faces.label, "PROGRESS", label, 64, 246);
    Well(c, 10, 252, 108, 126, 8);
    // Pause, Sound and Fullscreen buttons (36 x 36 at x 6, 46, 86, y 404).
    for (int i = 0; i < 3; ++i)
        Well(c, 4.0f + 40.0f * i, 402, 40, 40, 7);
    TextStyle faint = label;
    faint.top = MakeRgb(0.45f, 0.5f, 0.7f);
    faint.bottom = MakeRgb(0.35f, 0.4f, 0.6f);
    DrawCentred(c, faces.label, "SHARDFALL", faint, 64, 466);
    out.Add("Shardfall/Images/InfoStrip.bmp", EncodeBitmap24(c, PixelMode::Opaque));
}

void AddMenuPictures(OutputTree& out, const Faces& faces)
{
    // Main menu: the title sits in the top third, buttons go down the middle.
    Canvas menu = ScreenBackground(MakeRgb(0.06f, 0.07f, 0.16f), MakeRgb(0.02f, 0.03f, 0.07f), 11);
    out.Add("Shardfall/Images/MainMenuBG.bmp", EncodeBitmap24(menu, PixelMode::Opaque));

    // The title: the name in gold between two gems, drawn through its mask.
    {
        Canvas text = StyledText(faces.title, "SHARDFALL", GoldStyle(2.5f));
        const int gap = 12;
        Canvas gemL = TrianglePicture(0, 5), gemR = TrianglePicture(4, 5);
        const int w = text.Width() + 2 * (32 + gap) + 8, h = std::max(text.Height(), 60) + 4;
        Canvas title(w, h);
        int gy = (h - 56) / 2;
        // A diamond on each side: an up-pointing gem above a down-pointing one.
        title.Draw(gemL, 4, gy);
        title.Draw(gemR.Flipped(), 4, gy + 28);
        title.Draw(TrianglePicture(5, 5), w - 36, gy);
        title.Draw(TrianglePicture(1, 5).Flipped(), w - 36, gy + 28);
        title.Draw(text, 4 + 32 + gap, (h - text.Height()) / 2);
        AddWithMask(out, "Shardfall/Images/Title", title);
    }

    // Instructions: the heading and the start hint are painted; the help itself is text in a
    // list box, so its area is a calm, slightly darker well (the list box draws its frame).
    {
        Canvas c = ScreenBackground(MakeRgb(0.05f, 0.08f, 0.14f), MakeRgb(0.02f, 0.03f, 0.06f), 12);
        Panel(c, 40, 20, 560, 440);
        DrawCentred(c, faces.big, "How to Play", GoldStyle(2.0f), 320, 72);
        c.RoundRect(HelpArea::x, HelpArea::y, HelpArea::w, HelpArea::h, 6,
                    MakeRgb(0.015f, 0.02f, 0.045f, 0.55f));
        DrawCentred(c, faces.menu, "Click or press any key to start", GoldStyle(1.5f), 320, 440);
        out.Add("Shardfall/Images/InstrBG.bmp", EncodeBitmap24(c, PixelMode::Opaque));
    }

    // Options: heading, the row labels left of the controls, and the column heads of the
    // bindings. The controls stand at x 290 (sliders 200 wide, plates 150) and x 452 (pad
    // plates); rows are 26 high, their tops listed here as the definition places them.
    {
        Canvas c = ScreenBackground(MakeRgb(0.05f, 0.07f, 0.15f), MakeRgb(0.02f, 0.03f, 0.06f), 14);
        Panel(c, 24, 8, 592, 464);
        DrawCentred(c, faces.big, "Options", GoldStyle(2.0f), 320, 60);
        TextStyle label = LabelStyle();
        label.outline = MakeRgb(0.02f, 0.03f, 0.08f);
        label.outlineRadius = 1.0f;
        const float baseline = (26 + faces.menu.Ascent() - faces.menu.Descent()) * 0.5f;
        auto row = [&](const char* text, float top) {
            DrawCentred(c, faces.menu, text, label, 60 + faces.menu.Width(text) * 0.5f, top + baseline);
        };
        const char* general[] = {"Music", "Effects", "Key repeat", "Full screen", "Swap mouse buttons"};
        for (int i = 0; i < 5; ++i)
            row(general[i], 80.0f + 30.0f * i);
        c.Line(50, 238, 590, 238, 1.0f, MakeRgb(0.6f, 0.7f, 1.0f, 0.25f));
        const TextStyle head = LabelStyle();
        DrawCentred(c, faces.label, "CONTROLS", head, 60 + faces.label.Width("CONTROLS") * 0.5f, 254);
        DrawCentred(c, faces.label, "KEYBOARD", head, 365, 254);
        DrawCentred(c, faces.label, "PAD", head, 527, 254);
        const char* actions[] = {"Left", "Right", "Turn", "Drop", "Pause"};
        for (int i = 0; i < 5; ++i)
            row(actions[i], 262.0f + 30.0f * i);
        out.Add("Shardfall/Images/OptionsBG.bmp", EncodeBitmap24(c, PixelMode::Opaque));
    }

    // High scores: heading, column titles and ten row bands at y = 227 + 15 (row - 1).
    {
        Canvas c = ScreenBackground(MakeRgb(0.07f, 0.06f, 0.15f), MakeRgb(0.02f, 0.02f, 0.06f), 13);
        Panel(c, 24, 24, 592, 432);
        DrawCentred(c, faces.big, "High Scores", GoldStyle(2.0f), 320, 86);
        for (int row = 0; row < 10; ++row) {
            float y = 227.0f + 15.0f * row;
            Rgba band = row % 2 == 0 ? MakeRgb(0.5f, 0.6f, 1.0f, 0.07f) : MakeRgb(0.5f, 0.6f, 1.0f, 0.025f);
            c.RoundRect(30, y, 580, 15, 3, band);
        }
        const TextStyle head = LabelStyle();
        DrawCentred(c, faces.label, "NAME", head, 60 + faces.label.Width("NAME") * 0.5f, 219);
        DrawCentred(c, faces.label, "LEVEL", head, 380, 219);
        DrawCentred(c, faces.label, "SCORE", head, 440 + faces.label.Width("SCORE") * 0.5f, 219);
        c.Line(30, 222, 610, 222, 1.0f, MakeRgb(0.6f, 0.7f, 1.0f, 0.3f));
        out.Add("Shardfall/Images/HighScoreBG.bmp", EncodeBitmap24(c, PixelMode::Opaque));
    }
}

namespace {

enum class State { Normal, Hover, Down, Disabled };

// The plate of a button in one state; `label` painted centred, or an icon drawn by `icon`.
template <typename Icon>
Canvas Plate(int w, int h, State state, const Face* face, const std::string& label, Icon icon)
{
    Canvas c(w, h);
    const float r = std::min(9.0f, h * 0.3f);
    Rgba top, bottom, rim;
    switch (state) {
    case State::Normal:
        top = MakeRgb(0.22f, 0.29f, 0.50f), bottom = MakeRgb(0.09f, 0.12f, 0.26f),
        rim = MakeRgb(0.55f, 0.65f, 0.95f);
        break;
    case State::Hover:
        top = MakeRgb(0.30f, 0.42f, 0.70f), bottom = MakeRgb(0.13f, 0.20f, 0.40f),
        rim = MakeRgb(0.55f, 0.95f, 1.0f);
        break;
    case State::Down:
        top = MakeRgb(0.07f, 0.10f, 0.22f), bottom = MakeRgb(0.18f, 0.25f, 0.46f),
        rim = MakeRgb(0.45f, 0.85f, 1.0f);
        break;
    case State::Disabled:
        top = MakeRgb(0.20f, 0.21f, 0.24f), bottom = MakeRgb(0.12f, 0.12f, 0.14f),
        rim = MakeRgb(0.35f, 0.36f, 0.40f);
        break;
    }
    // Body with a vertical gradient and a soft sheen on the upper half.
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            float d =
                RoundBoxDistance(x + 0.5f, y + 0.5f, 0, 0, static_cast<float>(w), static_cast<float>(h), r);
            float cov = Clamp01(0.5f - d);
            if (cov <= 0)
                continue;
            float t = (y + 0.5f) / h;
            Rgba p = Mix(top, bottom, t);
            if (state != State::Down && t < 0.45f)
                p = Add(p, Scale(MakeRgb(1, 1, 1), 0.06f * (1 - t / 0.45f)));
            p.a = cov;
            c.At(x, y) = p;
        }
    }
    // Rim: a bright line, wider and glowing when hovered.
    Rgba rimLine = rim;
    rimLine.a = state == State::Hover ? 0.95f : 0.55f;
    c.RoundRect(0, 0, static_cast<float>(w), static_cast<float>(h), r, rimLine,
                state == State::Hover ? 2.0f : 1.2f);
    if (state == State::Hover)
        c.RoundRect(2, 2, w - 4.0f, h - 4.0f, r - 2, MakeRgb(0.6f, 0.95f, 1.0f, 0.25f), 1.5f);
    const int shift = state == State::Down ? 1 : 0;
    if (face) {
        TextStyle s;
        s.outline = MakeRgb(0.02f, 0.03f, 0.08f);
        switch (state) {
        case State::Hover:
            s.top = MakeRgb(1.0f, 0.98f, 0.85f), s.bottom = MakeRgb(1.0f, 0.85f, 0.45f);
            break;
        case State::Disabled:
            s.top = s.bottom = MakeRgb(0.5f, 0.5f, 0.53f);
            break;
        default:
            s.top = MakeRgb(1, 1, 1), s.bottom = MakeRgb(0.78f, 0.85f, 1.0f);
        }
        float baseline = (h + face->Ascent() - face->Descent()) * 0.5f;
        DrawCentred(c, *face, label, s, w * 0.5f + shift, baseline + shift);
    } else {
        Rgba ink = state == State::Disabled ? MakeRgb(0.5f, 0.5f, 0.53f)
                   : state == State::Hover  ? MakeRgb(1.0f, 0.92f, 0.6f)
                                            : MakeRgb(0.92f, 0.95f, 1.0f);
        icon(c, static_cast<float>(shift), ink);
    }
    return c;
}

void NoIcon(Canvas&, float, const Rgba&) {}

template <typename Icon>
void AddButton(OutputTree& out, const std::string& name, int w, int h, const Face* face,
               const std::string& label, Icon icon)
{
    static const char* suffix[4] = {"", "_Hover", "_Down", "_Disabled"};
    const std::string stem = "Shardfall/Images/Buttons/" + name;
    for (int s = 0; s < 4; ++s) {
        // One mask serves all four states: they share the plate's outline.
        Canvas c = Plate(w, h, static_cast<State>(s), face, label, icon);
        if (s == 0)
            out.Add(stem + "_Mask.bmp", EncodeAlphaMask(c));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                c.At(x, y).a = c.At(x, y).a > 0.0f ? 1.0f : 0.0f;
        out.Add(stem + suffix[s] + ".bmp", EncodeBitmap24(c, PixelMode::Keyed));
    }
}

}  // namespace

void AddButtons(OutputTree& out, const Faces& faces)
{
    struct Menu {
        const char* name;
        const char* label;
    };
    static const Menu menus[] = {{"Easy", "Easy"},        {"Medium", "Medium"},
                                 {"Hard", "Hard"},        {"HighScores", "High Scores"},
                                 {"Options", "Options"},  {"WebPage", "Web Page"},
                                 {"Quit", "Quit"}};
    for (const Menu& m : menus)
        AddButton(out, m.name, 200, 40, &faces.menu, m.label, NoIcon);
    static const Menu dialogs[] = {
        {"Done", "Done"}, {"OK", "OK"}, {"Yes", "Yes"}, {"No", "No"}, {"Cancel", "Cancel"}};
    for (const Menu& m : dialogs)
        AddButton(out, m.name, 100, 30, &faces.menu, m.label, NoIcon);
    AddButton(out, "Defaults", 180, 30, &faces.menu, "Restore Defaults", NoIcon);
    // The options screen's choice plates: blank, the screen writes the choice over them.
    AddButton(out, "Choice", 150, 26, nullptr, "", NoIcon);
    // Slider knobs: a small upright gem of a plate; the focused one glows like a hovered
    // button.
    for (int focused = 0; focused < 2; ++focused) {
        const int w = 14, h = 24;
        Canvas knob(w, h);
        const Rgba top = focused ? MakeRgb(1.0f, 0.95f, 0.75f) : MakeRgb(0.85f, 0.90f, 1.0f);
        const Rgba bottom = focused ? MakeRgb(0.95f, 0.65f, 0.2f) : MakeRgb(0.45f, 0.55f, 0.85f);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                float d = RoundBoxDistance(x + 0.5f, y + 0.5f, 0, 0, static_cast<float>(w), static_cast<float>(h), 4);
                float cov = Clamp01(0.5f - d);
                if (cov <= 0)
                    continue;
                Rgba p = Mix(top, bottom, (y + 0.5f) / h);
                p.a = cov;
                knob.At(x, y) = p;
            }
        knob.RoundRect(0, 0, w, h, 4, focused ? MakeRgb(0.55f, 0.95f, 1.0f, 0.95f) : MakeRgb(0.1f, 0.12f, 0.25f, 0.9f),
                       focused ? 2.0f : 1.2f);
        knob.Line(w * 0.5f, 6, w * 0.5f, h - 6.0f, 1.5f, MakeRgb(0.1f, 0.1f, 0.2f, 0.45f));
        AddWithMask(out, focused ? "Shardfall/Images/Slider/Knob_Focus" : "Shardfall/Images/Slider/Knob", knob);
    }

    AddButton(out, "Pause", 36, 36, nullptr, "", [](Canvas& c, float s, const Rgba& ink) {
        c.RoundRect(11 + s, 10 + s, 5, 16, 1.5f, ink);
        c.RoundRect(20 + s, 10 + s, 5, 16, 1.5f, ink);
    });
    auto speaker = [](Canvas& c, float s, const Rgba& ink) {
        FillPolygon(c,
                    {{8 + s, 14 + s},
                     {13 + s, 14 + s},
                     {19 + s, 9 + s},
                     {19 + s, 27 + s},
                     {13 + s, 22 + s},
                     {8 + s, 22 + s}},
                    ink);
    };
    AddButton(out, "Sound", 36, 36, nullptr, "", [speaker](Canvas& c, float s, const Rgba& ink) {
        speaker(c, s, ink);
        for (int i = 0; i < 2; ++i) {
            float rad = 4.0f + 4.0f * i;
            for (float a = -0.8f; a < 0.8f; a += 0.1f)
                c.Line(21 + s + rad * std::cos(a), 18 + s + rad * std::sin(a),
                       21 + s + rad * std::cos(a + 0.1f), 18 + s + rad * std::sin(a + 0.1f), 1.6f, ink);
        }
    });
    AddButton(out, "SoundOff", 36, 36, nullptr, "", [speaker](Canvas& c, float s, const Rgba& ink) {
        speaker(c, s, ink);
        c.Line(22 + s, 14 + s, 29 + s, 22 + s, 2.0f, ink);
        c.Line(29 + s, 14 + s, 22 + s, 22 + s, 2.0f, ink);
    });
    AddButton(out, "Fullscreen", 36, 36, nullptr, "", [](Canvas& c, float s, const Rgba& ink) {
        const float lo = 9 + s, hi = 27 + s, arm = 6;
        c.RoundRect(12 + s, 13 + s, 12, 10, 1.5f, ink, 1.4f);
        for (float x : {lo, hi})
            for (float y : {lo, hi}) {
                float dx = x < 18 ? arm : -arm, dy = y < 18 ? arm : -arm;
                c.Line(x, y, x + dx, y, 2.0f, ink);
                c.Line(x, y, x, y + dy, 2.0f, ink);
            }
    });
    // List-box scroll arrows (16 x 16 plates with a small triangle).
    auto arrow = [](bool up) {
        return [up](Canvas& c, float s, const Rgba& ink) {
            const float top = 5.5f + s, bottom = 10.5f + s;
            if (up)
                FillPolygon(c, {{8 + s, top}, {12.5f + s, bottom}, {3.5f + s, bottom}}, ink);
            else
                FillPolygon(c, {{3.5f + s, top}, {12.5f + s, top}, {8 + s, bottom}}, ink);
        };
    };
    AddButton(out, "ListUp", 16, 16, nullptr, "", arrow(true));
    AddButton(out, "ListDown", 16, 16, nullptr, "", arrow(false));
}

void AddSmallPictures(OutputTree& out)
{
    const Rgba dark = MakeRgb(0.02f, 0.02f, 0.05f);
    // Mouse cursor: an arrow whose tip is the top-left pixel (the hot spot).
    {
        Canvas c(16, 24);
        std::vector<Point> arrow = {{1, 1},         {1, 17.5f},    {5, 13.8f}, {8.2f, 20.8f},
                                    {10.8f, 19.6f}, {7.8f, 12.8f}, {13, 12.8f}};
        OutlinedPolygon(c, arrow, MakeRgb(0.96f, 0.97f, 1.0f), dark, 1.0f);
        // A cool tint at the bottom of the arrow, matching the menus.
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 16; ++x)
                if (c.At(x, y).a > 0 && c.At(x, y).r > 0.5f)
                    c.At(x, y) = Mix(c.At(x, y), MakeRgb(0.7f, 0.85f, 1.0f, c.At(x, y).a), y / 40.0f);
        AddWithMask(out, "Shardfall/Images/Cursor", c);
    }
    // The high-score arrow pointing right at the new entry.
    {
        Canvas c(22, 15);
        OutlinedPolygon(
            c, {{1.5f, 4.5f}, {11, 4.5f}, {11, 1}, {20.5f, 7.5f}, {11, 14}, {11, 10.5f}, {1.5f, 10.5f}},
            MakeRgb(1.0f, 0.8f, 0.3f), MakeRgb(0.2f, 0.08f, 0.0f), 1.0f);
        for (int y = 0; y < 15; ++y)
            for (int x = 0; x < 22; ++x)
                if (c.At(x, y).a > 0 && y < 7)
                    c.At(x, y) = Mix(c.At(x, y), MakeRgb(1, 1, 0.85f, c.At(x, y).a), 0.35f * (7 - y) / 7.0f);
        AddWithMask(out, "Shardfall/Images/HighScoreArrow", c);
    }
    // Hourglass: eight frames of sand running down, and the first as a still picture.
    {
        std::vector<ListFrame> frames;
        for (int f = 0; f < 8; ++f) {
            Canvas c(18, 26);
            const Rgba glass = MakeRgb(0.55f, 0.65f, 0.85f);
            const Rgba sand = MakeRgb(1.0f, 0.8f, 0.35f);
            c.RoundRect(1, 0, 16, 3, 1, MakeRgb(0.75f, 0.55f, 0.3f));
            c.RoundRect(1, 23, 16, 3, 1, MakeRgb(0.75f, 0.55f, 0.3f));
            std::vector<Point> top = {{3, 3}, {15, 3}, {9.6f, 13}, {8.4f, 13}};
            std::vector<Point> bottom = {{8.4f, 13}, {9.6f, 13}, {15, 23}, {3, 23}};
            OutlinedPolygon(c, top, MakeRgb(0.1f, 0.12f, 0.2f), glass, 0.7f);
            OutlinedPolygon(c, bottom, MakeRgb(0.1f, 0.12f, 0.2f), glass, 0.7f);
            float k = f / 7.0f;
            float topLevel = 4.5f + 7.5f * k;  // sand surface in the upper bulb falls
            float topHalf = 5.5f * (13 - topLevel) / 9.0f;
            if (topLevel < 12.5f)
                FillPolygon(c,
                            {{9 - topHalf, topLevel}, {9 + topHalf, topLevel}, {9.4f, 12.8f}, {8.6f, 12.8f}},
                            sand);
            float pile = 1.0f + 8.0f * k;
            FillPolygon(c, {{4 + (1 - k) * 3, 22.6f}, {9, 22.6f - pile}, {14 - (1 - k) * 3, 22.6f}}, sand);
            if (f < 7)
                c.Line(9, 13, 9, 22.5f - pile, 0.8f, sand);
            frames.push_back(ListFrame{"Hourglass" + std::to_string(f + 1), std::move(c), PixelMode::Keyed});
        }
        out.Add("Shardfall/Images/Hourglass.bmp", EncodeBitmap24(frames[0].picture, PixelMode::Keyed));
        out.Add("Shardfall/Images/Hourglass.img", EncodeImageList(frames));
    }
    // Dialog parts: a panel for message boxes and the name entry, and the text well.
    {
        Canvas c(320, 160);
        c.RoundRect(0, 0, 320, 160, 12, MakeRgb(0.05f, 0.06f, 0.13f));
        for (int y = 0; y < 160; ++y)
            for (int x = 0; x < 320; ++x)
                if (c.At(x, y).a > 0)
                    c.At(x, y) = Add(c.At(x, y), Scale(MakeRgb(0.3f, 0.35f, 0.6f), 0.08f * (1 - y / 160.0f)));
        c.RoundRect(0, 0, 320, 160, 12, MakeRgb(0.55f, 0.65f, 0.95f, 0.6f), 1.5f);
        c.RoundRect(4, 4, 312, 24, 8, MakeRgb(0.25f, 0.32f, 0.6f, 0.5f));
        AddWithMask(out, "Shardfall/Images/DialogPanel", c);
        Canvas well(InputWellWidth, InputWellHeight);
        Well(well, 0, 0, InputWellWidth, InputWellHeight, 5);
        AddWithMask(out, "Shardfall/Images/InputWell", well);
    }
    // Window icon: a blue and a yellow triangle making one diamond, on transparency.
    {
        Canvas icon(32, 32);
        Canvas up = TrianglePicture(0, 5), down = TrianglePicture(5, 5).Flipped();
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 32; ++x) {
                // Squeeze the two 32 x 28 triangles into 16 rows each.
                icon.At(x, y) = up.At(x, std::min(27, y * 28 / 16));
                icon.At(x, y + 16) = down.At(x, std::min(27, y * 28 / 16));
            }
        // Narrow it so the diamond reads as a gem.
        Canvas narrow(32, 32);
        for (int y = 0; y < 32; ++y)
            for (int x = 4; x < 28; ++x)
                narrow.At(x, y) = icon.At(std::min(31, (x - 4) * 32 / 24), y);
        out.Add("Shardfall/Images/Icon.bmp", EncodeBitmap32(narrow));
    }
}
