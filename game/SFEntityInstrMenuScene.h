// The instructions screen shown before every game: the help text in a scrolling list that the
// navigation keys (arrows, Tab, Page Up/Down, Home, End and the pad's D-pad) scroll; any other
// key, pad button or click starts the game; Back (Escape) goes back to the main menu.
#pragma once

#include <memory>
#include <string>

#include "engine/entity/PXEntity2DScene.h"

class PXEntity2DGUIListBox;

class SFEntityInstrMenuSceneType : public PXEntity2DSceneType {
public:
    // Reads the "Help" element record (a list box) and "HelpFile", the text it shows.
    explicit SFEntityInstrMenuSceneType(const PXDefinitionBlock* block);
    std::unique_ptr<PXEntityBase> CreateEntity() override;

    // The help list, or none when the definition has none or it is not a list box.
    PXEntity2DGUIListBox* GetHelpList() const;
    const std::string& GetHelpFile() const { return m_helpFile; }

private:
    int m_helpSlot = -1;
    std::string m_helpFile;
};

class SFEntityInstrMenuScene : public PXEntity2DScene {
public:
    // Fills the help list from the help file.
    explicit SFEntityInstrMenuScene(SFEntityInstrMenuSceneType* type);

    // Clicks on the help list's arrows and track scroll it (a thumb drag ends there too);
    // any other click starts the game.
    bool OnMouseUp(const PXPoint* point, int button) override;
    bool OnKeyDown(int key) override;
    // Keys and pad buttons alike: navigation to the focus, Back to the menu, others start.
    bool OnInputAction(PXInputAction action) override;
    bool OnBack() override;

private:
    PXEntity2DGUIListBox* HelpList() const;
    void Go(const char* className, const char* entityName);
};

class SFEntityInstrMenuScenePrototype : public PXEntityTypePrototype {
public:
    std::unique_ptr<PXEntityBaseType> CreateType(const PXDefinitionBlock* block) const override;
};

// The prototype registered as class "SFInstrMenuScene".
extern SFEntityInstrMenuScenePrototype g_instrMenuScenePrototype;
