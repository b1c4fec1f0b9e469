// Instructions screen: on to the game, or back to the main menu with Escape.
#include "game/SFEntityInstrMenuScene.h"

#include "engine/core/PXEvent.h"
#include "engine/core/PXGame.h"
#include "engine/core/PXGlobals.h"

SFEntityInstrMenuScenePrototype g_instrMenuScenePrototype;

std::unique_ptr<PXEntityBase> SFEntityInstrMenuSceneType::CreateEntity()
{
    return std::make_unique<SFEntityInstrMenuScene>(this);
}

std::unique_ptr<PXEntityBaseType> SFEntityInstrMenuScenePrototype::CreateType(const PXDefinitionBlock* block) const
{
    return std::make_unique<SFEntityInstrMenuSceneType>(block);
}

void SFEntityInstrMenuScene::Go(const char* className, const char* entityName)
{
    if (g_game != nullptr) {
        g_game->ChangeScene(className, entityName, SceneType()->GetTransitionStyle());
    }
}

bool SFEntityInstrMenuScene::OnMouseUp(const PXPoint* /*point*/, int /*button*/)
{
    Go("SFGameScene", "maingame");
    return true;
}

bool SFEntityInstrMenuScene::OnKeyDown(int key)
{
    if (key == KeyEscape) {
        Go("SFMainMenuScene", "mainmenu");
    } else if (key != KeyF7) {
        // F7 reaches the scene after the game has toggled full screen with it; switching the
        // window mode is not a request to start.
        Go("SFGameScene", "maingame");
    }
    return true;
}
