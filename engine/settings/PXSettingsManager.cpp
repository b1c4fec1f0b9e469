// The store-independent part of the settings manager: the game's own key paths.
#include "engine/settings/PXSettingsManager.h"

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
