// PXFileSystem: asks its managers in mount order; the first one that answers wins.
#include "engine/files/PXFileSystem.h"

#include "engine/files/PXFile.h"

PXFileSystem::PXFileSystem() = default;

PXFileSystem::~PXFileSystem()
{
    // Newest first: an archive mounted through this file system gives its stream back
    // through the managers before it, which must still be here to take it.
    while (!m_managers.empty()) {
        std::unique_ptr<PXFileManager> last = std::move(m_managers.back());
        m_managers.pop_back();
        last.reset();
    }
}

PXFile* PXFileSystem::Open(const std::string& name, uint32_t mode)
{
    for (const auto& manager : m_managers) {
        if (PXFile* stream = manager->Open(name, mode))
            return stream;
    }
    return nullptr;
}

int PXFileSystem::Close(PXFile* stream)
{
    for (const auto& manager : m_managers) {
        if (manager->Close(stream) == 1)
            return 1;
    }
    return 2;
}

int PXFileSystem::ListFiles(const std::string& pattern, const std::string& prefix, bool recursive,
                            std::vector<std::string>& out)
{
    for (const auto& manager : m_managers)
        manager->ListFiles(pattern, prefix, recursive, out);
    return 0;
}

int PXFileSystem::ListDirectories(const std::string& path, std::vector<std::string>& out)
{
    for (const auto& manager : m_managers)
        manager->ListDirectories(path, out);
    return 0;
}

int PXFileSystem::AddManager(std::unique_ptr<PXFileManager> manager, const std::string& root)
{
    if (!manager)
        return 0;
    manager->SetRoot(root);
    m_managers.push_back(std::move(manager));
    return 1;
}
