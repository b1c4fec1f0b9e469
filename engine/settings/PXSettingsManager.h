// The settings store: named 32-bit and text values under a key path made of
// "Software", the company and the game, plus the per-user and shared data folders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class PXSettingsManager {
public:
    PXSettingsManager(std::string company, std::string game);
    virtual ~PXSettingsManager();

    // Opens "Software/<company>/<game>".
    virtual int OpenGameKey();
    // Opens "Software/<company>/<game>/<sub>".
    virtual int OpenGameSubKey(const std::string& sub);

    virtual int OpenKey(const std::string& company, const std::string& part) = 0;
    virtual int CloseKey() = 0;
    virtual int UseMachineRoot() = 0;
    virtual int UseUserRoot() = 0;
    // Unsigned and float values are stored as the 32 bits of an int; a store that keeps
    // them apart overrides these.
    virtual int GetFloat(const std::string& name, float& out);
    virtual int GetUInt(const std::string& name, uint32_t& out);
    virtual int GetInt(const std::string& name, int32_t& out) = 0;
    virtual int GetString(const std::string& name, std::string& out) = 0;
    virtual int SetFloat(const std::string& name, float value);
    virtual int SetUInt(const std::string& name, uint32_t value);
    virtual int SetInt(const std::string& name, int32_t value) = 0;
    virtual int SetString(const std::string& name, const std::string& value) = 0;
    virtual int ListSubKeys(std::vector<std::string>& out) = 0;
    virtual int DeleteSubKey(const std::string& name) = 0;
    // Folder paths end in a separator; the folders are created when missing.
    virtual std::string GetUserDataFolder(const std::string& sub) = 0;
    virtual std::string GetSharedDataFolder(const std::string& sub) = 0;

    const std::string& GetCompanyName() const { return m_company; }
    const std::string& GetGameName() const { return m_game; }

    static bool EndsWithSeparator(const std::string& path);

protected:
    // Closes the key after an operation: CloseKey's result when the operation succeeded,
    // else 0.
    int Finish(bool ok);
    // "<base>/<company>/<game>/<sub>/" (base may end in a separator; an empty base gives
    // just "<sub>/", an empty sub no trailing part).
    std::string DataFolderPath(std::string base, const std::string& sub) const;

    bool m_keyOpen = false;
    std::string m_company;
    std::string m_game;
};
