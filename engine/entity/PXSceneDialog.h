// What a scene needs of the dialogs it stacks over itself: their input operations, the
// owner, tag, callback and user data that AddDialog stores, the result they close with, and
// the set-up calls of the message box, input box and dialog scene. The concrete dialog
// classes (engine/gui) derive from PXSceneDialog.
#pragma once

#include <cstdint>
#include <string>

#include "engine/gui/PXEntity2DGUIElement.h"

class PXEntity2DScene;
class PXSceneDialog;

// Called when a dialog is about to close, with the user data (the scene itself when none
// was given) and the dialog; false keeps the dialog open.
using PXDialogCallback = bool (*)(void* userData, PXSceneDialog* dialog);

class PXSceneDialog : public PXEntity2DGUIElement {
public:
    using PXEntity2DGUIElement::PXEntity2DGUIElement;

    // Each answers whether the dialog took the event.
    virtual bool DialogMouseUp(const PXPoint* point, int button) = 0;
    virtual bool DialogMouseAux(const PXPoint* point, int value) = 0;
    virtual bool DialogMouseDown(const PXPoint* point, int button) = 0;
    virtual bool DialogKeyAux(int value) = 0;
    virtual bool DialogKeyDown(int key) = 0;
    virtual bool DialogKeyUp(int key) = 0;
    // A pad button (PXPadButton) pressed; the base takes none.
    virtual bool DialogPadDown(int /*button*/) { return false; }

    // Set-up calls the scene makes on the dialogs it creates by kind (ShowMessageBox,
    // ShowInputBox, FindDialogScene). They live here, with do-nothing defaults, so that every
    // concrete dialog shares one base; a dialog of another kind ignores them.
    // Message box: the text and the buttons (style bits 1 OK, 2 Yes, 4 No, 8 Cancel).
    virtual void SetMessage(const std::string& /*text*/) {}
    virtual void SetButtons(int32_t /*style*/) {}
    // Closes the dialog by itself after this many milliseconds.
    virtual void SetTimeout(float /*ms*/) {}
    // Input box: the prompt, the text it starts with and the longest text it takes.
    virtual void SetPrompt(const std::string& /*prompt*/) {}
    virtual void SetDefaultText(const std::string& /*text*/) {}
    virtual void SetMaxLength(int32_t /*maxLength*/) {}
    // Dialog scene: the embedded scene, or none.
    virtual PXEntity2DScene* GetInnerScene() { return nullptr; }

    // Stores the result and closes the dialog in its owner scene (the close callback may
    // refuse); without an owner only the result is stored.
    void CloseWithResult(int32_t result);

    // AddDialog stores these.
    void Attach(int32_t tag, PXDialogCallback callback, void* userData, PXEntity2DScene* owner)
    {
        m_tag = tag;
        m_callback = callback;
        m_userData = userData;
        m_owner = owner;
    }
    int32_t GetTag() const { return m_tag; }
    PXDialogCallback GetCallback() const { return m_callback; }
    void* GetUserData() const { return m_userData; }
    PXEntity2DScene* GetOwnerScene() const { return m_owner; }
    int32_t GetResult() const { return m_result; }
    void SetResult(int32_t result) { m_result = result; }

protected:
    PXEntity2DScene* m_owner = nullptr;  // not owned
    int32_t m_tag = 0;
    int32_t m_result = 0;
    PXDialogCallback m_callback = nullptr;
    void* m_userData = nullptr;
};

// Dialog doubles that stand in for one kind only derive from these, which make that kind's
// set-up calls mandatory.
class PXSceneMessageBox : public PXSceneDialog {
public:
    using PXSceneDialog::PXSceneDialog;
    void SetMessage(const std::string& text) override = 0;
    void SetButtons(int32_t style) override = 0;
    void SetTimeout(float ms) override = 0;
};

class PXSceneInputBox : public PXSceneDialog {
public:
    using PXSceneDialog::PXSceneDialog;
    void SetPrompt(const std::string& prompt) override = 0;
    void SetDefaultText(const std::string& text) override = 0;
    void SetMaxLength(int32_t maxLength) override = 0;
};

class PXSceneDialogScene : public PXSceneDialog {
public:
    using PXSceneDialog::PXSceneDialog;
    PXEntity2DScene* GetInnerScene() override = 0;
};
