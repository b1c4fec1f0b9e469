// PXPosixFileManager: fopen and opendir/readdir behind the engine's file manager.
#include "platform/posix/PXPosixFileManager.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>

#include "engine/files/PXFileLE.h"

namespace {

bool Exists(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

bool IsDirectory(const std::string& path)
{
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

// A folder entry that is itself a folder; a link to one is not followed, so a
// recursive listing cannot loop.
bool IsRealDirectory(const std::string& path)
{
    struct stat info;
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string ToHostSeparators(std::string path)
{
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

// The entry of `folder` whose name equals `component` without case, or empty.
std::string FindWithoutCase(const std::string& folder, const std::string& component)
{
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (!dir)
        return std::string();
    std::string match;
    while (dirent* entry = ::readdir(dir)) {
        if (::strcasecmp(entry->d_name, component.c_str()) == 0) {
            match = entry->d_name;
            break;
        }
    }
    ::closedir(dir);
    return match;
}

int Fold(char c)
{
    return (c >= 'A' && c <= 'Z') ? c - 'A' + 'a' : static_cast<unsigned char>(c);
}

bool Match(const char* pattern, const char* name)
{
    // Iterative wildcard match with one backtrack point for the last '*'.
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name) {
        if (*pattern == '*') {
            star = pattern++;
            resume = name;
        } else if (*pattern == '?' || (*pattern && Fold(*pattern) == Fold(*name))) {
            ++pattern;
            ++name;
        } else if (star) {
            pattern = star + 1;
            name = ++resume;
        } else {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

}  // namespace

std::string PXPosixFileManager::ResolvePath(const std::string& path)
{
    if (path.empty() || Exists(path))
        return path;
    std::string resolved;
    size_t start = 0;
    if (path[0] == '/') {
        resolved = "/";
        start = 1;
    }
    bool searching = true;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos)
            end = path.size();
        std::string component = path.substr(start, end - start);
        if (!component.empty()) {
            std::string candidate = resolved + component;
            if (searching && component != "." && component != ".." && !Exists(candidate)) {
                std::string match = FindWithoutCase(resolved, component);
                if (!match.empty())
                    candidate = resolved + match;
                else
                    searching = false;  // nothing below a missing folder can match
            }
            resolved = candidate;
        }
        if (end < path.size())
            resolved += '/';
        start = end + 1;
    }
    return resolved;
}

bool PXPosixFileManager::IsFolder(const std::string& path)
{
    return IsDirectory(path);
}

bool PXPosixFileManager::MatchPattern(const std::string& pattern, const std::string& name)
{
    // "*.*" means every name, dot or not, as the data's listings expect.
    if (pattern == "*.*")
        return true;
    return Match(pattern.c_str(), name.c_str());
}

std::string PXPosixFileManager::HostPath(const std::string& name) const
{
    return ResolvePath(ToHostSeparators(m_root + name));
}

bool PXPosixFileManager::IsHostFolder(const std::string& path) const
{
    return IsDirectory(path);
}

std::FILE* PXPosixFileManager::OpenHostFile(const std::string& path, const std::string& mode) const
{
    return std::fopen(path.c_str(), mode.c_str());
}

std::vector<PXFolderEntry> PXPosixFileManager::Search(const std::string& search)
{
    std::string path = ToHostSeparators(search);
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    std::string pattern = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string hostFolder = ResolvePath(folder);

    std::vector<PXFolderEntry> found;
    DIR* dir = ::opendir(hostFolder.empty() ? "." : hostFolder.c_str());
    if (!dir)
        return found;
    while (dirent* entry = ::readdir(dir)) {
        std::string name = entry->d_name;
        if (name == "." || name == ".." || !MatchPattern(pattern, name))
            continue;
        found.push_back({name, IsRealDirectory(hostFolder + name)});
    }
    ::closedir(dir);
    PXSortFolderEntries(found);
    return found;
}

void PXPosixFileManager::ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                                   std::vector<std::string>& out)
{
    PXListMatchingFiles(&Search, m_root, pattern, prefix, recursive, '/', out);
}

int PXPosixFileManager::ListDirectories(const std::string& path, std::vector<std::string>& out)
{
    for (const PXFolderEntry& entry : Search(path + "/*.*")) {
        if (entry.directory)
            out.push_back(entry.name);
    }
    return 1;
}
