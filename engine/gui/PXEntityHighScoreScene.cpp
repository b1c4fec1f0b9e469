// The high-score scene base: entering the waiting score, the name-entry dialog and its end.
#include "engine/gui/PXEntityHighScoreScene.h"

#include <cstdio>

#include "engine/core/PXEvent.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXHighScore.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntityDialogScene.h"
#include "engine/gui/PXEntityHighScoreInputScene.h"
#include "engine/gui/PXPropertyIds.h"

namespace {

constexpr int32_t AlignCentre = 3;
constexpr int32_t FrameWidth = 640;
constexpr int32_t FrameHeight = 480;
constexpr const char* EmptyName = "QMS";
constexpr const char* Prompt = "Enter your name to record your highscore:";

void SetText(PXSceneElement* record, const std::string& text)
{
    if (record != nullptr && record->entity != nullptr) {
        record->entity->SetStringProperty(PXTextProp::Text, text);
    }
}

void SetIntProperty(PXSceneElement* record, int32_t id, int32_t value)
{
    if (record != nullptr && record->entity != nullptr) {
        record->entity->SetProperty(id, value);
    }
}

}  // namespace

PXEntityHighScoreSceneType::PXEntityHighScoreSceneType(const PXDefinitionBlock* block) : PXEntity2DSceneType(block)
{
    m_names.fill(-1);
    m_scores.fill(-1);
    if (block == nullptr) {
        return;
    }
    char prefix[16];
    for (int row = 1; row <= Rows; ++row) {
        std::snprintf(prefix, sizeof(prefix), "Name%d", row);
        m_names[static_cast<size_t>(row - 1)] = AddSlot(prefix, *block);
        std::snprintf(prefix, sizeof(prefix), "Score%d", row);
        m_scores[static_cast<size_t>(row - 1)] = AddSlot(prefix, *block);
    }
    m_congrats = AddSlot("Congrats", *block);
    m_congrats2 = AddSlot("Congrats2", *block);
    m_done = AddSlot("Done", *block);
    m_arrow = AddSlot("Arrow", *block);
    m_hourglass = AddSlot("Hourglass", *block);
}

std::unique_ptr<PXEntityBase> PXEntityHighScoreSceneType::CreateEntity()
{
    return std::make_unique<PXEntityHighScoreScene>(this);
}

PXEntityHighScoreScene::PXEntityHighScoreScene(PXEntityHighScoreSceneType* type) : PXEntity2DScene(type)
{
    SetText(type->GetNameEntryText(), "");
    SetText(type->GetPromptText(), "");
    if (PXHighScore* waiting = type->GetNewHighScore()) {
        m_storedEntry = g_highScores.InsertEntry(*waiting, true);
        if (m_storedEntry != nullptr) {
            m_highlightRow = g_highScores.IndexOfNew();
            m_nameEntryActive = true;
            SetText(type->GetNameEntryText(), m_storedEntry->name);
            SetText(type->GetPromptText(), Prompt);
            m_openInputPending = true;
        }
    }
    for (PXSceneElement* congrats : {type->GetCongrats(), type->GetCongrats2()}) {
        SetText(congrats, "");
        SetIntProperty(congrats, PXFontProp::Justify, AlignCentre);
    }
    PXSceneElement* hourglass = type->GetHourglass();
    if (hourglass != nullptr && hourglass->entity != nullptr) {
        hourglass->entity->SetVisible(false);
    }
}

PXEntityHighScoreScene::~PXEntityHighScoreScene()
{
    // The table keeps its own copy of the score.
    HighScoreType()->ConsumeNewHighScore();
}

bool PXEntityHighScoreScene::Update(float elapsedMs)
{
    PXEntityHighScoreSceneType* type = HighScoreType();
    SetIntProperty(type->GetNameEntryText(), PXTextProp::Editing, m_nameEntryActive ? 1 : 0);
    SetIntProperty(type->GetCongrats2(), PXFontProp::Justify, AlignCentre);
    if (m_openInputPending) {
        PXEntity2DScene::Update(0.0f);
        if (m_nameEntryActive && m_storedEntry != nullptr) {
            OpenNameInput(m_storedEntry->name);
        }
        m_openInputPending = false;
        return true;
    }
    return PXEntity2DScene::Update(elapsedMs);
}

void PXEntityHighScoreScene::OpenNameInput(const std::string& name)
{
    if (g_entityRegistry == nullptr) {
        return;
    }
    // The game's own name-entry box when it defines one, else the engine's.
    std::unique_ptr<PXEntityBase> made =
        g_entityRegistry->CreateEntity("PXDialogScene", "scoreinputbox", PXKind::DialogScene);
    if (made == nullptr) {
        made = g_entityRegistry->CreateEntity("PXDialogScene", "inputbox", PXKind::DialogScene);
    }
    std::unique_ptr<PXSceneDialog> owned = EntityAs<PXSceneDialog>(std::move(made));
    if (owned == nullptr) {
        return;
    }
    PXRect r;
    owned->GetRect(&r);
    owned->SetPosition({(FrameWidth - (r.right - r.left)) >> 1, (FrameHeight - (r.bottom - r.top)) >> 1});
    PXEntity2DScene* inner = owned->GetInnerScene();
    if (inner != nullptr && inner->GetType()->IsA(PXKind::HighScoreInputScene)) {
        if (auto* input = dynamic_cast<PXEntityHighScoreInputScene*>(inner)) {
            input->SetName(name);
        }
    }
    AddDialog(NameEntryTag, std::move(owned), nullptr, nullptr, true);
}

bool PXEntityHighScoreScene::OnDialogClosed(PXSceneDialog* dialog)
{
    if (dialog == nullptr || dialog->GetTag() != NameEntryTag) {
        return true;
    }
    PXEntity2DScene* inner =
        dialog->GetType() != nullptr && dialog->GetType()->IsA(PXKind::DialogScene) ? dialog->GetInnerScene() : nullptr;
    if (inner != nullptr && inner->GetType()->IsA(PXKind::HighScoreInputScene) && m_nameEntryActive &&
        m_storedEntry != nullptr) {
        if (auto* input = dynamic_cast<PXEntityHighScoreInputScene*>(inner)) {
            m_storedEntry->name = input->GetEnteredName();
        }
    }
    FinishNameEntry();
    return true;
}

void PXEntityHighScoreScene::FinishNameEntry()
{
    if (m_nameEntryActive) {
        if (m_storedEntry != nullptr) {
            // A remembered name may be longer than the entry allows; the table keeps at most 32.
            if (m_storedEntry->name.size() > static_cast<size_t>(MaxNameLength)) {
                m_storedEntry->name.resize(static_cast<size_t>(MaxNameLength));
            }
            if (m_storedEntry->name.empty()) {
                m_storedEntry->name = EmptyName;
            }
            g_lastHighScoreName = m_storedEntry->name;
            // Saving merges in what another copy of the game wrote meanwhile, which may move
            // the new entry or push it out: find it again by its mark.
            HighScoreType()->SaveHighScores();
            m_highlightRow = g_highScores.IndexOfNew();
            m_storedEntry = g_highScores.EntryAt(m_highlightRow);
            if (m_storedEntry != nullptr) {
                m_storedEntry->isNew = 0;
            }
        }
        m_nameEntryActive = false;
    }
    SetText(HighScoreType()->GetNameEntryText(), "");
    SetText(HighScoreType()->GetPromptText(), "");
}

bool PXEntityHighScoreScene::OnKeyDown(int key)
{
    if (KeyToDialogs(key)) {
        return true;
    }
    if (key == KeyReturn) {
        FinishNameEntry();
    } else if (m_nameEntryActive && m_storedEntry != nullptr) {
        TypeIntoElement(*HighScoreType()->GetNameEntryText(), key, &m_storedEntry->name, MaxNameLength);
        return false;
    }
    return KeyToFocus(key);
}

bool PXEntityHighScoreScene::OnMouseUp(const PXPoint* point, int button)
{
    if (MouseUpToDialogs(point, button)) {
        return true;
    }
    // A click that nothing takes ends the entry.
    FinishNameEntry();
    return PressAt(point);
}
