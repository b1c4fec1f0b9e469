// A read-only PXFile over a byte vector, for feeding hand-built files to readers.
// Reads past the end give zeros, like the engine's streams; writes are refused.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "engine/files/PXFile.h"

class ByteFile : public PXFile {
public:
    explicit ByteFile(std::vector<uint8_t> bytes) : PXFile(StatusOk), m_bytes(std::move(bytes)) {}

    bool Seek(int origin, int32_t offset) override
    {
        int64_t base = origin == 0 ? 0 : origin == 1 ? int64_t{m_pos} : int64_t(m_bytes.size());
        const int64_t to = base + offset;
        if (to < 0 || to > int64_t(m_bytes.size())) {
            return false;
        }
        m_pos = static_cast<uint32_t>(to);
        return true;
    }
    uint32_t GetSize() override { return static_cast<uint32_t>(m_bytes.size()); }
    int8_t ReadInt8() override { return static_cast<int8_t>(Read<uint8_t>()); }
    int16_t ReadInt16() override { return static_cast<int16_t>(Read<uint16_t>()); }
    int32_t ReadInt32() override { return static_cast<int32_t>(Read<uint32_t>()); }
    uint8_t ReadUInt8() override { return Read<uint8_t>(); }
    uint16_t ReadUInt16() override { return Read<uint16_t>(); }
    uint32_t ReadUInt32() override { return Read<uint32_t>(); }
    float ReadFloat() override { return 0.0f; }
    double ReadDouble() override { return 0.0; }
    std::string ReadString() override { return std::string(); }
    PXBlock16 ReadBlock16() override { return PXBlock16(); }
    uint32_t ReadBytes(uint32_t count, void* destination) override
    {
        const uint32_t available = m_pos < m_bytes.size() ? static_cast<uint32_t>(m_bytes.size()) - m_pos : 0;
        const uint32_t n = std::min(count, available);
        if (n > 0) {
            std::memcpy(destination, m_bytes.data() + m_pos, n);
        }
        std::memset(static_cast<uint8_t*>(destination) + n, 0, count - n);
        m_pos += n;
        return n;
    }
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
    uint32_t Tell() override { return m_pos; }
    bool IsEOF() override { return m_pos >= m_bytes.size(); }

private:
    // Little-endian, zero-filled past the end.
    template <typename T>
    T Read()
    {
        uint8_t raw[sizeof(T)] = {};
        ReadBytes(sizeof(T), raw);
        uint64_t v = 0;
        for (size_t i = 0; i < sizeof(T); ++i) {
            v |= uint64_t{raw[i]} << (8 * i);
        }
        return static_cast<T>(v);
    }

    std::vector<uint8_t> m_bytes;
    uint32_t m_pos = 0;
};
