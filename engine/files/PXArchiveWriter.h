// Builds a ".pxa" archive from a list of names, in the layout PXArchiveManager reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class PXFile;
class PXFileManager;

class PXArchiveWriter {
public:
    // Called after each member with the count done so far, the total and the member's name.
    using Progress = std::function<void(size_t done, size_t total, const std::string& name)>;

    // Reads every name through `source` (mode 5) and writes the archive into `archive`
    // from its current position on. Members are stored under the names as given, in the
    // given order. Returns the archive's length in bytes, 0 when a member cannot be read
    // or the archive would pass 4 GiB.
    static uint32_t Write(PXFileManager& source, const std::vector<std::string>& names, PXFile& archive,
                          const Progress& progress = {});

    // Opens `archiveName` through `target` with mode 6, writes it and closes it.
    static uint32_t Write(PXFileManager& source, const std::vector<std::string>& names,
                          PXFileManager& target, const std::string& archiveName,
                          const Progress& progress = {});
};
