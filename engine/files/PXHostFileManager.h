// The part of a host-folder file manager every host shares: the streams it opened, their
// byte order, and closing them. A host supplies the path, the folder check and the open.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "engine/files/PXFileManager.h"

class PXFileLE;

class PXHostFileManager : public PXFileManager {
public:
    PXHostFileManager();
    // Streams still open are closed with the manager.
    ~PXHostFileManager() override;
    PXHostFileManager(const PXHostFileManager&) = delete;
    PXHostFileManager& operator=(const PXHostFileManager&) = delete;

    // Opens HostPath(name) with ModeString(mode); nullptr for an empty name, a mode that
    // neither reads nor writes, a folder, or a failed open.
    PXFile* Open(const std::string& name, uint32_t mode) override;
    // 1 when the stream was opened here (it is flushed, closed and destroyed), else 2.
    int Close(PXFile* stream) override;

    // True when this host stores the low byte of a number first.
    static bool LittleEndianHost();

protected:
    // The host path of `name` under the root.
    virtual std::string HostPath(const std::string& name) const = 0;
    virtual bool IsHostFolder(const std::string& path) const = 0;
    // The host's buffered open of `path` with the mode string, or nullptr.
    virtual std::FILE* OpenHostFile(const std::string& path, const std::string& mode) const = 0;

private:
    std::vector<std::unique_ptr<PXFileLE>> m_open;
};
