// The byte stream every file read and write goes through. Multi-byte values are little-endian.
#pragma once

#include <cstdint>
#include <string>

// Bits given to PXFileSystem::Open.
enum FileMode : uint32_t {
    FileModeRead = 1,
    FileModeWrite = 2,
    FileModeBinary = 4,
    FileModeAppend = 8,
};

// A 16-byte record read and written as one block.
struct PXBlock16 {
    uint8_t bytes[16] = {};
};

class PXFile {
public:
    // Status of the last operation: 1 it had its file or data, 2 there was none.
    static constexpr int32_t StatusOk = 1;
    static constexpr int32_t StatusNoData = 2;

    explicit PXFile(int32_t status) : m_status(status) {}
    PXFile(const PXFile&) = delete;
    PXFile& operator=(const PXFile&) = delete;

    virtual int32_t GetStatus() const { return m_status; }
    // origin: 0 start, 1 current position, 2 end.
    virtual bool Seek(int origin, int32_t offset) = 0;
    virtual uint32_t GetSize() = 0;
    virtual int8_t ReadInt8() = 0;
    virtual int16_t ReadInt16() = 0;
    virtual int32_t ReadInt32() = 0;
    virtual uint8_t ReadUInt8() = 0;
    virtual uint16_t ReadUInt16() = 0;
    virtual uint32_t ReadUInt32() = 0;
    virtual float ReadFloat() = 0;
    virtual double ReadDouble() = 0;
    // A 32-bit length, then that many bytes.
    virtual std::string ReadString() = 0;
    virtual PXBlock16 ReadBlock16() = 0;
    virtual uint32_t ReadBytes(uint32_t count, void* destination) = 0;
    virtual uint32_t WriteInt8(int8_t value) = 0;
    virtual uint32_t WriteInt16(int16_t value) = 0;
    virtual uint32_t WriteInt32(int32_t value) = 0;
    virtual uint32_t WriteUInt8(uint8_t value) = 0;
    virtual uint32_t WriteUInt16(uint16_t value) = 0;
    virtual uint32_t WriteUInt32(uint32_t value) = 0;
    virtual uint32_t WriteFloat(float value) = 0;
    virtual uint32_t WriteDouble(double value) = 0;
    virtual uint32_t WriteString(const std::string& value) = 0;
    virtual uint32_t WriteBlock16(const PXBlock16& value) = 0;
    virtual uint32_t WriteBytes(uint32_t count, const void* source) = 0;
    virtual uint32_t Tell() = 0;
    virtual bool IsEOF() = 0;

    virtual ~PXFile() = default;

protected:
    int32_t m_status;
};
