// Main menu: its element records, the button order, the version text and the about page.
#include "game/SFEntityMainMenuScene.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/core/PXOpenDocument.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "game/SFPlayField.h"

SFEntityMainMenuScenePrototype g_mainMenuScenePrototype;

namespace {

// Definition key prefixes, one per slot and in slot order.
constexpr const char* SlotPrefixes[SFEntityMainMenuSceneType::SlotCount] = {
    "StartEasyGame", "StartMediumGame", "StartHardGame", "HighScore", "Options", "WebPage", "Quit", "Ver"};

constexpr uint32_t MenuSongId = 1;
constexpr float MenuSongFadeMs = 2000.0f;

}  // namespace

SFEntityMainMenuSceneType::SFEntityMainMenuSceneType(const PXDefinitionBlock* block) : PXEntity2DSceneType(block)
{
    m_slots.fill(-1);
    if (block == nullptr) {
        return;
    }
    AddSlots(SlotPrefixes, SlotCount, *block, m_slots.data());
}

std::unique_ptr<PXEntityBase> SFEntityMainMenuSceneType::CreateEntity()
{
    return std::make_unique<SFEntityMainMenuScene>(this);
}

const PXSceneElement* SFEntityMainMenuSceneType::GetSlot(Slot slot)
{
    return slot < SlotCount ? SlotRecord(m_slots[slot]) : nullptr;
}

PXEntity2DGUIElement* SFEntityMainMenuSceneType::GetSlotEntity(Slot slot)
{
    return slot < SlotCount ? SlotEntity(m_slots[slot]) : nullptr;
}

int SFEntityMainMenuSceneType::SlotOfElement(const PXEntity2DGUIElement* element) const
{
    return IndexOfSlot(element, m_slots.data(), SlotCount);
}

std::unique_ptr<PXEntityBaseType> SFEntityMainMenuScenePrototype::CreateType(const PXDefinitionBlock* block) const
{
    return std::make_unique<SFEntityMainMenuSceneType>(block);
}

SFEntityMainMenuScene::SFEntityMainMenuScene(SFEntityMainMenuSceneType* type) : PXEntity2DScene(type)
{
    if (PXEntity2DGUIElement* version = type->GetSlotEntity(SFEntityMainMenuSceneType::Ver)) {
        version->SetProperty(PXFontProp::Justify, PXJustify::Right);
        version->SetStringProperty(PXTextProp::Text, Version);
    }
    if (g_game != nullptr) {
        g_game->PlaySong(MenuSongId, MenuSongFadeMs);
    }
}

void SFEntityMainMenuScene::Go(const char* className, const char* entityName)
{
    if (g_game != nullptr) {
        g_game->ChangeScene(className, entityName, SceneType()->GetTransitionStyle());
    }
}

void SFEntityMainMenuScene::StartGame(int32_t difficulty)
{
    g_difficulty = difficulty;
    Go("SFInstrMenuScene", "instrmenu");
}

bool SFEntityMainMenuScene::OnElementPressed(PXEntity2DGUIElement* element)
{
    using Menu = SFEntityMainMenuSceneType;
    const int slot = MenuType()->SlotOfElement(element);
    switch (slot) {
    case Menu::Quit:
        return OnBack();
    case Menu::WebPage:
        OpenDocument(WebPageTarget());
        return true;
    case Menu::HighScore:
        Go("SFHighScoreMenuScene", "highscores");
        return true;
    case Menu::Options:
        Go("SFOptionsMenuScene", "options");
        return true;
    case Menu::StartEasyGame:
    case Menu::StartMediumGame:
    case Menu::StartHardGame:
        StartGame(slot - Menu::StartEasyGame);
        return true;
    default:
        return false;
    }
}

bool SFEntityMainMenuScene::OnKeyDown(int key)
{
    if (g_inputMap.ForKey(PXInputContext::Menu, key) == PXInputAction::Back) {
        return OnBack();
    }
    return PXEntity2DScene::OnKeyDown(key);
}

bool SFEntityMainMenuScene::OnBack()
{
    if (g_game != nullptr) {
        g_game->RequestQuit();
    }
    return true;
}

std::string SFEntityMainMenuScene::WebPageTarget()
{
    const std::string& folder = GetProgramFolder();
    if (!folder.empty()) {
        const std::string page = folder + AboutPage;
        if (std::ifstream(page, std::ios::binary).is_open()) {
            return page;
        }
    }
    return ProjectAddress;
}
