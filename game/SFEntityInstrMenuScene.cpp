// Instructions screen: the help list, then on to the game, or back to the main menu with Back.
#include "game/SFEntityInstrMenuScene.h"

#include "engine/core/PXEvent.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"
#include "engine/core/PXInputMap.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/gui/PXEntity2DGUIListBox.h"

SFEntityInstrMenuScenePrototype g_instrMenuScenePrototype;

SFEntityInstrMenuSceneType::SFEntityInstrMenuSceneType(const PXDefinitionBlock* block) : PXEntity2DSceneType(block)
{
    if (block == nullptr) {
        return;
    }
    m_helpSlot = AddSlot("Help", *block);
    if (block->FindKey("HelpFile")) {
        block->ReadString(&m_helpFile);
    }
}

std::unique_ptr<PXEntityBase> SFEntityInstrMenuSceneType::CreateEntity()
{
    return std::make_unique<SFEntityInstrMenuScene>(this);
}

PXEntity2DGUIListBox* SFEntityInstrMenuSceneType::GetHelpList() const
{
    return dynamic_cast<PXEntity2DGUIListBox*>(SlotEntity(m_helpSlot));
}

std::unique_ptr<PXEntityBaseType> SFEntityInstrMenuScenePrototype::CreateType(const PXDefinitionBlock* block) const
{
    return std::make_unique<SFEntityInstrMenuSceneType>(block);
}

SFEntityInstrMenuScene::SFEntityInstrMenuScene(SFEntityInstrMenuSceneType* type) : PXEntity2DScene(type)
{
    PXEntity2DGUIListBox* help = HelpList();
    if (help != nullptr && !type->GetHelpFile().empty()) {
        help->SetProperty(PXListBoxProp::ViewOnly, 1);
        help->SetStringProperty(PXListBoxProp::ShowFile, type->GetHelpFile());
    }
}

PXEntity2DGUIListBox* SFEntityInstrMenuScene::HelpList() const
{
    return static_cast<SFEntityInstrMenuSceneType*>(m_type)->GetHelpList();
}

void SFEntityInstrMenuScene::Go(const char* className, const char* entityName)
{
    if (g_game != nullptr) {
        g_game->ChangeScene(className, entityName, SceneType()->GetTransitionStyle());
    }
}

bool SFEntityInstrMenuScene::OnMouseUp(const PXPoint* point, int /*button*/)
{
    PXEntity2DGUIListBox* help = HelpList();
    if (point != nullptr && help != nullptr && help->HitsScrollControls(*point)) {
        help->Click(*point);
        return true;
    }
    Go("SFGameScene", "maingame");
    return true;
}

bool SFEntityInstrMenuScene::OnKeyDown(int key)
{
    // F7 reaches the scene after the game has toggled full screen with it; switching the
    // window mode is not a request to start.
    return key == KeyF7 || PXEntity2DScene::OnKeyDown(key);
}

bool SFEntityInstrMenuScene::OnInputAction(PXInputAction action)
{
    switch (action) {
    case PXInputAction::Back:
        return OnBack();
    case PXInputAction::FocusUp:
    case PXInputAction::FocusDown:
    case PXInputAction::FocusLeft:
    case PXInputAction::FocusRight:
    case PXInputAction::FocusNext:
    case PXInputAction::FocusPrevious:
    case PXInputAction::PageUp:
    case PXInputAction::PageDown:
    case PXInputAction::Home:
    case PXInputAction::End:
        // Navigation scrolls the help (the list takes the focus) and never starts.
        PXEntity2DScene::OnInputAction(action);
        return true;
    default:
        Go("SFGameScene", "maingame");
        return true;
    }
}

bool SFEntityInstrMenuScene::OnBack()
{
    Go("SFMainMenuScene", "mainmenu");
    return true;
}
