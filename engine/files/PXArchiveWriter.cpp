// PXArchiveWriter: header and directory first with placeholder offsets and sizes, then
// the members; the placeholders are filled in once every member is written.
#include "engine/files/PXArchiveWriter.h"

#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXFile.h"
#include "engine/files/PXFileManager.h"

namespace {

// Copies one member to the end of the archive; false when it cannot be read whole.
bool CopyMember(PXFileManager& source, const std::string& name, PXFile& archive, uint64_t& written,
                uint32_t& size)
{
    PXFile* member = source.Open(name, FileModeRead | FileModeBinary);
    if (!member)
        return false;
    size = member->GetSize();
    bool ok = written + size <= UINT32_MAX;
    uint8_t chunk[16384];
    uint32_t left = ok ? size : 0;
    while (ok && left > 0) {
        uint32_t want = left < sizeof(chunk) ? left : static_cast<uint32_t>(sizeof(chunk));
        uint32_t got = member->ReadBytes(want, chunk);
        ok = got == want && archive.WriteBytes(got, chunk) == got;
        left -= want;
    }
    source.Close(member);
    written += size;
    return ok;
}

}  // namespace

uint32_t PXArchiveWriter::Write(PXFileManager& source, const std::vector<std::string>& names, PXFile& archive,
                                const Progress& progress)
{
    uint64_t start = archive.Tell();
    uint64_t dataStart = PXArchiveManager::HeaderSize;
    for (const std::string& name : names)
        dataStart += 12 + name.size();
    if (start + dataStart > UINT32_MAX || names.size() > UINT32_MAX)
        return 0;

    archive.WriteUInt32(PXArchiveManager::Magic);
    archive.WriteUInt8(1);
    archive.WriteUInt8(0);
    archive.WriteUInt8(0);
    archive.WriteUInt32(static_cast<uint32_t>(dataStart));
    archive.WriteUInt32(static_cast<uint32_t>(names.size()));
    std::vector<uint32_t> fieldAt;  // where each entry's offset field lies
    for (const std::string& name : names) {
        archive.WriteString(name);
        fieldAt.push_back(archive.Tell());
        archive.WriteUInt32(0);
        archive.WriteUInt32(0);
    }

    uint64_t written = start + dataStart;
    std::vector<uint32_t> offsets;
    std::vector<uint32_t> sizes;
    for (size_t i = 0; i < names.size(); ++i) {
        uint32_t size = 0;
        offsets.push_back(static_cast<uint32_t>(written - start));
        if (!CopyMember(source, names[i], archive, written, size))
            return 0;
        sizes.push_back(size);
        if (progress)
            progress(i + 1, names.size(), names[i]);
    }
    for (size_t i = 0; i < names.size(); ++i) {
        if (!archive.Seek(0, static_cast<int32_t>(fieldAt[i])))
            return 0;
        archive.WriteUInt32(offsets[i]);
        archive.WriteUInt32(sizes[i]);
    }
    return static_cast<uint32_t>(written - start);
}

uint32_t PXArchiveWriter::Write(PXFileManager& source, const std::vector<std::string>& names,
                                PXFileManager& target, const std::string& archiveName, const Progress& progress)
{
    PXFile* archive = target.Open(archiveName, FileModeWrite | FileModeBinary);
    if (!archive)
        return 0;
    uint32_t length = Write(source, names, *archive, progress);
    target.Close(archive);
    return length;
}
