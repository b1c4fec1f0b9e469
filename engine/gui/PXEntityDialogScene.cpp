// The dialog scene: creating the hosted scene, placing and drawing its elements, and
// passing the input on to it.
#include "engine/gui/PXEntityDialogScene.h"

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntity2DScene.h"
#include "engine/entity/PXEntityRegistry.h"

PXEntityDialogSceneType::PXEntityDialogSceneType(const PXDefinitionBlock* block) : PXEntityDialogBoxType(block)
{
    if (block != nullptr) {
        ReadRef(block, "SceneEnt", &m_sceneRef);
    }
}

std::unique_ptr<PXEntityBase> PXEntityDialogSceneType::CreateEntity()
{
    return std::make_unique<PXEntityDialogScene>(this);
}

bool PXEntityDialogSceneType::IsA(uint32_t kind) const
{
    return kind == PXKind::DialogScene || PXEntityDialogBoxType::IsA(kind);
}

PXEntityDialogScene::PXEntityDialogScene(PXEntityBaseType* type) : PXEntityDialogBox(type) {}

PXEntityDialogScene::~PXEntityDialogScene() = default;

void PXEntityDialogScene::LoadScene(bool reload)
{
    if (reload) {
        UnloadScene();
    }
    if (m_contentLoaded) {
        return;
    }
    const PXEntityRef& ref = SceneDialogType()->GetSceneRef();
    if (m_scene == nullptr) {
        m_scene = CreateEntityAs<PXEntity2DScene>(g_entityRegistry, ref, PXKind::Scene);
        if (m_scene != nullptr) {
            m_scene->SetHostDialog(this);
        }
    }
    m_contentLoaded = true;
}

void PXEntityDialogScene::UnloadScene()
{
    m_scene.reset();
    m_contentLoaded = false;
}

PXEntity2DScene* PXEntityDialogScene::GetInnerScene()
{
    LoadScene(false);
    return m_scene.get();
}

void PXEntityDialogScene::PlaceElements()
{
    const PXPoint c = GetClientOffset();
    for (PXSceneElement& record : m_scene->SceneType()->GetElements()) {
        if (record.entity != nullptr) {
            record.entity->SetPosition({m_x + record.x + c.x, m_y + record.y + c.y});
        }
    }
}

void PXEntityDialogScene::DrawElements(bool topLayer)
{
    for (PXSceneElement& record : m_scene->SceneType()->GetElements()) {
        const bool top = record.priority >= PXEntity2DSceneType::TopLayerPriority;
        if (record.entity != nullptr && top == topLayer && record.entity->IsVisible()) {
            record.entity->Draw();
        }
    }
}

bool PXEntityDialogScene::Update(float elapsedMs)
{
    PXEntityDialogBox::Update(elapsedMs);
    LoadScene(false);
    if (m_scene != nullptr) {
        m_scene->SceneType()->Load(false);
        PlaceElements();
        m_scene->SetHostDialog(this);
        m_scene->Update(elapsedMs);
    }
    return true;
}

bool PXEntityDialogScene::Draw()
{
    PXEntityDialogBox::Draw();
    LoadScene(false);
    if (m_scene == nullptr) {
        return true;
    }
    m_scene->SceneType()->Load(false);
    PlaceElements();
    // The hosted scene draws none of its elements itself, but a subclass may draw its own
    // content; the elements follow in the scene's layer order.
    m_scene->Draw();
    DrawElements(false);
    m_scene->DrawTop();
    DrawElements(true);
    return true;
}

bool PXEntityDialogScene::DialogMouseUp(const PXPoint* point, int button)
{
    if (PXEntity2DScene* scene = GetInnerScene()) {
        scene->OnMouseUp(point, button);
    }
    return PXEntityDialogBox::DialogMouseUp(point, button);
}

bool PXEntityDialogScene::DialogMouseAux(const PXPoint* point, int value)
{
    if (PXEntity2DScene* scene = GetInnerScene()) {
        scene->OnMouseAux(point, value);
    }
    return PXEntityDialogBox::DialogMouseAux(point, value);
}

bool PXEntityDialogScene::DialogMouseDown(const PXPoint* point, int button)
{
    if (PXEntity2DScene* scene = GetInnerScene()) {
        scene->OnMouseDown(point, button);
    }
    return PXEntityDialogBox::DialogMouseDown(point, button);
}

bool PXEntityDialogScene::DialogKeyAux(int value)
{
    if (PXEntity2DScene* scene = GetInnerScene()) {
        scene->OnKeyAux(value);
    }
    return PXEntityDialogBox::DialogKeyAux(value);
}

bool PXEntityDialogScene::DialogKeyDown(int key)
{
    if (PXEntity2DScene* scene = GetInnerScene()) {
        scene->OnKeyDown(key);
    }
    return PXEntityDialogBox::DialogKeyDown(key);
}

bool PXEntityDialogScene::DialogKeyUp(int key)
{
    if (PXEntity2DScene* scene = GetInnerScene()) {
        scene->OnKeyUp(key);
    }
    return PXEntityDialogBox::DialogKeyUp(key);
}

bool PXEntityDialogScene::DialogPadDown(int button)
{
    PXEntity2DScene* scene = GetInnerScene();
    const bool taken = scene != nullptr && scene->OnPadDown(button);
    // The inner scene's focus has the buttons; the dialog's own group is empty.
    return PXEntityDialogBox::DialogPadDown(button) || taken;
}
