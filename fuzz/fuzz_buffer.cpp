// Fuzz target: PXBuffer reads of every width, strings, Find and Seek over any bytes,
// driven by the bytes themselves.
#include <cstdint>
#include <cstring>
#include <string>

#include "engine/files/PXBuffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1 || size > (1u << 16))
        return 0;
    // The first byte picks the operations' stride; the rest is the buffer.
    uint8_t stride = data[0];
    PXBuffer buffer;
    buffer.Allocate(static_cast<uint32_t>(size - 1), 0);
    if (size > 1)
        std::memcpy(buffer.GetData(), data + 1, size - 1);

    uint8_t scratch[64];
    for (size_t step = 0; step < 256 && step + 1 < size; ++step) {
        uint8_t op = data[1 + step];
        switch (op % 14) {
        case 0: buffer.ReadInt8(); break;
        case 1: buffer.ReadInt16(); break;
        case 2: buffer.ReadInt32(); break;
        case 3: buffer.ReadUInt16(); break;
        case 4: buffer.ReadUInt32(); break;
        case 5: buffer.ReadFloat(); break;
        case 6: buffer.ReadDouble(); break;
        case 7: buffer.ReadString(); break;
        case 8: buffer.ReadBytes(op % sizeof(scratch), scratch); break;
        case 9: buffer.Seek(op % 3, static_cast<int8_t>(stride) * (op >> 4)); break;
        case 10: buffer.Find(std::string(reinterpret_cast<const char*>(data + 1), op % 8)); break;
        case 11: buffer.WriteUInt16(op); break;
        case 12: buffer.WriteBytes(op % sizeof(scratch), scratch); break;
        case 13: buffer.WriteString(std::string(op % 5, 'x')); break;
        }
        if (buffer.Tell() > buffer.GetSize())
            __builtin_trap();
    }
    return 0;
}
