// Serves the files of a host folder through the C runtime's shared-access opens and the
// FindFirstFileA directory search. Names are case-insensitive, as the host's are.
#pragma once

#include <string>
#include <vector>

#include "engine/files/PXHostFileManager.h"
#include "engine/files/PXFolderListing.h"

class PXWin32FileManager : public PXHostFileManager {
public:
    // Searches root + pattern; recursive listings walk sub-folders first and name their
    // entries "folder\name". Each folder's entries come sorted by name without case.
    void ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                   std::vector<std::string>& out) override;
    // The bare names of the folders in `path` (the root is not put in front). Returns 1.
    int ListDirectories(const std::string& path, std::vector<std::string>& out) override;

protected:
    // Open reads root + name, readable and writable by other processes meanwhile.
    std::string HostPath(const std::string& name) const override;
    bool IsHostFolder(const std::string& path) const override;
    std::FILE* OpenHostFile(const std::string& path, const std::string& mode) const override;

private:
    // The entries FindFirstFileA finds for `search`, "." and ".." left out.
    static std::vector<PXFolderEntry> Search(const std::string& search);
};
