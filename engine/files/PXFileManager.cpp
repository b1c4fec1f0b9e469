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
