// The settings store on the registry: named REG_DWORD and REG_SZ values under
// "Software\<company>\<game>" of the current user (or the machine), and the per-user and
// all-users application-data folders of the shell.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/settings/PXKeyedSettingsManager.h"

struct HKEY__;

class PXWin32SettingsManager : public PXKeyedSettingsManager {
public:
    // Longest text value GetString reads, terminating zero included.
    static constexpr uint32_t StringBufferSize = 1024;

    PXWin32SettingsManager(std::string company, std::string game);
    ~PXWin32SettingsManager() override;
    PXWin32SettingsManager(const PXWin32SettingsManager&) = delete;
    PXWin32SettingsManager& operator=(const PXWin32SettingsManager&) = delete;

    int CloseKey() override;
    // Sub-key names in the registry's order. Returns 0.
    int ListSubKeys(std::vector<std::string>& out) override;
    // Removes the sub-key and everything below it.
    int DeleteSubKey(const std::string& name) override;
    std::string GetUserDataFolder(const std::string& sub) override;
    std::string GetSharedDataFolder(const std::string& sub) override;

    // The root used at the next opening; returns it.
    virtual HKEY__* SetRootKey(HKEY__* root);

    // The registry path of the key OpenKey named, "Software\<company>\<part>" ('/' in
    // part separates sub-keys too).
    std::string GetKeyPath() const;
    // Creates every missing folder of `path` ('/' or '\' separated); true when it exists.
    static bool CreateFolders(const std::string& path);
    // The shell folder `csidl` followed by "<company>/<game>/<sub>/", created when missing.
    std::string DataFolder(int csidl, const std::string& sub) const;

private:
    // Creates the key when it is missing.
    bool Open() override;
    // REG_DWORD, and REG_SZ of the text up to its first zero byte.
    bool WriteNumber(const std::string& name, int32_t value) override;
    bool WriteText(const std::string& name, const std::string& value) override;
    // Any value type: the first 4 bytes (a shorter value fills only its own), or the text up
    // to the last byte read.
    bool ReadNumber(const std::string& name, int32_t& out) override;
    bool ReadText(const std::string& name, std::string& out) override;
    void SelectRoot(bool machine) override;

    HKEY__* m_root;
    HKEY__* m_key = nullptr;
};
