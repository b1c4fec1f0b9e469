// One source of files (a host folder, an archive) behind the file system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PXFile;

class PXFileManager {
public:
    virtual ~PXFileManager() = default;

    // The host's buffered-file mode string for the mode bits (1 read, 2 write, 4 binary,
    // 8 append), empty when they ask for neither reading nor writing.
    static std::string ModeString(uint32_t mode);

    // A stream owned by this manager until Close, or nullptr.
    virtual PXFile* Open(const std::string& name, uint32_t mode) = 0;
    // 1 when this manager closed the stream; 2 (or 0 for an archive that is not loaded)
    // when it is not this manager's.
    virtual int Close(PXFile* stream) = 0;
    virtual void ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                           std::vector<std::string>& out) = 0;
    virtual int ListDirectories(const std::string& path, std::vector<std::string>& out);
    virtual void SetRoot(const std::string& root);

    const std::string& GetRoot() const { return m_root; }

protected:
    std::string m_root;
};
