// Class "PXHighScoreInputScene": the small scene inside the name-entry dialog. Its
// "NameEntry" text shows a hint or the last used name, which the first character or
// Backspace clears; Enter, Escape or the "OKButton" closes the dialog that hosts it, keeping
// the name shown. Names are kept to 32 characters. Characters (space included) always type;
// Tab and the pad reach the OK button through the focus.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntity2DScene.h"

class PXEntityHighScoreInputSceneType : public PXEntity2DSceneType {
public:
    explicit PXEntityHighScoreInputSceneType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override;

    PXSceneElement* GetNameEntry() { return SlotRecord(m_nameEntry); }
    PXSceneElement* GetOKButton() { return SlotRecord(m_okButton); }
    int GetOKSlot() const { return m_okButton; }

private:
    int m_nameEntry = -1;
    int m_okButton = -1;
};

class PXEntityHighScoreInputScene : public PXEntity2DScene {
public:
    static constexpr int32_t MaxNameLength = 32;
    static constexpr const char* Hint = "Enter your name here ...";

    explicit PXEntityHighScoreInputScene(PXEntityHighScoreInputSceneType* type);

    // Shows `name`; the first character or Backspace still replaces it.
    void SetName(const std::string& name);
    // Whether `key` replaces the offered name: a character or Backspace.
    static bool ReplacesOfferedName(int key);
    bool OnKeyDown(int key) override;
    // OK closes the host dialog.
    bool OnElementPressed(PXEntity2DGUIElement* element) override;
    bool OnBack() override;

    const std::string& GetEnteredName() const { return m_enteredName; }
    bool ClearsOnFirstKey() const { return m_clearOnFirstKey; }

private:
    PXEntityHighScoreInputSceneType* InputType() const
    {
        return static_cast<PXEntityHighScoreInputSceneType*>(m_type);
    }
    void ShowName();
    void CloseHost();

    std::string m_enteredName = Hint;
    bool m_clearOnFirstKey = true;
};

using PXEntityHighScoreInputScenePrototype = PXEntityTypePrototypeFor<PXEntityHighScoreInputSceneType>;
