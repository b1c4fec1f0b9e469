// An in-memory settings store whose data folders are one given folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "engine/settings/PXSettingsManager.h"

class FakeSettingsManager : public PXSettingsManager {
public:
    explicit FakeSettingsManager(std::string folder)
        : PXSettingsManager("Quillmoor", "Shardfall"), m_folder(std::move(folder))
    {
    }

    int OpenKey(const std::string&, const std::string&) override { return m_keyOpen = true; }
    int CloseKey() override
    {
        bool was = m_keyOpen;
        m_keyOpen = false;
        return was;
    }
    int UseMachineRoot() override { return 1; }
    int UseUserRoot() override { return 1; }
    int GetFloat(const std::string& name, float& out) override { return Get(m_floats, name, out); }
    int GetUInt(const std::string& name, uint32_t& out) override { return Get(m_uints, name, out); }
    int GetInt(const std::string& name, int32_t& out) override { return Get(m_ints, name, out); }
    int GetString(const std::string& name, std::string& out) override { return Get(m_strings, name, out); }
    int SetFloat(const std::string& name, float v) override { return m_floats[name] = v, 1; }
    int SetUInt(const std::string& name, uint32_t v) override { return m_uints[name] = v, 1; }
    int SetInt(const std::string& name, int32_t v) override { return m_ints[name] = v, 1; }
    int SetString(const std::string& name, const std::string& v) override { return m_strings[name] = v, 1; }
    int ListSubKeys(std::vector<std::string>&) override { return 0; }
    int DeleteSubKey(const std::string&) override { return 0; }
    std::string GetUserDataFolder(const std::string& sub) override { return m_folder + sub; }
    std::string GetSharedDataFolder(const std::string& sub) override { return m_folder + sub; }

private:
    template <typename Map, typename T>
    static int Get(const Map& map, const std::string& name, T& out)
    {
        auto it = map.find(name);
        if (it == map.end())
            return 0;
        out = it->second;
        return 1;
    }

    std::string m_folder;
    std::map<std::string, float> m_floats;
    std::map<std::string, uint32_t> m_uints;
    std::map<std::string, int32_t> m_ints;
    std::map<std::string, std::string> m_strings;
};
