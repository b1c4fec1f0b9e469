// Streams over an open host file: PXFileLE for little-endian hosts, PXFileBE for big-endian ones.
#pragma once

#include <cstdio>

#include "engine/files/PXTypedFile.h"

class PXFileLE : public PXTypedFile<PXFileLE> {
public:
    // The handle is not owned: the file manager that opened it closes it.
    explicit PXFileLE(std::FILE* handle);

    // Without a handle every operation answers status 2 and a zero result.
    bool Seek(int origin, int32_t offset) override;
    uint32_t GetSize() override;
    uint32_t Tell() override;
    bool IsEOF() override;
    // Short reads and writes are not errors: the count done is the answer.
    std::string ReadString() override;
    PXBlock16 ReadBlock16() override;
    uint32_t ReadBytes(uint32_t count, void* destination) override;
    uint32_t WriteBlock16(const PXBlock16& value) override;
    uint32_t WriteBytes(uint32_t count, const void* source) override;

    // One line without its terminator (CR, LF, CR LF or LF CR).
    virtual std::string ReadLine();

    std::FILE* GetHandle() const { return m_handle; }

protected:
    // Sets the status for this operation: 1 with a handle, 2 without.
    bool HasHandle();

    std::FILE* m_handle;

private:
    friend class PXTypedFile<PXFileLE>;

    template <typename T> T ReadValue();
    template <typename T> uint32_t WriteValue(T value);
};

extern template class PXTypedFile<PXFileLE>;

class PXFileBE : public PXFileLE {
public:
    using PXFileLE::PXFileLE;
    PXBlock16 ReadBlock16() override;
    uint32_t WriteBlock16(const PXBlock16& value) override;
};
