// A settings store that keeps its values under one open key at a time (a registry key, a
// folder): choosing the root, opening "Software/<company>/<part>" and the typed get and set
// are the same for every such store and are written here; a store supplies the opening of
// the key and the reading and writing of one value in it.
#pragma once

#include <cstdint>
#include <string>

#include "engine/settings/PXSettingsManager.h"

class PXKeyedSettingsManager : public PXSettingsManager {
public:
    using PXSettingsManager::PXSettingsManager;

    // Closes the key that is open, then opens "Software/<company>/<part>".
    int OpenKey(const std::string& company, const std::string& part) override;
    // Closes the key that is open; the next opening is under the machine's (or the
    // user's) root. Always 1.
    int UseMachineRoot() override;
    int UseUserRoot() override;
    // Each opens the key when it is not open yet, reads or writes the value, and closes the
    // key (Finish): 1 when all of it worked.
    int GetInt(const std::string& name, int32_t& out) override;
    int GetString(const std::string& name, std::string& out) override;
    int SetInt(const std::string& name, int32_t value) override;
    int SetString(const std::string& name, const std::string& value) override;

protected:
    // Opens the key at m_keyPath unless it is open (m_keyOpen); true when it is open.
    virtual bool Open() = 0;
    // The root the next opening uses.
    virtual void SelectRoot(bool machine) = 0;
    // One value of the open key; false when it is missing, of the other kind or not
    // readable (the outputs are then left alone), or when it could not be written.
    virtual bool ReadNumber(const std::string& name, int32_t& out) = 0;
    virtual bool ReadText(const std::string& name, std::string& out) = 0;
    virtual bool WriteNumber(const std::string& name, int32_t value) = 0;
    virtual bool WriteText(const std::string& name, const std::string& value) = 0;

    // "Software/<company>/<part>" from the last OpenKey, '/'-separated; "" before it.
    std::string m_keyPath;
};
