// Fuzz target: the "IMST" image-list reader and conversion of every entry. The first byte
// is the load flags; the rest is the file.
#include <cstdint>
#include <memory>

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
    uint32_t count = 0;
    std::unique_ptr<PXBitmapDesc[]> images;
    if (ReadImageList(&file, &count, &images, flags) == 1) {
        for (uint32_t i = 0; i < count; ++i) {
            ConvertAndDraw(images[i], flags);
        }
    }
    return 0;
}
