// RIFF chunk walk for WAV files: every size is checked against the bytes that remain.
#include "engine/sound/PXWaveFile.h"

namespace {

constexpr uint32_t Tag(char a, char b, char c, char d)
{
    return static_cast<uint32_t>(static_cast<uint8_t>(a)) |
           static_cast<uint32_t>(static_cast<uint8_t>(b)) << 8 |
           static_cast<uint32_t>(static_cast<uint8_t>(c)) << 16 |
           static_cast<uint32_t>(static_cast<uint8_t>(d)) << 24;
}

constexpr uint32_t TagRiff = Tag('R', 'I', 'F', 'F');
constexpr uint32_t TagWave = Tag('W', 'A', 'V', 'E');
constexpr uint32_t TagFmt = Tag('f', 'm', 't', ' ');
constexpr uint32_t TagData = Tag('d', 'a', 't', 'a');
constexpr uint16_t FormatPcm = 1;
constexpr uint16_t FormatExtensible = 0xFFFE;
constexpr size_t FormatBytes = 16;
// The extensible format: the 16 bytes, an extra size of at least 22, valid bits, channel
// mask and the 16-byte sub-format, whose PCM value is this.
constexpr size_t ExtensibleBytes = 40;
constexpr size_t SubFormatOffset = 24;
constexpr uint8_t SubFormatPcm[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                      0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

uint16_t Get16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

uint32_t Get32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
           static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

uint64_t RoundUpEven(uint64_t n)
{
    return n + (n & 1);
}

PXWaveFormat ReadFormat(const uint8_t* p)
{
    PXWaveFormat format;
    format.formatTag = Get16(p);
    format.channels = Get16(p + 2);
    format.samplesPerSec = Get32(p + 4);
    format.avgBytesPerSec = Get32(p + 8);
    format.blockAlign = Get16(p + 12);
    format.bitsPerSample = Get16(p + 14);
    return format;
}

// An extensible format whose sub-format is plain PCM is plain PCM; any other sub-format (and
// a chunk too short to hold one) is left as it is and refused.
void ReadExtensible(const uint8_t* body, uint32_t declared, PXWaveFormat& format)
{
    if (format.formatTag != FormatExtensible || declared < ExtensibleBytes || Get16(body + 16) < 22)
        return;
    const uint8_t* sub = body + SubFormatOffset;
    for (size_t i = 0; i < sizeof(SubFormatPcm); ++i) {
        if (sub[i] != SubFormatPcm[i])
            return;
    }
    format.formatTag = FormatPcm;
}

// What the mixer can play: the sample layout must agree with itself. Null when it can.
const char* PcmProblem(const PXWaveFormat& format)
{
    if (format.formatTag == FormatExtensible)
        return "extensible format whose sub-format is not PCM";
    if (format.formatTag != FormatPcm)
        return "not PCM";
    if (format.channels < 1 || format.channels > 2)
        return "neither mono nor stereo";
    if (format.bitsPerSample != 8 && format.bitsPerSample != 16)
        return "neither 8 nor 16 bits a sample";
    if (format.blockAlign != format.channels * format.bitsPerSample / 8)
        return "block size does not match the samples";
    if (format.samplesPerSec < PXWaveMinRate || format.samplesPerSec > PXWaveMaxRate)
        return "sample rate out of range";
    return nullptr;
}

}  // namespace

int PXParseWave(const uint8_t* bytes, size_t size, PXWaveData& out, const char** why)
{
    const char* unused = nullptr;
    const char*& problem = why != nullptr ? *why : unused;
    problem = "not a RIFF/WAVE file";
    if (!bytes || size < 12 || Get32(bytes) != TagRiff || Get32(bytes + 8) != TagWave)
        return 0;
    // What the RIFF header says is left; a chunk that ends past it is a lie.
    int64_t remaining = static_cast<int64_t>(RoundUpEven(Get32(bytes + 4)));
    if (remaining < 1)
        return 0;
    problem = "truncated, or no sound data";

    PXWaveFormat format;
    uint64_t pos = 12;
    for (;;) {
        if (pos + 8 > size)
            return 0;
        uint32_t tag = Get32(bytes + pos);
        uint32_t declared = Get32(bytes + pos + 4);
        uint64_t chunkSize = RoundUpEven(declared);
        uint64_t body = pos + 8;
        remaining -= static_cast<int64_t>(8 + chunkSize);
        if (tag == TagFmt) {
            // A format chunk too short for its 16 bytes is refused rather than half read.
            if (declared < FormatBytes || body + FormatBytes > size)
                return 0;
            format = ReadFormat(bytes + body);
            if (body + ExtensibleBytes <= size)
                ReadExtensible(bytes + body, declared, format);
        } else if (tag == TagData && declared > 0) {
            // The pad byte after odd data may be missing at the end of the file; the
            // samples themselves may not.
            if (body + declared > size || chunkSize > UINT32_MAX)
                return 0;
            out.format = format;
            out.dataOffset = static_cast<size_t>(body);
            out.dataSize = declared;
            out.bufferSize = static_cast<uint32_t>(chunkSize);
            break;
        }
        pos = body + chunkSize;
        if (remaining < 1)
            return 0;
    }
    // No "fmt " chunk before the data leaves the format zeroed, which is not PCM.
    problem = PcmProblem(out.format);
    return problem == nullptr ? 1 : 0;
}
