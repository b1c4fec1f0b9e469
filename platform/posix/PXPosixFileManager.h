// Serves the files of a host folder. Names use '/' (a '\\' is taken as '/'), and a
// relative name whose exact spelling is missing is matched without case, one path
// component at a time, as on a case-insensitive host.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXFileManager.h"
#include "engine/files/PXFolderListing.h"

class PXFileLE;

class PXPosixFileManager : public PXFileManager {
public:
    PXPosixFileManager();
    // Streams still open are closed with the manager.
    ~PXPosixFileManager() override;
    PXPosixFileManager(const PXPosixFileManager&) = delete;
    PXPosixFileManager& operator=(const PXPosixFileManager&) = delete;

    // Opens root + name; mode bits 8 "a+", 1|2 "r+", 1 "r", 2 "w", and 4 adds "b".
    PXFile* Open(const std::string& name, uint32_t mode) override;
    // 1 when the stream was opened here (it is flushed, closed and destroyed), else 2.
    int Close(PXFile* stream) override;
    // Matches root + pattern ("*.ext", "*.*", "*"; '?' is one character) without case.
    // Recursive listings walk sub-folders first and name their entries "folder/name".
    void ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                   std::vector<std::string>& out) override;
    // The bare names of the folders in `path` (the root is not put in front). Returns 1.
    int ListDirectories(const std::string& path, std::vector<std::string>& out) override;

    // The existing host path for `path`, matched without case where the exact spelling
    // is missing; components that match nothing stay as written.
    static std::string ResolvePath(const std::string& path);
    // True when `path` names an existing folder.
    static bool IsFolder(const std::string& path);
    // Whole-name match of `name` against `pattern` without case; "*.*" matches all.
    static bool MatchPattern(const std::string& pattern, const std::string& name);

private:
    // The entries of the folder in `search` (folder part + name pattern) that match,
    // "." and ".." left out, sorted by name without case so that listings (and the order
    // archives mount in) never depend on the order readdir returns.
    static std::vector<PXFolderEntry> Search(const std::string& search);

    std::vector<std::unique_ptr<PXFileLE>> m_open;
};
