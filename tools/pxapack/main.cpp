// pxapack: packs a folder into a ".pxa" archive, lists an archive, or writes one member
// to standard output.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/files/PXArchiveManager.h"
#include "engine/files/PXArchiveWriter.h"
#include "engine/files/PXBuffer.h"
#include "platform/posix/PXPosixFileManager.h"

namespace {

int Usage()
{
    std::fprintf(stderr, "usage: pxapack pack OUT.pxa DIR\n"
                         "       pxapack list ARCHIVE\n"
                         "       pxapack cat ARCHIVE NAME\n");
    return 2;
}

// Every file under the folder, named relative to it with '/', sorted for a
// reproducible archive.
std::vector<std::string> FilesUnder(PXPosixFileManager& folder)
{
    std::vector<std::string> listed;
    folder.ListFiles("*", "", true, listed);
    std::vector<std::string> files;
    for (const std::string& name : listed) {
        // The listing names folders too.
        if (!PXPosixFileManager::IsFolder(folder.GetRoot() + name))
            files.push_back(name);
    }
    std::sort(files.begin(), files.end());
    return files;
}

int Pack(const std::string& archive, std::string folder)
{
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    PXPosixFileManager source;
    source.SetRoot(folder);
    std::vector<std::string> names = FilesUnder(source);
    PXPosixFileManager target;
    if (PXArchiveWriter::Write(source, names, target, archive) == 0) {
        std::fprintf(stderr, "pxapack: cannot write %s\n", archive.c_str());
        return 1;
    }
    return 0;
}

int List(const std::string& archive)
{
    PXPosixFileManager host;
    PXArchiveManager reader(&host, archive);
    if (!reader.IsLoaded()) {
        std::fprintf(stderr, "pxapack: %s is not an archive\n", archive.c_str());
        return 1;
    }
    for (const PXArchiveManager::Entry& entry : reader.GetEntries())
        std::printf("%s\n", entry.name.c_str());
    return 0;
}

int Cat(const std::string& archive, const std::string& name)
{
    PXPosixFileManager host;
    PXArchiveManager reader(&host, archive);
    PXFile* member = reader.Open(name, FileModeRead | FileModeBinary);
    if (!member) {
        std::fprintf(stderr, "pxapack: %s has no member %s\n", archive.c_str(), name.c_str());
        return 1;
    }
    auto* buffer = static_cast<PXBuffer*>(member);
    size_t size = buffer->GetSize();
    bool ok = size == 0 || std::fwrite(buffer->GetData(), 1, size, stdout) == size;
    reader.Close(member);
    return ok && std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc == 4 && std::strcmp(argv[1], "pack") == 0)
        return Pack(argv[2], argv[3]);
    if (argc == 3 && std::strcmp(argv[1], "list") == 0)
        return List(argv[2]);
    if (argc == 4 && std::strcmp(argv[1], "cat") == 0)
        return Cat(argv[2], argv[3]);
    return Usage();
}
