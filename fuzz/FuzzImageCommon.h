// Shared step of the image fuzz targets: convert a decoded bitmap and draw it on a small
// headless screen in a few ways, so odd sizes reach the conversion and the blit clipping.
#pragma once

#include <cstdint>

#include "engine/graphics/PXBitmap.h"
#include "engine/graphics/PXMemoryScreen2D.h"

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
