// A growable block of memory read and written like a file; archives hand out their
// members as buffers.
#pragma once

#include <memory>

#include "engine/files/PXTypedFile.h"

class PXBuffer : public PXTypedFile<PXBuffer> {
public:
    PXBuffer();
    ~PXBuffer() override;

    // A read past the end leaves the position alone; typed reads and ReadBytes answer 3.
    std::string ReadString() override;
    uint32_t ReadBytes(uint32_t count, void* destination) override;
    // A buffer holds no 16-byte records: reading one gives zeros, writing one writes nothing.
    PXBlock16 ReadBlock16() override;
    uint32_t WriteBlock16(const PXBlock16& value) override;
    uint32_t WriteBytes(uint32_t count, const void* source) override;
    bool Seek(int origin, int32_t offset) override;
    uint32_t Tell() override;
    uint32_t GetSize() override;
    bool IsEOF() override;

    // The block, or nullptr before the first allocation.
    virtual uint8_t* GetData();
    // Replaces the block with `size` bytes of `fill`; position 0.
    virtual void Allocate(uint32_t size, uint8_t fill);
    virtual void ZeroFill();
    // Adds `extra` uninitialised bytes; returns the new size.
    virtual uint32_t Grow(uint32_t extra);
    // Offset of the first match of `text` that starts before the position, or -1.
    virtual int32_t Find(const std::string& text);

private:
    friend class PXTypedFile<PXBuffer>;

    uint32_t Remaining() const;
    // Makes room for `count` bytes at the position: one 1024-byte step for fixed-width
    // writes, as many steps as needed for blocks. False when there is still no room.
    bool EnsureRoom(uint32_t count, bool singleStep);
    template <typename T> T ReadValue();
    template <typename T> uint32_t WriteValue(T value);

    std::unique_ptr<uint8_t[]> m_data;
    uint32_t m_position = 0;
    uint32_t m_size = 0;
};

extern template class PXTypedFile<PXBuffer>;
