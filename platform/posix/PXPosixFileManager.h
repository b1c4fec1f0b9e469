// Serves the files of a host folder. Names use '/' (a '\\' is taken as '/'), and a
// relative name whose exact spelling is missing is matched without case, one path
// component at a time, as on a case-insensitive host.
#pragma once

#include <string>
#include <vector>

#include "engine/files/PXHostFileManager.h"
#include "engine/files/PXFolderListing.h"

class PXPosixFileManager : public PXHostFileManager {
public:
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

protected:
    // Open reads root + name, matched without case where the exact spelling is missing.
    std::string HostPath(const std::string& name) const override;
    bool IsHostFolder(const std::string& path) const override;
    std::FILE* OpenHostFile(const std::string& path, const std::string& mode) const override;

private:
    // The entries of the folder in `search` (folder part + name pattern) that match,
    // "." and ".." left out, sorted by name without case so that listings (and the order
    // archives mount in) never depend on the order readdir returns.
    static std::vector<PXFolderEntry> Search(const std::string& search);
};
