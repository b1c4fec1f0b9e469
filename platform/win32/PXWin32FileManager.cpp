// PXWin32FileManager: _fsopen and FindFirstFileA behind the engine's file manager.
#include "platform/win32/PXWin32FileManager.h"

#include <windows.h>
#include <share.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "engine/files/PXFileLE.h"

namespace {

bool LittleEndianHost()
{
    const uint16_t one = 1;
    uint8_t first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

bool IsDirectory(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

PXWin32FileManager::PXWin32FileManager() = default;

PXWin32FileManager::~PXWin32FileManager()
{
    for (auto& stream : m_open) {
        if (stream->GetHandle())
            std::fclose(stream->GetHandle());
    }
}

PXFile* PXWin32FileManager::Open(const std::string& name, uint32_t mode)
{
    if (name.empty())
        return nullptr;
    std::string modeString = ModeString(mode);
    if (modeString.empty())
        return nullptr;
    std::string path = m_root + name;
    // A folder is not a file.
    if (IsDirectory(path))
        return nullptr;
    std::FILE* handle = _fsopen(path.c_str(), modeString.c_str(), _SH_DENYNO);
    if (!handle)
        return nullptr;
    std::unique_ptr<PXFileLE> stream;
    if (LittleEndianHost())
        stream = std::make_unique<PXFileLE>(handle);
    else
        stream = std::make_unique<PXFileBE>(handle);
    m_open.push_back(std::move(stream));
    return m_open.back().get();
}

int PXWin32FileManager::Close(PXFile* stream)
{
    auto mine = std::find_if(m_open.begin(), m_open.end(), [stream](const std::unique_ptr<PXFileLE>& open) {
        return open.get() == stream;
    });
    if (!stream || mine == m_open.end())
        return 2;
    if (std::FILE* handle = (*mine)->GetHandle()) {
        std::fflush(handle);
        std::fclose(handle);
    }
    m_open.erase(mine);
    return 1;
}

std::vector<PXFolderEntry> PXWin32FileManager::Search(const std::string& search)
{
    std::vector<PXFolderEntry> found;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(search.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE)
        return found;
    do {
        std::string name = data.cFileName;
        if (name == "." || name == "..")
            continue;
        // A link to a folder is not followed, so a recursive listing cannot loop.
        bool directory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                         (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
        found.push_back({name, directory});
    } while (FindNextFileA(find, &data));
    FindClose(find);
    // Listings (and so the order archives mount in) never depend on the file system's order.
    PXSortFolderEntries(found);
    return found;
}

void PXWin32FileManager::ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                                   std::vector<std::string>& out)
{
    PXListMatchingFiles(&Search, m_root, pattern, prefix, recursive, '\\', out);
}

int PXWin32FileManager::ListDirectories(const std::string& path, std::vector<std::string>& out)
{
    for (const PXFolderEntry& entry : Search(path + "\\*.*")) {
        if (entry.directory)
            out.push_back(entry.name);
    }
    return 1;
}
