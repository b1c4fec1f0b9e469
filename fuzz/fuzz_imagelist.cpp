// Fuzz target: the "IMST" image-list reader and conversion of every entry. The first byte
// is the load flags; the rest is the file.
#include <cstdint>
#include <cstring>
#include <memory>

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
    uint32_t count = 0;
    std::unique_ptr<PXBitmapDesc[]> images;
    if (ReadImageList(&file, &count, &images, flags) == 1) {
        for (uint32_t i = 0; i < count; ++i) {
            ConvertAndDraw(images[i], flags);
        }
    }
    return 0;
}
