// The settings store on a POSIX host: every key is a folder under $XDG_CONFIG_HOME (or
// ~/.config), its values one text file of typed lines, its sub-keys sub-folders. The
// machine root is a second tree beside the user's. Data folders live under $XDG_DATA_HOME.
//
// values.txt: the line "PXSettings 1", then one line per value, "u32<TAB>name<TAB>decimal"
// or "str<TAB>name<TAB>text", every line ended by LF. Names and texts escape backslash,
// tab, CR, LF and bytes outside printable ASCII ("\\", "\t", "\r", "\n", "\xHH"). A file
// that breaks any of this is damaged and reads as no values.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/settings/PXKeyedSettingsManager.h"

class PXPosixSettingsManager : public PXKeyedSettingsManager {
public:
    enum class Root { User, Machine };

    // Name of the values file inside each key folder, and of the file written before the
    // rename that replaces it.
    static constexpr const char* ValuesFileName = "values.txt";
    static constexpr const char* TempFileName = "values.txt.tmp";
    // Longest text value GetString hands out, as the store's readers have always allowed.
    static constexpr size_t MaxStringLength = 1023;

    PXPosixSettingsManager(std::string company, std::string game);
    ~PXPosixSettingsManager() override;

    int CloseKey() override;
    // Sub-key names in byte order; 1 when the key could be opened.
    int ListSubKeys(std::vector<std::string>& out) override;
    // 1 only when the sub-key existed and was removed with everything in it.
    int DeleteSubKey(const std::string& name) override;
    // Both are the same folder under $XDG_DATA_HOME.
    std::string GetUserDataFolder(const std::string& sub) override;
    std::string GetSharedDataFolder(const std::string& sub) override;
    virtual Root SetRootKey(Root root);

    // The folder of the current key ("" when no key path is set or no home is known).
    std::string GetKeyFolder() const;

private:
    struct Value {
        bool isText = false;
        uint32_t number = 0;
        std::string text;
    };
    using Values = std::map<std::string, Value>;

    // Makes the key's folder when it is missing.
    bool Open() override;
    void SelectRoot(bool machine) override;
    // A text line is not a number, a number line not a text; a text longer than
    // MaxStringLength is not read.
    bool ReadNumber(const std::string& name, int32_t& out) override;
    bool ReadText(const std::string& name, std::string& out) override;
    // Every write replaces the whole values file.
    bool WriteNumber(const std::string& name, int32_t value) override;
    bool WriteText(const std::string& name, const std::string& value) override;

    // The data folder "<XDG data>/<company>/<game>/<sub>/", created when missing.
    std::string DataFolder(const std::string& sub) const;
    // Reads the values file; a missing file is empty, a damaged one is logged and empty.
    Values LoadValues() const;
    bool SaveValues(const Values& values) const;
    // The value `name` of the open key's file, when it is there.
    bool FindValue(const std::string& name, Value& out) const;
    // Sets one value and saves the file.
    bool StoreValue(const std::string& name, const Value& value);

    Root m_root = Root::User;
    std::string m_openFolder;
};
