// Class "PXDialogScene": a dialog that shows a whole scene inside its frame. The dialog owns
// the inner scene, places the scene's elements in its client area every frame, draws them in
// the scene's layer order, and hands every input event to the scene before handling it
// itself. Points reach the inner scene unchanged, in frame pixels, since its elements are
// placed there.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntityDialogBox.h"

class PXEntity2DScene;

class PXEntityDialogSceneType : public PXEntityDialogBoxType {
public:
    explicit PXEntityDialogSceneType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override;

    const PXEntityRef& GetSceneRef() const { return m_sceneRef; }

private:
    PXEntityRef m_sceneRef;
};

class PXEntityDialogScene : public PXEntityDialogBox {
public:
    explicit PXEntityDialogScene(PXEntityBaseType* type);
    ~PXEntityDialogScene() override;

    bool Update(float elapsedMs) override;
    bool Draw() override;
    bool DialogMouseUp(const PXPoint* point, int button) override;
    bool DialogMouseAux(const PXPoint* point, int value) override;
    bool DialogMouseDown(const PXPoint* point, int button) override;
    bool DialogKeyAux(int value) override;
    bool DialogKeyDown(int key) override;
    bool DialogKeyUp(int key) override;
    bool DialogPadDown(int button) override;
    PXEntity2DScene* GetInnerScene() override;

    // Creates the inner scene if there is none; `reload` deletes it first.
    virtual void LoadScene(bool reload);
    virtual void UnloadScene();

    bool IsContentLoaded() const { return m_contentLoaded; }

private:
    PXEntityDialogSceneType* SceneDialogType() const { return static_cast<PXEntityDialogSceneType*>(m_type); }
    // Moves the inner scene's elements into the client area.
    void PlaceElements();
    // Draws the inner scene's visible elements of the top layer (or of the layer below it).
    void DrawElements(bool topLayer);

    std::unique_ptr<PXEntity2DScene> m_scene;
    bool m_contentLoaded = false;
};

using PXEntityDialogScenePrototype = PXEntityTypePrototypeFor<PXEntityDialogSceneType>;
