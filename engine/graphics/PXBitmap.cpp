// Windows bitmap and "IMST" image-list readers, bitmap allocation, post-processing and
// conversion to the screen format. Every size read from a file is checked against the
// bytes that remain before anything is allocated or read.
#include "engine/graphics/PXBitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "engine/files/PXFile.h"

namespace {

uint32_t BytesPerPixel(uint32_t depth)
{
    switch (depth) {
    case 8:
        return 1;
    case 15:
    case 16:
        return 2;
    case 24:
        return 3;
    case 32:
        return 4;
    default:
        return 0;
    }
}

// Largest single bitmap allocation accepted, in bytes.
constexpr uint64_t MaxBitmapBytes = 1ull << 30;

// Skipped fields are read rather than seeked over, so a stream that refuses to seek to its
// very end cannot leave the reader misaligned.

// Bytes left between the read position and the end of the file.
uint64_t Remaining(PXFile& file)
{
    const uint64_t size = file.GetSize();
    const uint64_t at = file.Tell();
    return at < size ? size - at : 0;
}

void FillOpaqueBlack(PXColor* palette)
{
    std::fill_n(palette, 256, MakeColor(0, 0, 0, 255));
}

std::unique_ptr<PXColor[]> NewPalette()
{
    std::unique_ptr<PXColor[]> palette(new (std::nothrow) PXColor[256]);
    if (palette) {
        FillOpaqueBlack(palette.get());
    }
    return palette;
}

PXColor ReadRgba(PXFile& file)
{
    PXColor c;
    c.red = file.ReadUInt8();
    c.green = file.ReadUInt8();
    c.blue = file.ReadUInt8();
    c.alpha = file.ReadUInt8();
    return c;
}

} // namespace

void ReleaseBitmap(PXBitmapDesc& bitmap)
{
    bitmap.data.reset();
    bitmap.rows.reset();
    bitmap.palette.reset();
    bitmap.bitsPerPixel = 0;
    bitmap.width = 0;
    bitmap.height = 0;
}

uint32_t AllocateBitmap(PXBitmapDesc& bitmap, uint32_t width, uint32_t height, uint32_t depth)
{
    ReleaseBitmap(bitmap);
    const uint64_t bytes = uint64_t{(depth + 1) >> 3} * width * height;
    if (bytes > MaxBitmapBytes) {
        return 0;
    }
    bitmap.data.reset(new (std::nothrow) uint8_t[static_cast<size_t>(bytes)]());
    if (!bitmap.data) {
        return 0;
    }
    bitmap.bitsPerPixel = depth;
    bitmap.width = width;
    bitmap.height = height;
    const uint32_t bpp = BytesPerPixel(depth);
    // A bitmap without pixels gets no row table: a hostile height alone must not
    // allocate one pointer per row.
    if (bpp != 0 && bytes != 0) {
        bitmap.rows.reset(new (std::nothrow) uint8_t*[height]);
        if (!bitmap.rows) {
            ReleaseBitmap(bitmap);
            return 0;
        }
        for (uint32_t r = 0; r < height; ++r) {
            bitmap.rows[r] = bitmap.data.get() + static_cast<size_t>(r) * width * bpp;
        }
    }
    return 1;
}

void PostProcessBitmap(PXBitmapDesc& bitmap, uint32_t flags)
{
    const uint32_t bpp = BytesPerPixel(bitmap.bitsPerPixel);
    const bool hasRows = bpp != 0 && bitmap.data && bitmap.rows;
    const size_t rowBytes = static_cast<size_t>(bitmap.width) * bpp;
    // Row contents are exchanged (not the row pointers) so the data stays one top-down run.
    if ((flags & PXBitmapFlip) && hasRows) {
        for (uint32_t r = 0; r < bitmap.height / 2; ++r) {
            std::swap_ranges(bitmap.rows[r], bitmap.rows[r] + rowBytes, bitmap.rows[bitmap.height - 1 - r]);
        }
    }
    if ((flags & PXBitmapMirror) && hasRows) {
        for (uint32_t r = 0; r < bitmap.height; ++r) {
            uint8_t* row = bitmap.rows[r];
            for (uint32_t x = 0; x < bitmap.width / 2; ++x) {
                std::swap_ranges(row + x * bpp, row + (x + 1) * bpp, row + (bitmap.width - 1 - x) * bpp);
            }
        }
    }
    if ((flags & PXBitmapHalfBright) && bitmap.bitsPerPixel == 8 && bitmap.palette) {
        for (int i = 0; i < 256; ++i) {
            PXColor& c = bitmap.palette[i];
            c.blue >>= 1;
            c.green >>= 1;
            c.red >>= 1;
            c.alpha >>= 1;
        }
    }
}

// ---- Windows bitmaps --------------------------------------------------------------

namespace {

struct BitmapHeader {
    uint32_t pixelOffset = 0;
    // 40, or 108 and 124 for the larger headers that current tools write; the palette
    // follows the header, wherever it ends.
    uint32_t headerSize = 0;
    int32_t width = 0;
    int64_t height = 0; // absolute value
    bool topDown = false;
    uint32_t depth = 0;
    uint32_t compression = 0;
    uint32_t coloursUsed = 0;
};

constexpr uint32_t FileHeaderBytes = 14;
constexpr uint32_t InfoHeaderBytes = 40;

bool ReadBitmapHeader(PXFile& file, BitmapHeader& h)
{
    if (file.GetSize() < FileHeaderBytes + InfoHeaderBytes) {
        return false;
    }
    file.Seek(0, 0);
    if (file.ReadUInt16() != 0x4D42) {
        return false;
    }
    file.Seek(0, 10);
    h.pixelOffset = file.ReadUInt32();
    h.headerSize = file.ReadUInt32();
    h.width = file.ReadInt32();
    const int32_t height = file.ReadInt32();
    h.topDown = height < 0;
    h.height = std::llabs(int64_t{height});
    file.ReadUInt16(); // planes
    h.depth = file.ReadUInt16();
    h.compression = file.ReadUInt32();
    file.ReadUInt32(); // image size and resolutions
    file.ReadUInt32();
    file.ReadUInt32();
    h.coloursUsed = file.ReadUInt32();
    return true;
}

uint64_t FileRowBytes(uint32_t depth, uint64_t width)
{
    switch (depth) {
    case 1:
        return (width + 7) >> 3;
    case 4:
        return (width + 1) >> 1;
    default:
        return width * (depth / 8);
    }
}

bool ReadBitmapPixels(PXFile& file, const BitmapHeader& h, PXBitmapDesc& bitmap)
{
    const uint64_t fileSize = file.GetSize();
    const uint64_t w = static_cast<uint64_t>(h.width);
    const uint64_t stride = (FileRowBytes(h.depth, w) + 3) & ~uint64_t{3};
    const uint64_t rowBytes = w * (h.depth / 8);
    if (h.height > 0 && uint64_t{h.pixelOffset} + stride * (h.height - 1) + rowBytes > fileSize) {
        return false;
    }
    if (h.depth == 8) {
        const uint32_t colours = h.coloursUsed == 0 ? 256 : h.coloursUsed;
        if (uint64_t{FileHeaderBytes} + h.headerSize + 4ull * colours > fileSize) {
            return false;
        }
        bitmap.palette = NewPalette();
        if (!bitmap.palette) {
            return false;
        }
        file.Seek(0, static_cast<int32_t>(FileHeaderBytes + h.headerSize));
        // File entries are blue, green, red, reserved: the reserved byte becomes alpha.
        file.ReadBytes(4 * colours, bitmap.palette.get());
    }
    for (int64_t i = 0; rowBytes != 0 && i < h.height; ++i) {
        file.Seek(0, static_cast<int32_t>(h.pixelOffset + i * stride));
        const int64_t row = h.topDown ? i : h.height - 1 - i;
        file.ReadBytes(static_cast<uint32_t>(rowBytes), bitmap.rows[row]);
    }
    return true;
}

} // namespace

uint32_t ReadBitmapFile(PXBitmapDesc& bitmap, PXFile* file, uint32_t flags)
{
    ReleaseBitmap(bitmap);
    if (file == nullptr) {
        return 0;
    }
    BitmapHeader h;
    if (!ReadBitmapHeader(*file, h)) {
        return 0;
    }
    // Headers shorter than 40 bytes lay their fields out differently.
    if (h.headerSize < InfoHeaderBytes || h.width < 0 || h.width + h.height > PXMaxBitmapExtent || h.depth > 32 ||
        h.compression != 0 || h.coloursUsed > 256 || file->GetSize() > INT32_MAX) {
        return 0;
    }
    const uint32_t w = static_cast<uint32_t>(h.width);
    const uint32_t height = static_cast<uint32_t>(h.height);
    if (h.depth == 8 || h.depth == 16 || h.depth == 24 || h.depth == 32) {
        if (!AllocateBitmap(bitmap, w, height, h.depth) || !ReadBitmapPixels(*file, h, bitmap)) {
            ReleaseBitmap(bitmap);
            return 0;
        }
    } else {
        // Kept with its declared depth and no pixels; conversion refuses it.
        bitmap.bitsPerPixel = h.depth;
        bitmap.width = w;
        bitmap.height = height;
    }
    PostProcessBitmap(bitmap, flags);
    return 1;
}

// ---- Image lists ------------------------------------------------------------------

namespace {

constexpr uint32_t ImageListMagic = 0x54534D49; // "IMST"
constexpr uint32_t MaxNameBytes = 1023;

class ImageListReader {
public:
    ImageListReader(PXFile& file, uint32_t version, uint32_t flags) : m_file(file), m_version(version), m_flags(flags)
    {
    }

    bool ReadHeaderColours()
    {
        if (!Need(4)) {
            return false;
        }
        const uint32_t n = m_file.ReadUInt32();
        if (n > 256 || !Need(4ull * n)) {
            return false;
        }
        for (uint32_t i = 0; i < n; ++i) {
            m_header[i] = ReadRgba(m_file);
        }
        return true;
    }

    bool ReadEntry(uint32_t k, PXBitmapDesc& entry)
    {
        if (!Need(4)) {
            return false;
        }
        const uint32_t nameLength = m_file.ReadUInt32();
        if (nameLength > MaxNameBytes || !Need(nameLength + (m_version >= 2 ? 20ull : 16ull))) {
            return false;
        }
        std::string name(nameLength, '\0');
        m_file.ReadBytes(nameLength, &name[0]);
        entry.name = name;
        const int32_t depth = m_version < 2 ? 8 : m_file.ReadInt32();
        const uint32_t width = m_file.ReadUInt32();
        const uint32_t height = m_file.ReadUInt32();
        m_file.ReadUInt32(); // reserved
        m_file.ReadUInt32();
        const uint64_t pixels = uint64_t{width} * height;
        if (depth == 8) {
            return ReadPalettedEntry(k, entry, width, height, pixels);
        }
        if (depth == 15 || depth == 16) {
            if (!Budget(pixels) || !Need(2 * pixels) ||
                !AllocateBitmap(entry, width, height, static_cast<uint32_t>(depth))) {
                return false;
            }
            entry.name = name;
            for (uint32_t r = 0; pixels != 0 && r < height; ++r) {
                m_file.ReadBytes(2 * width, entry.rows[r]);
            }
        }
        return true;
    }

private:
    bool Need(uint64_t bytes) { return bytes <= Remaining(m_file); }

    bool Budget(uint64_t pixels)
    {
        m_pixels += pixels;
        return m_pixels <= PXMaxImageListPixels;
    }

    bool ReadPalettedEntry(uint32_t k, PXBitmapDesc& entry, uint32_t width, uint32_t height, uint64_t pixels)
    {
        if (!Need(4)) {
            return false;
        }
        const uint32_t p = m_file.ReadUInt32();
        if (p > 256 || !Need(4ull * p + pixels) || !Budget(pixels)) {
            return false;
        }
        const std::string name = entry.name;
        if (!AllocateBitmap(entry, width, height, 8)) {
            return false;
        }
        entry.name = name;
        entry.palette = NewPalette();
        if (!entry.palette) {
            return false;
        }
        for (uint32_t i = 0; i < p; ++i) {
            entry.palette[i] = ReadRgba(m_file);
        }
        // Indices the image's own palette does not cover show its header colour.
        const PXColor fill = k < 256 ? m_header[k] : PXColor{};
        std::fill(entry.palette.get() + p, entry.palette.get() + 256, fill);
        for (uint32_t r = 0; pixels != 0 && r < height; ++r) {
            m_file.ReadBytes(width, entry.rows[r]);
        }
        PostProcessBitmap(entry, m_flags);
        return true;
    }

    PXFile& m_file;
    uint32_t m_version;
    uint32_t m_flags;
    PXColor m_header[256] = {};
    uint64_t m_pixels = 0;
};

} // namespace

uint32_t ReadImageList(PXFile* file, uint32_t* outCount, std::unique_ptr<PXBitmapDesc[]>* outImages,
                       uint32_t flags)
{
    if (file == nullptr || outCount == nullptr || outImages == nullptr) {
        return 0;
    }
    if (file->ReadUInt32() != ImageListMagic) {
        return 2;
    }
    const uint32_t version = file->ReadUInt32();
    if (version > 2) {
        return 2;
    }
    const uint32_t count = file->ReadUInt32();
    if (count == 0) {
        return 2;
    }
    // Every entry takes at least its name length, size fields and reserved bytes, so the
    // count cannot ask for more records than the file could describe.
    const uint64_t minEntry = version >= 2 ? 24 : 20;
    if (count > Remaining(*file) / minEntry) {
        return 0;
    }
    std::unique_ptr<PXBitmapDesc[]> images(new (std::nothrow) PXBitmapDesc[count]);
    if (!images) {
        return 0;
    }
    ImageListReader reader(*file, version, flags);
    if (!reader.ReadHeaderColours()) {
        return 0;
    }
    for (uint32_t k = 0; k < count; ++k) {
        if (!reader.ReadEntry(k, images[k])) {
            return 0;
        }
    }
    *outImages = std::move(images);
    *outCount = count;
    return 1;
}

// ---- Conversion -------------------------------------------------------------------

namespace {

void ConvertPaletted(uint16_t* out, const uint8_t* in, size_t n, const PXBitmapDesc& bitmap,
                     const PXPixelFormat& f)
{
    uint16_t table[256];
    for (int i = 0; i < 256; ++i) {
        const PXColor& c = bitmap.palette[i];
        table[i] = static_cast<uint16_t>(PackPixel(f, c.red, c.green, c.blue));
    }
    for (size_t i = 0; i < n; ++i) {
        out[i] = table[in[i]];
    }
}

// Error diffusion: half of each channel's dropped low bits (rounded down) goes to the
// next pixel of the row, the rest to the same column of the next row.
bool ConvertDithered(uint16_t* out, const uint8_t* in, uint32_t width, uint32_t height,
                     const PXBitmapDesc& bitmap, const PXPixelFormat& f)
{
    std::unique_ptr<uint8_t[]> down(new (std::nothrow) uint8_t[static_cast<size_t>(width) * 3]());
    if (!down) {
        return false;
    }
    for (uint32_t y = 0; y < height; ++y) {
        uint32_t carry[3] = {0, 0, 0};
        for (uint32_t x = 0; x < width; ++x) {
            const PXColor& c = bitmap.palette[in[static_cast<size_t>(y) * width + x]];
            const uint32_t source[3] = {c.red, c.green, c.blue};
            const uint32_t loss[3] = {f.redLoss, f.greenLoss, f.blueLoss};
            uint32_t value[3];
            for (int ch = 0; ch < 3; ++ch) {
                uint8_t& d = down[static_cast<size_t>(x) * 3 + ch];
                value[ch] = std::min<uint32_t>(source[ch] + d + carry[ch], 255);
                const uint32_t e = value[ch] - ((value[ch] >> loss[ch]) << loss[ch]);
                carry[ch] = e >> 1;
                d = static_cast<uint8_t>(e - (e >> 1));
            }
            out[static_cast<size_t>(y) * width + x] = static_cast<uint16_t>(PackPixel(f, value[0], value[1], value[2]));
        }
    }
    return true;
}

void ConvertDirect(uint16_t* out, const uint8_t* in, size_t n, uint32_t depth, const PXPixelFormat& f)
{
    for (size_t i = 0; i < n; ++i) {
        uint32_t r, g, b;
        if (depth == 15 || depth == 16) {
            const uint32_t p = in[i * 2] | (uint32_t{in[i * 2 + 1]} << 8);
            if (depth == 15) {
                r = (p >> 7) & 0xF8;
                g = (p >> 2) & 0xF8;
            } else {
                r = (p >> 8) & 0xF8;
                g = (p >> 3) & 0xFC;
            }
            b = (p << 3) & 0xF8;
        } else {
            const uint8_t* px = in + i * (depth / 8);
            b = px[0];
            g = px[1];
            r = px[2];
        }
        out[i] = static_cast<uint16_t>(PackPixel(f, r, g, b));
    }
}

} // namespace

uint32_t ConvertBitmap(PXImage& image, const PXBitmapDesc& bitmap, const PXPixelFormat& format, uint32_t flags)
{
    image.pixels.clear();
    image.pixels.shrink_to_fit();
    image.width = 0;
    image.height = 0;
    const uint32_t depth = bitmap.bitsPerPixel;
    if (format.bitsPerPixel != 16 || BytesPerPixel(depth) == 0) {
        return 0;
    }
    const size_t n = static_cast<size_t>(bitmap.width) * bitmap.height;
    if ((n != 0 && !bitmap.data) || (depth == 8 && !bitmap.palette)) {
        return 0;
    }
    image.pixels.resize(n);
    image.width = bitmap.width;
    image.height = bitmap.height;
    const uint8_t* in = bitmap.data.get();
    if (n == 0) {
        // Nothing to convert; also keeps a huge side of an empty picture from sizing buffers.
    } else if (depth == 8 && (flags & PXBitmapDither)) {
        if (!ConvertDithered(image.pixels.data(), in, bitmap.width, bitmap.height, bitmap, format)) {
            image.pixels.clear();
            image.width = 0;
            image.height = 0;
            return 0;
        }
    } else if (depth == 8) {
        ConvertPaletted(image.pixels.data(), in, n, bitmap, format);
    } else {
        ConvertDirect(image.pixels.data(), in, n, depth, format);
    }
    image.name = bitmap.name;
    return 1;
}
