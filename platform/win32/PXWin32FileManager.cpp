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

bool IsDirectory(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

std::string PXWin32FileManager::HostPath(const std::string& name) const
{
    return m_root + name;
}

bool PXWin32FileManager::IsHostFolder(const std::string& path) const
{
    return IsDirectory(path);
}

std::FILE* PXWin32FileManager::OpenHostFile(const std::string& path, const std::string& mode) const
{
    return _fsopen(path.c_str(), mode.c_str(), _SH_DENYNO);
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
