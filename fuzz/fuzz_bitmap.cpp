// Fuzz target: the Windows bitmap reader and conversion. The first byte is the load
// flags; the rest is the file.
#include <cstdint>
#include <cstring>

#include "engine/files/PXBuffer.h"
#include "engine/graphics/PXBitmap.h"
#include "fuzz/FuzzImageCommon.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 20)) {
        return 0;
    }
    const uint32_t flags = data[0];
    PXBuffer file;
    file.Allocate(static_cast<uint32_t>(size - 1), 0);
    if (size > 1) {
        std::memcpy(file.GetData(), data + 1, size - 1);
    }
    PXBitmapDesc bitmap;
    if (ReadBitmapFile(bitmap, &file, flags) == 1) {
        ConvertAndDraw(bitmap, flags);
    }
    return 0;
}
