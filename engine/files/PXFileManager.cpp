// PXFileManager: the root every name is opened under; listing folders is optional.
#include "engine/files/PXFileManager.h"

int PXFileManager::ListDirectories(const std::string&, std::vector<std::string>&)
{
    return 0;
}

void PXFileManager::SetRoot(const std::string& root)
{
    m_root = root;
}

std::string PXFileManager::ModeString(uint32_t mode)
{
    std::string text;
    if (mode & 8)
        text = "a+";
    else if ((mode & 1) && (mode & 2))
        text = "r+";
    else if (mode & 1)
        text = "r";
    else if (mode & 2)
        text = "w";
    else
        return std::string();
    if (mode & 4)
        text += "b";
    return text;
}
