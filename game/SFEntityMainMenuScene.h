// The main menu: quit, the about page, the options, the high scores and the three
// difficulty buttons that lead to the instructions screen. Its look is all in its definition.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <string>

#include "engine/entity/PXEntity2DScene.h"

class SFEntityMainMenuSceneType : public PXEntity2DSceneType {
public:
    // The menu's own element records in the order their keys are read: the focus walks
    // them top to bottom, and a click tries them from the last (Quit wins where buttons
    // overlap).
    enum Slot : size_t {
        StartEasyGame,
        StartMediumGame,
        StartHardGame,
        HighScore,
        Options,
        WebPage,
        Quit,
        Ver,
        SlotCount
    };

    // Appends one record per slot to the scene's element list, so the base scene loads,
    // updates, draws and deletes them in priority order with the others.
    explicit SFEntityMainMenuSceneType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;

    // The slot's record, or none when the type was built without a definition.
    const PXSceneElement* GetSlot(Slot slot);
    // The slot's entity, or none when it is missing or could not be created.
    PXEntity2DGUIElement* GetSlotEntity(Slot slot);
    // The menu slot (Slot) whose entity is `element`, or -1.
    int SlotOfElement(const PXEntity2DGUIElement* element) const;

private:
    std::array<int, SlotCount> m_slots;  // the base type's slot of each record
};

class SFEntityMainMenuScene : public PXEntity2DScene {
public:
    static constexpr const char* Version = "Ver: " SF_VERSION;
    static constexpr const char* AboutPage = "Shardfall/about.html";
    static constexpr const char* ProjectAddress = "https://shardfall.example/";

    // Sets the version text when the definition has a "Ver" element and fades the song in.
    explicit SFEntityMainMenuScene(SFEntityMainMenuSceneType* type);

    // A menu button pressed (a click with either mouse button, or Press on the focus).
    bool OnElementPressed(PXEntity2DGUIElement* element) override;
    // Back (Escape) quits, even before an open dialog hears the key; other keys go to the
    // open dialogs, then to the focus.
    bool OnKeyDown(int key) override;
    bool OnBack() override;

    // What "WebPage" opens: the about page beside the program when it is there, else the
    // project's address.
    static std::string WebPageTarget();

private:
    SFEntityMainMenuSceneType* MenuType() const { return static_cast<SFEntityMainMenuSceneType*>(m_type); }
    void StartGame(int32_t difficulty);
    void Go(const char* className, const char* entityName);
};

class SFEntityMainMenuScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override;
};

// The prototype registered as class "SFMainMenuScene".
extern SFEntityMainMenuScenePrototype g_mainMenuScenePrototype;
