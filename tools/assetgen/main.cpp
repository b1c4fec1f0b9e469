// assetgen: writes the game's pictures, font sheets and sounds under OUTDIR/Shardfall,
// the same bytes on every run; `assetgen --icons DIR` writes the desktop icons instead.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tools/assetgen/Glyphs.h"
#include "tools/assetgen/Icons.h"
#include "tools/assetgen/Pictures.h"
#include "tools/assetgen/Sounds.h"
#include "tools/assetgen/Writers.h"

namespace {

struct FontSpec {
    const char* name;
    const char* file;
    int size;
    TextStyle style;
    bool monospaced;  // nominal width = the common advance (for list boxes that count characters)
};

TextStyle Style(Rgba top, Rgba bottom, float outline, int shadow)
{
    TextStyle s;
    s.top = top;
    s.bottom = bottom;
    s.outlineRadius = outline;
    s.shadow = shadow;
    return s;
}

int AddFonts(OutputTree& out, const std::string& fontDir)
{
    const Rgba white = MakeRgb(1, 1, 1);
    const FontSpec fonts[] = {
        // Large title font: status lines over the field, screen headings, congratulations.
        {"TitleFont", "DejaVuSans-Bold.ttf", 30,
         Style(MakeRgb(1.0f, 0.96f, 0.75f), MakeRgb(0.98f, 0.66f, 0.2f), 2.0f, 2), false},
        // Menu font: info-strip values, dialog buttons and messages.
        {"MenuFont", "DejaVuSans-Bold.ttf", 18, Style(white, MakeRgb(0.78f, 0.86f, 1.0f), 1.5f, 1), false},
        // Body text: instructions, tooltips, the version text.
        {"BodyFont", "DejaVuSans.ttf", 13, Style(white, MakeRgb(0.86f, 0.9f, 1.0f), 1.0f, 1), false},
        // Small font for the 15-pixel rows of the high-score table.
        {"SmallFont", "DejaVuSans-Bold.ttf", 11, Style(white, MakeRgb(0.85f, 0.88f, 0.96f), 1.0f, 0), false},
        // The floating turn score: white so a tint can colour it.
        {"ScoreFont", "DejaVuSans-Bold.ttf", 20, Style(white, MakeRgb(1.0f, 0.93f, 0.7f), 2.0f, 1), false},
        // Help text in the instructions list box: monospaced, because the list box wraps
        // and sizes itself by characters; a shadow but no outline keeps it light on the panel.
        {"HelpFont", "DejaVuSansMono.ttf", 13,
         Style(MakeRgb(0.93f, 0.95f, 1.0f), MakeRgb(0.8f, 0.85f, 0.96f), 0.0f, 1), true},
    };
    for (const FontSpec& spec : fonts) {
        Face face;
        if (!face.Open(fontDir + "/" + spec.file, spec.size))
            return 0;
        FontSheet sheet = BuildFontSheet(face, spec.style, 16);
        const std::string stem = std::string("Shardfall/Fonts/") + spec.name;
        out.Add(stem + "_Mask.bmp", EncodeAlphaMask(sheet.sheet));
        Canvas solid = sheet.sheet;
        for (int y = 0; y < solid.Height(); ++y)
            for (int x = 0; x < solid.Width(); ++x)
                solid.At(x, y).a = solid.At(x, y).a > 0.0f ? 1.0f : 0.0f;
        out.Add(stem + ".bmp", EncodeBitmap24(solid, PixelMode::Keyed));
        const int offsetX = spec.monospaced ? sheet.advances.front() - sheet.cellWidth : 0;
        out.AddText(stem + ".ent",
                    FontDefinition(sheet, spec.name, stem + ".bmp", stem + "_Mask.bmp", offsetX));
    }
    return 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--icons") == 0)
        return WriteIcons(argv[2]) ? 0 : 1;
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: assetgen OUTDIR [FONTDIR] | assetgen --icons DIR\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    const std::string fontDir = argc == 3 ? argv[2] : "/usr/share/fonts/truetype/dejavu";
    Faces faces;
    if (!faces.Open(fontDir)) {
        std::fprintf(stderr, "assetgen: cannot open the DejaVu fonts in %s\n", fontDir.c_str());
        return 1;
    }
    OutputTree out;
    // Each step is timed; with SF_ASSETGEN_TIMES set the times are printed.
    const bool showTimes = std::getenv("SF_ASSETGEN_TIMES") != nullptr;
    auto step = [&](const char* name, auto&& run) {
        const auto t0 = std::chrono::steady_clock::now();
        int ok = run();
        if (showTimes)
            std::printf(
                "  %-10s %6.0f ms\n", name,
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
        return ok;
    };
    if (!step("fonts", [&] { return AddFonts(out, fontDir); }))
        return 1;
    step("triangles", [&] { return AddTriangles(out), 1; });
    step("field", [&] { return AddFieldPictures(out, faces), 1; });
    step("infostrip", [&] { return AddInfoStrip(out, faces), 1; });
    step("menus", [&] { return AddMenuPictures(out, faces), 1; });
    step("buttons", [&] { return AddButtons(out, faces), 1; });
    step("small", [&] { return AddSmallPictures(out), 1; });
    step("sounds", [&] { return AddSounds(out), 1; });
    if (!out.WriteAll(argv[1]))
        return 1;
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    std::printf("assetgen: %zu files in %.0f ms\n", out.Files().size(), ms);
    return 0;
}
