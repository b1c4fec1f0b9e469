// The store-independent frame around each value: open the key, do the one operation,
// close the key.
#include "engine/settings/PXKeyedSettingsManager.h"

int PXKeyedSettingsManager::OpenKey(const std::string& company, const std::string& part)
{
    CloseKey();
    m_keyPath = "Software/" + company + "/" + part;
    return Open() ? 1 : 0;
}

int PXKeyedSettingsManager::UseMachineRoot()
{
    CloseKey();
    SelectRoot(true);
    return 1;
}

int PXKeyedSettingsManager::UseUserRoot()
{
    CloseKey();
    SelectRoot(false);
    return 1;
}

int PXKeyedSettingsManager::GetInt(const std::string& name, int32_t& out)
{
    return Finish(Open() && ReadNumber(name, out));
}

int PXKeyedSettingsManager::GetString(const std::string& name, std::string& out)
{
    return Finish(Open() && ReadText(name, out));
}

int PXKeyedSettingsManager::SetInt(const std::string& name, int32_t value)
{
    return Finish(Open() && WriteNumber(name, value));
}

int PXKeyedSettingsManager::SetString(const std::string& name, const std::string& value)
{
    return Finish(Open() && WriteText(name, value));
}
