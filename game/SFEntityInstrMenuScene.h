// The instructions screen shown before every game: any key or click starts the game,
// Escape goes back to the main menu. Everything it shows is its definition.
#pragma once

#include <memory>

#include "engine/entity/PXEntity2DScene.h"

class SFEntityInstrMenuSceneType : public PXEntity2DSceneType {
public:
    explicit SFEntityInstrMenuSceneType(const PXDefinitionBlock* block) : PXEntity2DSceneType(block) {}
    std::unique_ptr<PXEntityBase> CreateEntity() override;
};

class SFEntityInstrMenuScene : public PXEntity2DScene {
public:
    explicit SFEntityInstrMenuScene(SFEntityInstrMenuSceneType* type) : PXEntity2DScene(type) {}

    bool OnMouseUp(const PXPoint* point, int button) override;
    bool OnKeyDown(int key) override;

private:
    void Go(const char* className, const char* entityName);
};

class SFEntityInstrMenuScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override;
};

// The prototype registered as class "SFInstrMenuScene".
extern SFEntityInstrMenuScenePrototype g_instrMenuScenePrototype;
