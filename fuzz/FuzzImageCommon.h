// Shared steps of the image fuzz targets: the input as load flags and a file, and the
// conversion of a decoded bitmap drawn on a small headless screen in a few ways, so odd
// sizes reach the conversion and the blit clipping.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "engine/files/PXBuffer.h"
#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXMemoryScreen2D.h"

// The first byte of the input is the load flags, the rest the file. False for an empty
// input or one over 1 MiB, which the targets skip.
inline bool SplitImageInput(const uint8_t* data, size_t size, uint32_t& flags, PXBuffer& file)
{
    if (size < 1 || size > (1u << 20)) {
        return false;
    }
    flags = data[0];
    file.Allocate(static_cast<uint32_t>(size - 1), 0);
    if (size > 1) {
        std::memcpy(file.GetData(), data + 1, size - 1);
    }
    return true;
}

inline void ConvertAndDraw(const PXBitmapDesc& bitmap, uint32_t flags)
{
    static PXMemoryScreen2D* screen = [] {
        static PXMemoryScreen2D s;
        PXScreenDesc desc;
        desc.width = 40;
        desc.height = 30;
        desc.pixelFormat.bitsPerPixel = 16;
        s.Create(&desc, "fuzz");
        return &s;
    }();
    uint32_t id = 0;
    if (!screen->CreateImage(bitmap, &id, flags)) {
        return;
    }
    screen->SetImageOrigin(id, PXPoint{static_cast<int32_t>(flags % 7) - 3, static_cast<int32_t>(flags % 5) - 2});
    screen->Blit(id, 3, 4, flags % 3, flags % 2, PXToEdge, PXToEdge, (flags & 1) != 0);
    screen->BlitScaled(id, -2, 5, 17, 9, flags % 4, 0, PXToEdge, PXToEdge, true);
    screen->TileImageOffset(id, flags, flags >> 3, -5, -5, 50, 40, false);
    screen->HalveImage(id);
    screen->Blit(id, 0, 0, 0, 0, PXToEdge, PXToEdge, true);
    if (bitmap.bitsPerPixel == 8) {
        screen->BlitMasked(id, 1, 1, 0, 0, PXToEdge, PXToEdge, bitmap); // size no longer matches: refused
    }
    if (bitmap.bitsPerPixel == 16) {
        screen->BlitRaw(bitmap, -1, 2, 0, 0, PXToEdge, PXToEdge, true);
    }
    screen->FreeImage(id);
}
