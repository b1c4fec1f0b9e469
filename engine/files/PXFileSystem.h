// The ordered list of file managers that every data file is found through: the first
// manager that has a name answers, so loose files shadow archived ones.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXFileManager.h"

class PXFile;

class PXFileSystem {
public:
    PXFileSystem();
    virtual ~PXFileSystem();
    PXFileSystem(const PXFileSystem&) = delete;
    PXFileSystem& operator=(const PXFileSystem&) = delete;

    virtual PXFile* Open(const std::string& name, uint32_t mode);
    // 1 when some manager closed the stream, else 2.
    virtual int Close(PXFile* stream);
    virtual int ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                          std::vector<std::string>& out);
    virtual int ListDirectories(const std::string& path, std::vector<std::string>& out);

    // Sets the manager's root and appends it; the file system owns it from now on.
    // 0 when no manager is given.
    int AddManager(std::unique_ptr<PXFileManager> manager, const std::string& root);

private:
    std::vector<std::unique_ptr<PXFileManager>> m_managers;
};
