// Serves the files of a host folder through the C runtime's shared-access opens and the
// FindFirstFileA directory search. Names are case-insensitive, as the host's are.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXFileManager.h"
#include "engine/files/PXFolderListing.h"

class PXFileLE;

class PXWin32FileManager : public PXFileManager {
public:
    PXWin32FileManager();
    // Streams still open are closed with the manager.
    ~PXWin32FileManager() override;
    PXWin32FileManager(const PXWin32FileManager&) = delete;
    PXWin32FileManager& operator=(const PXWin32FileManager&) = delete;

    // Opens root + name, readable and writable by other processes meanwhile; mode bits
    // 8 "a+", 1|2 "r+", 1 "r", 2 "w", and 4 adds "b".
    PXFile* Open(const std::string& name, uint32_t mode) override;
    // 1 when the stream was opened here (it is flushed, closed and destroyed), else 2.
    int Close(PXFile* stream) override;
    // Searches root + pattern; recursive listings walk sub-folders first and name their
    // entries "folder\name". Each folder's entries come sorted by name without case.
    void ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                   std::vector<std::string>& out) override;
    // The bare names of the folders in `path` (the root is not put in front). Returns 1.
    int ListDirectories(const std::string& path, std::vector<std::string>& out) override;


private:
    // The entries FindFirstFileA finds for `search`, "." and ".." left out.
    static std::vector<PXFolderEntry> Search(const std::string& search);

    std::vector<std::unique_ptr<PXFileLE>> m_open;
};
