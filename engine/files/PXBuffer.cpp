// PXBuffer: reads past the end answer the sentinel 3 and leave the position alone;
// writes grow the block in 1024-byte steps.
#include "engine/files/PXBuffer.h"

#include <cstring>
#include <new>

namespace {

constexpr uint32_t GrowStep = 1024;
// What reads past the end answer (callers of the old format test for it).
constexpr uint32_t ReadSentinel = 3;

}  // namespace

PXBuffer::PXBuffer() : PXTypedFile(StatusNoData) {}

PXBuffer::~PXBuffer() = default;

uint32_t PXBuffer::Remaining() const
{
    return m_position < m_size ? m_size - m_position : 0;
}

bool PXBuffer::Seek(int origin, int32_t offset)
{
    if (origin == 1) {
        uint32_t target = m_position + static_cast<uint32_t>(offset);
        if (target >= m_size)
            return false;
        m_position = target;
        return true;
    }
    if (origin == 2) {
        // Counted back from the end; never before the start nor past the end.
        if (offset < 0 || static_cast<uint32_t>(offset) > m_size)
            return false;
        m_position = m_size - static_cast<uint32_t>(offset);
        return true;
    }
    if (offset < 0 || static_cast<uint32_t>(offset) >= m_size)
        return false;
    m_position = static_cast<uint32_t>(offset);
    return true;
}

uint32_t PXBuffer::GetSize()
{
    return m_size;
}

template <typename T> T PXBuffer::ReadValue()
{
    if (Remaining() < sizeof(T))
        return static_cast<T>(ReadSentinel);
    T value;
    std::memcpy(&value, m_data.get() + m_position, sizeof(T));
    m_position += sizeof(T);
    return value;
}

std::string PXBuffer::ReadString()
{
    // A length that does not fit in what remains gives nothing and consumes nothing.
    uint32_t remaining = Remaining();
    if (remaining < 4)
        return std::string();
    uint32_t length;
    std::memcpy(&length, m_data.get() + m_position, 4);
    if (length > remaining - 4)
        return std::string();
    const char* text = reinterpret_cast<const char*>(m_data.get() + m_position + 4);
    m_position += 4 + length;
    // The text ends at an embedded 0 byte, as the C string it once was.
    return std::string(text, strnlen(text, length));
}

PXBlock16 PXBuffer::ReadBlock16()
{
    return PXBlock16();
}

uint32_t PXBuffer::ReadBytes(uint32_t count, void* destination)
{
    if (Remaining() < count)
        return ReadSentinel;
    if (count == 0 || !destination)
        return 0;
    std::memcpy(destination, m_data.get() + m_position, count);
    m_position += count;
    return count;
}

bool PXBuffer::EnsureRoom(uint32_t count, bool singleStep)
{
    uint64_t needed = uint64_t(m_position) + count;
    if (needed <= m_size)
        return m_data != nullptr;
    uint64_t extra = singleStep ? GrowStep : ((needed - m_size + GrowStep - 1) / GrowStep) * GrowStep;
    if (uint64_t(m_size) + extra > UINT32_MAX)
        return false;
    Grow(static_cast<uint32_t>(extra));
    return m_data != nullptr && needed <= m_size;
}

template <typename T> uint32_t PXBuffer::WriteValue(T value)
{
    if (!EnsureRoom(sizeof(T), true)) {
        m_status = StatusNoData;
        return 0;
    }
    std::memcpy(m_data.get() + m_position, &value, sizeof(T));
    m_position += sizeof(T);
    m_status = StatusOk;
    return sizeof(T);
}

uint32_t PXBuffer::WriteBlock16(const PXBlock16&)
{
    return 0;
}

uint32_t PXBuffer::WriteBytes(uint32_t count, const void* source)
{
    if (count == 0)
        return 0;
    if (!EnsureRoom(count, false)) {
        m_status = StatusNoData;
        return 0;
    }
    if (!source)
        return ReadSentinel;
    std::memcpy(m_data.get() + m_position, source, count);
    m_position += count;
    m_status = StatusOk;
    return count;
}

uint32_t PXBuffer::Tell()
{
    return m_position;
}

bool PXBuffer::IsEOF()
{
    return m_position >= m_size;
}

uint8_t* PXBuffer::GetData()
{
    return m_data.get();
}

void PXBuffer::Allocate(uint32_t size, uint8_t fill)
{
    m_data.reset();
    m_size = 0;
    m_position = 0;
    m_data.reset(new (std::nothrow) uint8_t[size == 0 ? 1 : size]);
    if (!m_data) {
        m_status = StatusNoData;
        return;
    }
    std::memset(m_data.get(), fill, size);
    m_size = size;
    m_status = StatusOk;
}

void PXBuffer::ZeroFill()
{
    if (m_data)
        std::memset(m_data.get(), 0, m_size);
}

uint32_t PXBuffer::Grow(uint32_t extra)
{
    if (uint64_t(m_size) + extra > UINT32_MAX)
        return m_size;
    uint32_t newSize = m_size + extra;
    std::unique_ptr<uint8_t[]> block(new (std::nothrow) uint8_t[newSize == 0 ? 1 : newSize]);
    if (!block)
        return m_size;
    if (m_data)
        std::memcpy(block.get(), m_data.get(), m_size);
    m_data = std::move(block);
    m_size = newSize;
    return m_size;
}

int32_t PXBuffer::Find(const std::string& text)
{
    // Only matches that start before the position count.
    if (m_position == 0 || !m_data)
        return -1;
    uint64_t length = text.size();
    for (uint32_t i = 0; i < m_position; ++i) {
        if (i + length > m_size)
            return -1;
        if (std::memcmp(m_data.get() + i, text.data(), length) == 0)
            return static_cast<int32_t>(i);
    }
    return -1;
}

// The typed reads and writes, over ReadValue and WriteValue above.
template class PXTypedFile<PXBuffer>;
