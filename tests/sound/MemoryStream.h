// A read-only PXFile over bytes in memory, for feeding LoadSound.
#pragma once

#include <cstring>
#include <vector>

#include "engine/files/PXFile.h"

class MemoryStream : public PXFile {
public:
    explicit MemoryStream(std::vector<uint8_t> bytes) : PXFile(StatusOk), m_bytes(std::move(bytes)) {}

    bool Seek(int origin, int32_t offset) override
    {
        int64_t base = origin == 0 ? 0 : origin == 1 ? static_cast<int64_t>(m_pos) : static_cast<int64_t>(m_bytes.size());
        int64_t target = base + offset;
        if (target < 0 || target > static_cast<int64_t>(m_bytes.size()))
            return false;
        m_pos = static_cast<size_t>(target);
        return true;
    }
    uint32_t GetSize() override { return static_cast<uint32_t>(m_bytes.size()); }
    uint32_t ReadBytes(uint32_t count, void* destination) override
    {
        size_t n = std::min<size_t>(count, m_bytes.size() - m_pos);
        if (n > 0)
            std::memcpy(destination, m_bytes.data() + m_pos, n);
        m_pos += n;
        return static_cast<uint32_t>(n);
    }
    uint32_t Tell() override { return static_cast<uint32_t>(m_pos); }
    bool IsEOF() override { return m_pos >= m_bytes.size(); }

    // The sound manager reads only through ReadBytes, Seek, Tell and GetSize.
    int8_t ReadInt8() override { return 0; }
    int16_t ReadInt16() override { return 0; }
    int32_t ReadInt32() override { return 0; }
    uint8_t ReadUInt8() override { return 0; }
    uint16_t ReadUInt16() override { return 0; }
    uint32_t ReadUInt32() override { return 0; }
    float ReadFloat() override { return 0; }
    double ReadDouble() override { return 0; }
    std::string ReadString() override { return {}; }
    PXBlock16 ReadBlock16() override { return {}; }
    uint32_t WriteInt8(int8_t) override { return 0; }
    uint32_t WriteInt16(int16_t) override { return 0; }
    uint32_t WriteInt32(int32_t) override { return 0; }
    uint32_t WriteUInt8(uint8_t) override { return 0; }
    uint32_t WriteUInt16(uint16_t) override { return 0; }
    uint32_t WriteUInt32(uint32_t) override { return 0; }
    uint32_t WriteFloat(float) override { return 0; }
    uint32_t WriteDouble(double) override { return 0; }
    uint32_t WriteString(const std::string&) override { return 0; }
    uint32_t WriteBlock16(const PXBlock16&) override { return 0; }
    uint32_t WriteBytes(uint32_t, const void*) override { return 0; }

private:
    std::vector<uint8_t> m_bytes;
    size_t m_pos = 0;
};
