// PXArchiveManager: reads an archive's directory with every count and length checked
// against the archive's size, and hands out members as buffers.
#include "engine/files/PXArchiveManager.h"

#include <algorithm>

#include "engine/files/PXBuffer.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileSystem.h"

namespace {

int FoldChar(char c)
{
    if (c >= 'A' && c <= 'Z')
        return c - 'A' + 'a';
    if (c == '\\')
        return '/';
    return static_cast<unsigned char>(c);
}

// Smallest directory entry: name length, empty name, offset, size.
constexpr uint32_t MinEntrySize = 12;

}  // namespace

int PXArchiveCompareNames(const std::string& a, const std::string& b)
{
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        int difference = FoldChar(a[i]) - FoldChar(b[i]);
        if (difference != 0)
            return difference;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool PXArchiveNameLess::operator()(const std::string& a, const std::string& b) const
{
    return PXArchiveCompareNames(a, b) < 0;
}

PXArchiveManager::PXArchiveManager(PXFileManager* opener, const std::string& archiveName)
    : m_fileManager(opener)
{
    if (m_fileManager && !archiveName.empty())
        m_archive = m_fileManager->Open(archiveName, FileModeRead | FileModeBinary);
    if (m_archive)
        m_loaded = LoadDirectory() == 1;
}

PXArchiveManager::PXArchiveManager(PXFileSystem* opener, const std::string& archiveName)
    : m_fileSystem(opener)
{
    if (m_fileSystem && !archiveName.empty())
        m_archive = m_fileSystem->Open(archiveName, FileModeRead | FileModeBinary);
    if (m_archive)
        m_loaded = LoadDirectory() == 1;
}

PXArchiveManager::~PXArchiveManager()
{
    m_open.clear();
    if (m_archive) {
        if (m_fileSystem)
            m_fileSystem->Close(m_archive);
        else if (m_fileManager)
            m_fileManager->Close(m_archive);
        m_archive = nullptr;
    }
    m_directory.clear();
}

bool PXArchiveManager::ReadEntry(uint32_t archiveSize, Entry& entry)
{
    uint64_t position = m_archive->Tell();
    if (position + MinEntrySize > archiveSize)
        return false;
    uint32_t length = m_archive->ReadUInt32();
    if (position + MinEntrySize + length > archiveSize)
        return false;
    entry.name.assign(length, '\0');
    if (m_archive->ReadBytes(length, entry.name.data()) != length)
        return false;
    entry.offset = m_archive->ReadUInt32();
    entry.size = m_archive->ReadUInt32();
    return true;
}

int PXArchiveManager::LoadDirectory()
{
    if (m_loaded || !m_archive)
        return 0;
    uint32_t archiveSize = m_archive->GetSize();
    if (archiveSize < HeaderSize || !m_archive->Seek(0, 0))
        return 0;
    if (m_archive->ReadUInt32() != Magic)
        return 0;
    for (int i = 0; i < 3; ++i)
        m_archive->ReadUInt8();
    m_archive->ReadUInt32();  // data start: members carry their own offsets
    uint32_t count = m_archive->ReadUInt32();
    m_declaredCount = count;
    m_archiveSize = archiveSize;
    m_directory.clear();
    m_entries.clear();
    // Never reserve from the stored count alone: it is capped by what the file can hold.
    m_entries.reserve(std::min<uint32_t>(count, (archiveSize - HeaderSize) / MinEntrySize));
    for (uint32_t i = 0; i < count; ++i) {
        Entry entry;
        if (!ReadEntry(archiveSize, entry))
            break;  // a truncated directory keeps the entries read so far
        m_entries.push_back(std::move(entry));
        m_directory.emplace(m_entries.back().name, m_entries.size() - 1);
    }
    return 1;
}

bool PXArchiveManager::IsIntact() const
{
    if (!m_loaded || m_entries.size() != m_declaredCount)
        return false;
    for (const Entry& entry : m_entries) {
        if (uint64_t{entry.offset} + entry.size > m_archiveSize)
            return false;
    }
    return true;
}

PXFile* PXArchiveManager::Open(const std::string& name, uint32_t)
{
    if (!m_loaded || name.empty())
        return nullptr;
    auto found = m_directory.find(name);
    if (found == m_directory.end())
        return nullptr;
    const Entry& entry = m_entries[found->second];
    // A member that lies beyond the archive (or past what a seek can reach) fails to open.
    if (uint64_t(entry.offset) + entry.size > m_archive->GetSize() || entry.offset > INT32_MAX)
        return nullptr;
    if (!m_archive->Seek(0, static_cast<int32_t>(entry.offset)) && entry.size != 0)
        return nullptr;
    auto buffer = std::make_unique<PXBuffer>();
    if (entry.size == 0) {
        buffer->Allocate(0, 0);
    } else {
        // The read fills the whole block: it is not cleared first (Grow leaves it as it is).
        if (buffer->Grow(entry.size) != entry.size || !buffer->GetData() ||
            m_archive->ReadBytes(entry.size, buffer->GetData()) != entry.size)
            return nullptr;
    }
    m_open.push_back(std::move(buffer));
    return m_open.back().get();
}

int PXArchiveManager::Close(PXFile* stream)
{
    if (!m_loaded)
        return 0;
    if (!stream)
        return 1;
    auto mine = std::find_if(m_open.begin(), m_open.end(), [stream](const std::unique_ptr<PXBuffer>& open) {
        return open.get() == stream;
    });
    // Another manager's stream is left alone so that the file system asks the next one.
    if (mine == m_open.end())
        return 2;
    m_open.erase(mine);
    return 1;
}

void PXArchiveManager::ListFiles(const std::string& pattern, const std::string&, bool,
                                 std::vector<std::string>& out)
{
    if (!m_loaded || !m_archive)
        return;
    size_t star = pattern.rfind('*');
    std::string suffix = star == std::string::npos ? pattern : pattern.substr(star + 1);
    for (const Entry& entry : m_entries) {
        if (entry.name.size() < suffix.size())
            continue;
        if (PXArchiveCompareNames(entry.name.substr(entry.name.size() - suffix.size()), suffix) == 0)
            out.push_back(entry.name);
    }
}
