// Image file readers (Windows bitmaps and "IMST" image lists), bitmap allocation,
// post-processing and conversion into the screen's 16-bit format.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/graphics/PXGraphicsTypes.h"

class PXFile;

// Load flags: post-processing bits, and the dithering bit passed on to CreateImage.
enum PXBitmapFlags : uint32_t {
    PXBitmapMirror = 2,
    PXBitmapFlip = 4,
    PXBitmapHalfBright = 8,
    PXBitmapDither = 16,
};

// Widest plus tallest bitmap file accepted.
constexpr uint32_t PXMaxBitmapExtent = 5000;
// Pixels one image list may allocate over all its entries.
constexpr uint64_t PXMaxImageListPixels = 64ull * 1024 * 1024;

// Frees data, rows and palette and zeroes the fields; the name stays.
void ReleaseBitmap(PXBitmapDesc& bitmap);
// Releases, then allocates zero-filled rows of width x bytes-per-pixel bytes. Returns 0
// when the size cannot be allocated.
uint32_t AllocateBitmap(PXBitmapDesc& bitmap, uint32_t width, uint32_t height, uint32_t depth);
// Applies flags 4 (flip), 2 (mirror) and 8 (half-bright palette), in that order.
void PostProcessBitmap(PXBitmapDesc& bitmap, uint32_t flags);

// 1 read, 0 refused (no file, bad signature, size, depth, compression or truncation).
uint32_t ReadBitmapFile(PXBitmapDesc& bitmap, PXFile* file, uint32_t flags);
// 1 read, 2 not an image list, 0 no file or a malformed list (nothing is handed out then).
uint32_t ReadImageList(PXFile* file, uint32_t* outCount, std::unique_ptr<PXBitmapDesc[]>* outImages,
                       uint32_t flags);

// Converts into a 16-bit image of the format; flag 16 dithers 8-bit bitmaps.
uint32_t ConvertBitmap(PXImage& image, const PXBitmapDesc& bitmap, const PXPixelFormat& format, uint32_t flags);
