// Streams over an open host file: PXFileLE for little-endian hosts, PXFileBE for big-endian ones.
#pragma once

#include <cstdio>

#include "engine/files/PXFile.h"

class PXFileLE : public PXFile {
public:
    // The handle is not owned: the file manager that opened it closes it.
    explicit PXFileLE(std::FILE* handle);

    bool Seek(int origin, int32_t offset) override;
    uint32_t GetSize() override;
    int8_t ReadInt8() override;
    int16_t ReadInt16() override;
    int32_t ReadInt32() override;
    uint8_t ReadUInt8() override;
    uint16_t ReadUInt16() override;
    uint32_t ReadUInt32() override;
    float ReadFloat() override;
    double ReadDouble() override;
    std::string ReadString() override;
    PXBlock16 ReadBlock16() override;
    uint32_t ReadBytes(uint32_t count, void* destination) override;
    uint32_t WriteInt8(int8_t value) override;
    uint32_t WriteInt16(int16_t value) override;
    uint32_t WriteInt32(int32_t value) override;
    uint32_t WriteUInt8(uint8_t value) override;
    uint32_t WriteUInt16(uint16_t value) override;
    uint32_t WriteUInt32(uint32_t value) override;
    uint32_t WriteFloat(float value) override;
    uint32_t WriteDouble(double value) override;
    uint32_t WriteString(const std::string& value) override;
    uint32_t WriteBlock16(const PXBlock16& value) override;
    uint32_t WriteBytes(uint32_t count, const void* source) override;
    uint32_t Tell() override;
    bool IsEOF() override;

    // One line without its terminator (CR, LF, CR LF or LF CR).
    virtual std::string ReadLine();

    std::FILE* GetHandle() const { return m_handle; }

protected:
    // Sets the status for this operation: 1 with a handle, 2 without.
    bool HasHandle();

    std::FILE* m_handle;

private:
    template <typename T>
    T ReadValue();
    template <typename T>
    uint32_t WriteValue(T value);
};

class PXFileBE : public PXFileLE {
public:
    using PXFileLE::PXFileLE;
    PXBlock16 ReadBlock16() override;
    uint32_t WriteBlock16(const PXBlock16& value) override;
};
