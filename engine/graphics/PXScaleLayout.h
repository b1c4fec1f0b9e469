// How the frame is shown in a window of another size: the scaling modes, where the picture
// lies in the window, the mapping between window pixels and frame pixels, and the
// whole-factor enlargement of the frame. Every platform screen lays its picture out here,
// so the picture and the mouse agree on every platform.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/graphics/PXGraphicsTypes.h"

enum class PXScaleMode {
    // The largest whole factor that fits, nearest neighbour, then the rest of the way to
    // the 4:3 letterbox smoothly: every frame pixel is about as wide as every other.
    Sharp,
    // Whole factors only, with a black border around the picture.
    Pixel,
    // One smooth stretch of the frame to the 4:3 letterbox.
    Smooth,
};

// "sharp", "pixel" or "smooth" in any case, blanks around it ignored; false (and `out` untouched) for anything else.
bool PXParseScaleMode(const std::string& text, PXScaleMode* out);
const char* PXScaleModeName(PXScaleMode mode);

// The largest rectangle of the frame's shape centred in an area.
PXRect PXLetterbox(int32_t areaWidth, int32_t areaHeight, int32_t frameWidth, int32_t frameHeight);
// A position in an area as a frame position, the frame being shown in `view` (outside the
// view it lies outside the frame).
PXPoint PXViewToFrame(const PXRect& view, int32_t frameWidth, int32_t frameHeight, int32_t x, int32_t y);
// The area position at the centre of a frame pixel, so that PXViewToFrame gives it back.
PXPoint PXFrameToView(const PXRect& view, int32_t frameWidth, int32_t frameHeight, int32_t x, int32_t y);

// Where and how the frame is shown in an output area (a window's pixels).
struct PXScaleLayout {
    // The largest whole factor used, whatever the output: the enlarged picture stays
    // under 20 MB at 32 bits a pixel, and a bigger display gets the smooth step.
    static constexpr int32_t LargestFactor = 4;

    PXRect view;
    // The frame is first enlarged this many times with nearest neighbour, then stretched
    // smoothly to the view unless the view is exactly that size.
    int32_t factor = 1;
    int32_t frameWidth = 0;
    int32_t frameHeight = 0;

    // Lays out a frameWidth x frameHeight frame in an outputWidth x outputHeight area, the
    // enlargement limited to maxFactor (a texture size limit, say) and LargestFactor. Where no
    // whole factor fits, `Pixel` shrinks the picture to the letterbox like the others.
    static PXScaleLayout Compute(PXScaleMode mode, int32_t outputWidth, int32_t outputHeight, int32_t frameWidth,
                                 int32_t frameHeight, int32_t maxFactor);

    int32_t EnlargedWidth() const { return frameWidth * factor; }
    int32_t EnlargedHeight() const { return frameHeight * factor; }
    // True when the view is the enlarged frame pixel for pixel (no smooth stretch).
    bool IsExact() const
    {
        return view.right - view.left == EnlargedWidth() && view.bottom - view.top == EnlargedHeight();
    }
    PXPoint OutputToFrame(int32_t x, int32_t y) const
    {
        return PXViewToFrame(view, frameWidth, frameHeight, x, y);
    }
    PXPoint FrameToOutput(int32_t x, int32_t y) const
    {
        return PXFrameToView(view, frameWidth, frameHeight, x, y);
    }
    bool operator==(const PXScaleLayout& o) const
    {
        return view == o.view && factor == o.factor && frameWidth == o.frameWidth && frameHeight == o.frameHeight;
    }
    bool operator!=(const PXScaleLayout& o) const { return !(*this == o); }
};

// The 32-bit pixel (0x00RRGGBB) a 5-5-5 pixel is shown as; the top bit is ignored.
uint32_t PXToXRGB(uint16_t pixel);

// Converts `rect` of a 16-bit 5-5-5 picture (rows of `pitch` bytes) to 32-bit pixels,
// each written as a factor x factor square. `out` is where the rectangle's top-left square
// goes, in rows of `outPitch` bytes. The rectangle must lie inside the picture.
void PXEnlargeToXRGB(const uint8_t* pixels, size_t pitch, const PXRect& rect, int32_t factor, uint8_t* out,
                     size_t outPitch);
