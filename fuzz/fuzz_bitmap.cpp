// Fuzz target: the Windows bitmap reader and conversion. The first byte is the load
// flags; the rest is the file.
#include <cstdint>

#include "engine/files/PXBuffer.h"
#include "engine/graphics/PXBitmap.h"
#include "fuzz/FuzzImageCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    uint32_t flags = 0;
    PXBuffer file;
    if (!SplitImageInput(data, size, flags, file)) {
        return 0;
    }
    PXBitmapDesc bitmap;
    if (ReadBitmapFile(bitmap, &file, flags) == 1) {
        ConvertAndDraw(bitmap, flags);
    }
    return 0;
}
