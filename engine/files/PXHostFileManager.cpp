// PXHostFileManager: the streams a host-folder file manager opened.
#include "engine/files/PXHostFileManager.h"

#include <algorithm>
#include <cstring>

#include "engine/files/PXFileLE.h"

PXHostFileManager::PXHostFileManager() = default;

PXHostFileManager::~PXHostFileManager()
{
    for (auto& stream : m_open) {
        if (stream->GetHandle())
            std::fclose(stream->GetHandle());
    }
}

bool PXHostFileManager::LittleEndianHost()
{
    const uint16_t one = 1;
    uint8_t first;
    std::memcpy(&first, &one, 1);
    return first == 1;
}

PXFile* PXHostFileManager::Open(const std::string& name, uint32_t mode)
{
    if (name.empty())
        return nullptr;
    std::string modeString = ModeString(mode);
    if (modeString.empty())
        return nullptr;
    std::string path = HostPath(name);
    // A folder is not a file, even where the host would open it for reading.
    if (IsHostFolder(path))
        return nullptr;
    std::FILE* handle = OpenHostFile(path, modeString);
    if (!handle)
        return nullptr;
    std::unique_ptr<PXFileLE> stream;
    if (LittleEndianHost())
        stream = std::make_unique<PXFileLE>(handle);
    else
        stream = std::make_unique<PXFileBE>(handle);
    m_open.push_back(std::move(stream));
    return m_open.back().get();
}

int PXHostFileManager::Close(PXFile* stream)
{
    auto mine = std::find_if(m_open.begin(), m_open.end(), [stream](const std::unique_ptr<PXFileLE>& open) {
        return open.get() == stream;
    });
    if (!stream || mine == m_open.end())
        return 2;
    if (std::FILE* handle = (*mine)->GetHandle()) {
        std::fflush(handle);
        std::fclose(handle);
    }
    m_open.erase(mine);
    return 1;
}
