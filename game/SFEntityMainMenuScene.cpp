// Main menu: its element records, the button order, the version text and the about page.
#include "game/SFEntityMainMenuScene.h"

#include <algorithm>
#include <fstream>
#include <vector>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXOpenDocument.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "game/SFPlayField.h"

SFEntityMainMenuScenePrototype g_mainMenuScenePrototype;

namespace {

// Definition key prefixes, one per slot and in slot order.
constexpr const char* SlotPrefixes[SFEntityMainMenuSceneType::SlotCount] = {
    "Quit", "WebPage", "HighScore", "StartEasyGame", "StartMediumGame", "StartHardGame", "Ver"};

constexpr uint32_t MenuSongId = 1;
constexpr float MenuSongFadeMs = 2000.0f;

}  // namespace

SFEntityMainMenuSceneType::SFEntityMainMenuSceneType(const PXDefinitionBlock* block) : PXEntity2DSceneType(block)
{
    m_slots.fill(-1);
    if (block == nullptr) {
        return;
    }
    for (size_t slot = 0; slot < SlotCount; ++slot) {
        m_slots[slot] = AddSlot(SlotPrefixes[slot], *block);
    }
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

bool SFEntityMainMenuScene::Hit(SFEntityMainMenuSceneType::Slot slot, const PXPoint& point)
{
    const PXSceneElement* record = MenuType()->GetSlot(slot);
    return record != nullptr && ClickElement(*record, point);
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

bool SFEntityMainMenuScene::OnMouseUp(const PXPoint* point, int button)
{
    using Menu = SFEntityMainMenuSceneType;
    if (point == nullptr) {
        return PXEntity2DScene::OnMouseUp(point, button);
    }
    // Quit is tried first, so where it overlaps another button the click quits.
    if (Hit(Menu::Quit, *point)) {
        if (g_game != nullptr) {
            g_game->RequestQuit();
        }
    } else if (Hit(Menu::WebPage, *point)) {
        OpenDocument(WebPageTarget());
    } else if (Hit(Menu::HighScore, *point)) {
        Go("SFHighScoreMenuScene", "highscores");
    } else if (Hit(Menu::StartEasyGame, *point)) {
        StartGame(0);
    } else if (Hit(Menu::StartMediumGame, *point)) {
        StartGame(1);
    } else if (Hit(Menu::StartHardGame, *point)) {
        StartGame(2);
    } else {
        return PXEntity2DScene::OnMouseUp(point, button);
    }
    return true;
}

bool SFEntityMainMenuScene::OnKeyDown(int key)
{
    if (key == KeyEscape) {
        if (g_game != nullptr) {
            g_game->RequestQuit();
        }
        return true;
    }
    return PXEntity2DScene::OnKeyDown(key);
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
