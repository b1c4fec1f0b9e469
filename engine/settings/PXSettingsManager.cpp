// The store-independent part of the settings manager: the game's own key paths.
#include "engine/settings/PXSettingsManager.h"

#include <cstring>
#include <utility>

PXSettingsManager::PXSettingsManager(std::string company, std::string game)
    : m_company(std::move(company)), m_game(std::move(game))
{
}

PXSettingsManager::~PXSettingsManager() = default;

int PXSettingsManager::OpenGameKey()
{
    return OpenKey(m_company, m_game);
}

int PXSettingsManager::OpenGameSubKey(const std::string& sub)
{
    return OpenKey(m_company, m_game + "/" + sub);
}

int PXSettingsManager::GetUInt(const std::string& name, uint32_t& out)
{
    int32_t bits = 0;
    int result = GetInt(name, bits);
    if (result)
        std::memcpy(&out, &bits, sizeof out);
    return result;
}

int PXSettingsManager::GetFloat(const std::string& name, float& out)
{
    int32_t bits = 0;
    int result = GetInt(name, bits);
    if (result)
        std::memcpy(&out, &bits, sizeof out);
    return result;
}

int PXSettingsManager::SetUInt(const std::string& name, uint32_t value)
{
    int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return SetInt(name, bits);
}

int PXSettingsManager::SetFloat(const std::string& name, float value)
{
    int32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return SetInt(name, bits);
}

int PXSettingsManager::Finish(bool ok)
{
    int closed = CloseKey();
    return ok ? closed : 0;
}

bool PXSettingsManager::EndsWithSeparator(const std::string& path)
{
    return !path.empty() && (path.back() == '/' || path.back() == '\\');
}

std::string PXSettingsManager::DataFolderPath(std::string base, const std::string& sub) const
{
    if (!base.empty()) {
        if (!EndsWithSeparator(base))
            base += "/";
        base += m_company + "/" + m_game + "/";
    }
    base += sub;
    if (!sub.empty() && !EndsWithSeparator(sub))
        base += "/";
    return base;
}
