// The high-score screen: table rows, the arrow, music and the way back to the main menu.
#include "game/SFEntityHighScoreMenuScene.h"

#include <cstdio>
#include <string>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXHighScore.h"
#include "engine/core/PXInputMap.h"
#include "game/SFHighScore.h"
#include "engine/gui/PXPropertyIds.h"

SFEntityHighScoreMenuScenePrototype g_highScoreMenuScenePrototype;

namespace {

constexpr uint32_t MenuSongId = 1;
constexpr float MenuSongFadeMs = 2000.0f;

// The score column's text by mode; other modes show the level text instead.
const char* const ModeFormats[] = {"%d - Original", "%d - Easy", "%d - Medium", "%d - Hard"};

bool HasEntity(const PXSceneElement* record)
{
    return record != nullptr && record->entity != nullptr;
}

std::string Format(const char* format, uint32_t value)
{
    char text[48];
    std::snprintf(text, sizeof(text), format, static_cast<int>(value));
    return text;
}

}  // namespace

SFEntityHighScoreMenuSceneType::SFEntityHighScoreMenuSceneType(const PXDefinitionBlock* block)
    : PXEntityHighScoreSceneType(block)
{
    m_levels.fill(-1);
    if (block == nullptr) {
        return;
    }
    char prefix[16];
    for (int row = 1; row <= Rows; ++row) {
        std::snprintf(prefix, sizeof(prefix), "Level%d", row);
        m_levels[static_cast<size_t>(row - 1)] = AddSlot(prefix, *block);
    }
}

std::unique_ptr<PXEntityBase> SFEntityHighScoreMenuSceneType::CreateEntity()
{
    return std::make_unique<SFEntityHighScoreMenuScene>(this);
}

PXHighScore* SFEntityHighScoreMenuSceneType::GetNewHighScore() const
{
    return g_newHighScore.get();
}

void SFEntityHighScoreMenuSceneType::ConsumeNewHighScore() const
{
    g_newHighScore.reset();
}

void SFEntityHighScoreMenuSceneType::SaveHighScores() const
{
    StoreHighScores();
}

std::unique_ptr<PXEntityBaseType> SFEntityHighScoreMenuScenePrototype::CreateType(const PXDefinitionBlock* block) const
{
    return std::make_unique<SFEntityHighScoreMenuSceneType>(block);
}

SFEntityHighScoreMenuScene::SFEntityHighScoreMenuScene(SFEntityHighScoreMenuSceneType* type)
    : PXEntityHighScoreScene(type)
{
    if (g_game != nullptr) {
        g_game->PlaySong(MenuSongId, MenuSongFadeMs);
    }
}

void SFEntityHighScoreMenuScene::FillRows()
{
    SFEntityHighScoreMenuSceneType* type = MenuType();
    PXSceneElement* arrow = type->GetArrow();
    if (HasEntity(arrow)) {
        arrow->entity->SetPosition({OffScreen, OffScreen});
    }
    const int32_t highlight = GetHighlightRow();
    for (int row = 1; row <= PXEntityHighScoreSceneType::Rows; ++row) {
        PXSceneElement* name = type->GetName(row);
        PXSceneElement* score = type->GetScore(row);
        PXSceneElement* level = type->GetLevel(row);
        if (!HasEntity(name) || !HasEntity(score) || !HasEntity(level)) {
            continue;
        }
        const PXHighScore* entry = g_highScores.EntryAt(row - 1);
        if (entry == nullptr) {
            name->entity->SetStringProperty(PXTextProp::Text, "");
            score->entity->SetStringProperty(PXTextProp::Text, "");
            level->entity->SetStringProperty(PXTextProp::Text, "");
            continue;
        }
        const int32_t y = FirstRowY + RowPitch * (row - 1);
        if (row - 1 == highlight && HasEntity(arrow)) {
            arrow->entity->SetPosition({ArrowX, y});
        }
        const auto* game = dynamic_cast<const SFHighScore*>(entry);
        const uint32_t levelReached = game != nullptr ? game->level : 0;
        const uint32_t mode = game != nullptr ? game->mode : 0;
        // The "Score" element shows the level and the "Level" element the score, as the
        // screen's layout expects.
        const std::string levelText = Format("%d", levelReached);
        name->entity->SetStringProperty(PXTextProp::Text, entry->name);
        score->entity->SetStringProperty(PXTextProp::Text, levelText);
        level->entity->SetStringProperty(PXTextProp::Text,
                                         mode < 4 ? Format(ModeFormats[mode], entry->score) : levelText);
    }
}

bool SFEntityHighScoreMenuScene::Update(float elapsedMs)
{
    if (IsModal() && GetDialogCount() > 0) {
        return PXEntity2DScene::Update(elapsedMs);
    }
    FillRows();
    PXSceneElement* nameEntry = MenuType()->GetNameEntryText();
    if (HasEntity(nameEntry)) {
        nameEntry->entity->SetProperty(PXTextProp::Editing, g_newHighScore != nullptr ? 1 : 0);
    }
    return PXEntityHighScoreScene::Update(elapsedMs);
}

void SFEntityHighScoreMenuScene::BackToMainMenu()
{
    if (g_game != nullptr) {
        g_game->ChangeScene("SFMainMenuScene", "mainmenu", MenuType()->GetTransitionStyle());
    }
}

bool SFEntityHighScoreMenuScene::OnKeyDown(int key)
{
    if (PXEntityHighScoreScene::OnKeyDown(key)) {
        return true;
    }
    // While a name is typed on the screen itself, Back still leaves.
    return g_inputMap.ForKey(PXInputContext::Menu, key) == PXInputAction::Back && OnBack();
}

bool SFEntityHighScoreMenuScene::OnElementPressed(PXEntity2DGUIElement* element)
{
    PXSceneElement* done = MenuType()->GetDone();
    if (element == nullptr || done == nullptr || done->entity.get() != element) {
        return false;
    }
    BackToMainMenu();
    return true;
}

bool SFEntityHighScoreMenuScene::OnBack()
{
    BackToMainMenu();
    return true;
}

bool SFEntityHighScoreMenuScene::OnDialogClosed(PXSceneDialog* dialog)
{
    if (dialog != nullptr && ((dialog->GetTag() == QuitTag && dialog->GetResult() == QuitResult) ||
                              (dialog->GetTag() == DoneTag && dialog->GetResult() == DoneResult))) {
        FinishNameEntry();
        BackToMainMenu();
        return true;
    }
    return PXEntityHighScoreScene::OnDialogClosed(dialog);
}
