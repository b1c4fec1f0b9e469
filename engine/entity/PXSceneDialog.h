// What a scene needs of the dialogs it stacks over itself: their six input operations, the
// owner, tag, callback and user data that AddDialog stores, and the result they close with.
// The concrete dialog classes derive from these.
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

// A dialog showing a message with up to four buttons (style bits 1 OK, 2 Yes, 4 No, 8 Cancel).
class PXSceneMessageBox : public PXSceneDialog {
public:
    using PXSceneDialog::PXSceneDialog;
    virtual void SetMessage(const std::string& text) = 0;
    virtual void SetButtons(int32_t style) = 0;
    // Closes the box by itself after this many milliseconds.
    virtual void SetTimeout(float ms) = 0;
};

// A dialog asking for a line of text.
class PXSceneInputBox : public PXSceneDialog {
public:
    using PXSceneDialog::PXSceneDialog;
    virtual void SetPrompt(const std::string& prompt) = 0;
    virtual void SetDefaultText(const std::string& text) = 0;
    virtual void SetMaxLength(int32_t maxLength) = 0;
};

// A dialog that shows a whole scene inside it.
class PXSceneDialogScene : public PXSceneDialog {
public:
    using PXSceneDialog::PXSceneDialog;
    // The embedded scene, or none.
    virtual PXEntity2DScene* GetInnerScene() = 0;
};
