// Registry-backed settings store and the shell's data folders.
#include "platform/win32/PXWin32SettingsManager.h"

#include <windows.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>

namespace {

bool IsFolder(const std::string& path)
{
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

PXWin32SettingsManager::PXWin32SettingsManager(std::string company, std::string game)
    : PXKeyedSettingsManager(std::move(company), std::move(game)), m_root(HKEY_CURRENT_USER)
{
}

PXWin32SettingsManager::~PXWin32SettingsManager()
{
    CloseKey();
}

std::string PXWin32SettingsManager::GetKeyPath() const
{
    std::string path = m_keyPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

bool PXWin32SettingsManager::Open()
{
    if (m_keyOpen)
        return true;
    if (m_keyPath.empty())
        return false;
    HKEY key = nullptr;
    if (RegCreateKeyExA(m_root, GetKeyPath().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        m_key = nullptr;
        return false;
    }
    m_key = key;
    m_keyOpen = true;
    return true;
}

int PXWin32SettingsManager::CloseKey()
{
    int closed = 0;
    if (m_keyOpen && m_key != nullptr)
        closed = RegCloseKey(m_key) == ERROR_SUCCESS ? 1 : 0;
    m_keyOpen = false;
    m_key = nullptr;
    return closed;
}

HKEY__* PXWin32SettingsManager::SetRootKey(HKEY__* root)
{
    m_root = root;
    return m_root;
}

void PXWin32SettingsManager::SelectRoot(bool machine)
{
    SetRootKey(machine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER);
}

bool PXWin32SettingsManager::ReadNumber(const std::string& name, int32_t& out)
{
    DWORD type = 0;
    uint8_t bytes[4] = {};
    DWORD size = sizeof bytes;
    bool ok = RegQueryValueExA(m_key, name.c_str(), nullptr, &type, bytes, &size) == ERROR_SUCCESS;
    if (ok) {
        // A shorter value fills only its own bytes; the rest stay zero.
        int32_t value = 0;
        std::memcpy(&value, bytes, sizeof value);
        out = value;
    }
    return ok;
}

bool PXWin32SettingsManager::ReadText(const std::string& name, std::string& out)
{
    char buffer[StringBufferSize];
    DWORD type = 0;
    DWORD size = sizeof buffer;
    bool ok = RegQueryValueExA(m_key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size) ==
              ERROR_SUCCESS;
    if (ok) {
        // The value need not end in a zero; the text ends before the last byte read.
        size = std::min<DWORD>(size, sizeof buffer);
        buffer[size == 0 ? 0 : size - 1] = '\0';
        out.assign(buffer, std::strlen(buffer));
    }
    return ok;
}

bool PXWin32SettingsManager::WriteNumber(const std::string& name, int32_t value)
{
    DWORD word = static_cast<DWORD>(value);
    return RegSetValueExA(m_key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&word), sizeof word) ==
           ERROR_SUCCESS;
}

bool PXWin32SettingsManager::WriteText(const std::string& name, const std::string& value)
{
    // The text up to its first zero, stored with the terminating zero.
    const std::string text(value.c_str());
    return RegSetValueExA(m_key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
}

int PXWin32SettingsManager::ListSubKeys(std::vector<std::string>& out)
{
    if (!Open()) {
        Finish(false);
        return 0;
    }
    for (DWORD index = 0;; ++index) {
        char name[StringBufferSize + 1];
        DWORD length = sizeof name;
        LONG result = RegEnumKeyExA(m_key, index, name, &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_NO_MORE_ITEMS)
            break;
        if (result == ERROR_SUCCESS)
            out.emplace_back(name, length);
        else if (result != ERROR_MORE_DATA)
            break;  // a name too long for the buffer is skipped; any other error ends the walk
    }
    Finish(true);
    return 0;
}

int PXWin32SettingsManager::DeleteSubKey(const std::string& name)
{
    if (!Open())
        return Finish(false);
    // RegDeleteKeyA refuses a key that has sub-keys; the store's sub-keys go with their parent.
    if (!name.empty())
        RegDeleteTreeA(m_key, name.c_str());
    return Finish(true);
}

bool PXWin32SettingsManager::CreateFolders(const std::string& path)
{
    std::string folder = path;
    while (folder.size() > 1 && EndsWithSeparator(folder))
        folder.pop_back();
    if (folder.empty())
        return false;
    if (CreateDirectoryA(folder.c_str(), nullptr))
        return true;
    DWORD error = GetLastError();
    if (error == ERROR_ALREADY_EXISTS)
        return IsFolder(folder);
    if (error != ERROR_PATH_NOT_FOUND)
        return false;
    size_t cut = folder.find_last_of("/\\");
    if (cut == std::string::npos || cut == 0)
        return false;
    std::string parent = folder.substr(0, cut);
    // A drive ("C:") has no parent to create.
    bool drive = parent.size() == 2 && parent[1] == ':';
    if (!drive && !CreateFolders(parent))
        return false;
    return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

std::string PXWin32SettingsManager::DataFolder(int csidl, const std::string& sub) const
{
    char base[MAX_PATH] = {};
    std::string path;
    if (SHGetFolderPathA(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, base) == S_OK)
        path = base;
    path = DataFolderPath(path, sub);
    if (!path.empty())
        CreateFolders(path);
    return path;
}

std::string PXWin32SettingsManager::GetUserDataFolder(const std::string& sub)
{
    return DataFolder(CSIDL_APPDATA, sub);
}

std::string PXWin32SettingsManager::GetSharedDataFolder(const std::string& sub)
{
    return DataFolder(CSIDL_COMMON_APPDATA, sub);
}
