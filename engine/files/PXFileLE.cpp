// PXFileLE and PXFileBE: streams over a buffered host file. Every operation without a
// handle answers status 2 and a zero result.
#include "engine/files/PXFileLE.h"

#include <algorithm>
#include <cstring>

#include "engine/core/PXLog.h"

PXFileLE::PXFileLE(std::FILE* handle) : PXTypedFile(handle ? StatusOk : StatusNoData), m_handle(handle) {}

bool PXFileLE::HasHandle()
{
    m_status = m_handle ? StatusOk : StatusNoData;
    return m_handle != nullptr;
}

bool PXFileLE::Seek(int origin, int32_t offset)
{
    if (!HasHandle())
        return false;
    int whence;
    switch (origin) {
    case 0:
        whence = SEEK_SET;
        break;
    case 1:
        whence = SEEK_CUR;
        break;
    case 2:
        whence = SEEK_END;
        break;
    default:
        return false;
    }
    return std::fseek(m_handle, offset, whence) == 0;
}

uint32_t PXFileLE::GetSize()
{
    if (!HasHandle())
        return 0;
    long position = std::ftell(m_handle);
    if (position < 0 || std::fseek(m_handle, 0, SEEK_END) != 0)
        return 0;
    long size = std::ftell(m_handle);
    std::fseek(m_handle, position, SEEK_SET);
    return size < 0 ? 0 : static_cast<uint32_t>(size);
}

template <typename T> T PXFileLE::ReadValue()
{
    // A short read leaves the missing bytes 0.
    uint8_t bytes[sizeof(T)] = {};
    if (HasHandle())
        std::fread(bytes, 1, sizeof(T), m_handle);
    T value;
    std::memcpy(&value, bytes, sizeof(T));
    return value;
}

std::string PXFileLE::ReadString()
{
    if (!HasHandle())
        return std::string();
    int32_t length = ReadInt32();
    // A length the file cannot hold is refused before anything is allocated.
    uint32_t size = GetSize();
    uint32_t position = Tell();
    uint32_t left = position < size ? size - position : 0;
    if (length < 0 || static_cast<uint32_t>(length) > left) {
        LogF("Error Loading String. Unable to Allocated Memory. (Len: %d)", length);
        return std::string();
    }
    std::string text(static_cast<size_t>(length), '\0');
    uint32_t got = ReadBytes(static_cast<uint32_t>(length), text.data());
    text.resize(got);
    // The text ends at an embedded 0 byte; the stream has still moved past all of it.
    text.resize(std::strlen(text.c_str()));
    return text;
}

PXBlock16 PXFileLE::ReadBlock16()
{
    PXBlock16 block;
    if (HasHandle())
        std::fread(block.bytes, 1, sizeof(block.bytes), m_handle);
    return block;
}

uint32_t PXFileLE::ReadBytes(uint32_t count, void* destination)
{
    if (!HasHandle() || count == 0 || !destination)
        return 0;
    return static_cast<uint32_t>(std::fread(destination, 1, count, m_handle));
}

template <typename T> uint32_t PXFileLE::WriteValue(T value)
{
    // Short writes are not reported: the width is the answer.
    if (!HasHandle())
        return 0;
    std::fwrite(&value, 1, sizeof(T), m_handle);
    return sizeof(T);
}

uint32_t PXFileLE::WriteBlock16(const PXBlock16& value)
{
    if (!HasHandle())
        return 0;
    std::fwrite(value.bytes, 1, sizeof(value.bytes), m_handle);
    return sizeof(value.bytes);
}

uint32_t PXFileLE::WriteBytes(uint32_t count, const void* source)
{
    if (!HasHandle() || count == 0 || !source)
        return 0;
    return static_cast<uint32_t>(std::fwrite(source, 1, count, m_handle));
}

uint32_t PXFileLE::Tell()
{
    if (!HasHandle())
        return 0;
    long position = std::ftell(m_handle);
    return position < 0 ? 0 : static_cast<uint32_t>(position);
}

bool PXFileLE::IsEOF()
{
    if (!HasHandle())
        return false;
    return std::feof(m_handle) != 0;
}

std::string PXFileLE::ReadLine()
{
    std::string line;
    line.reserve(255);
    if (!HasHandle())
        return line;
    uint8_t byte = ReadUInt8();
    bool seenCR = false;
    bool seenLF = false;
    while (!IsEOF()) {
        if (byte == 13 || byte == 10) {
            bool& seen = byte == 13 ? seenCR : seenLF;
            if (seen) {
                // A second CR (or LF) begins the next line: put it back.
                Seek(1, -1);
                return line;
            }
            seen = true;
        } else {
            if (seenCR || seenLF) {
                Seek(1, -1);
                return line;
            }
            line.push_back(static_cast<char>(byte));
        }
        byte = ReadUInt8();
    }
    return line;
}

// The typed reads and writes, over ReadValue and WriteValue above.
template class PXTypedFile<PXFileLE>;

PXBlock16 PXFileBE::ReadBlock16()
{
    // The first 8 bytes hold one 64-bit value in the file's little-endian order.
    PXBlock16 block = PXFileLE::ReadBlock16();
    std::reverse(block.bytes, block.bytes + 8);
    return block;
}

uint32_t PXFileBE::WriteBlock16(const PXBlock16& value)
{
    PXBlock16 copy = value;
    std::reverse(copy.bytes, copy.bytes + 8);
    return PXFileLE::WriteBlock16(copy);
}
