// Scenes: one full screen of the game. The type reads the scene's element list, cursor,
// tooltip look and dialog references from its definition and owns the element entities;
// the scene draws them in priority order, keeps the dialogs stacked over itself (they take
// the input first), shows tooltips and moves the cursor sprite with the mouse.
//
// Input reaches the scene's elements by one path: a click on an element and Press on the
// focused element both end in OnElementPressed. Keys and pad buttons go through g_inputMap
// (PXInputContext::Menu) to the focus (PXFocusGroup): the focused element takes the action
// first, then the focus moves; Back calls OnBack. Elements take the focus in definition
// order: the GUIElement<n> records, then the named records in the order the scene class
// reads them. A left press an element takes (OnPointerDown: a slider) holds the pointer for
// it: the scene hands it the pointer's moves each Update and the release, which then clicks
// nothing. The scene listens to its elements: a change the player makes to one (a slider
// moved by key, pad or pointer) ends in OnElementChanged.
#pragma once

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/PXEntityBase.h"
#include "engine/entity/PXEntityRef.h"
#include "engine/entity/PXSceneDialog.h"
#include "engine/graphics/PXGraphicsTypes.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXFocusGroup.h"

class PXDefinitionBlock;

// One element of a scene: its drawing order key, where it is placed and what it is.
struct PXSceneElement {
    int32_t priority = 0;
    int32_t x = 0;
    int32_t y = 0;
    std::unique_ptr<PXEntity2DGUIElement> entity;  // none until the type is loaded
    PXEntityRef ref;
    size_t readIndex = 0;  // place in the definition, kept when the list is sorted by priority
};

class PXEntity2DSceneType : public PXEntityBaseType {
public:
    static constexpr int32_t MaxElements = 64;
    static constexpr int32_t MaxPriority = 999;
    static constexpr int32_t CursorPriority = 1000;
    // Elements of this priority or more are drawn by DrawTop, over the dialogs' layer.
    static constexpr int32_t TopLayerPriority = 500;

    // Reads the scene keys; a null block gives an empty scene without a cursor record.
    explicit PXEntity2DSceneType(const PXDefinitionBlock* block);
    ~PXEntity2DSceneType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    // Sorts the elements by priority (stable) and creates the missing element, cursor and
    // tooltip text entities.
    bool Load(bool reload) override;
    bool Unload() override;
    bool IsA(uint32_t kind) const override;

    // Appends the record read from prefix + "Ent", "EntPos" and "EntPriority".
    static void AddElementFromKeys(const std::string& prefix, const PXDefinitionBlock& block,
                                   std::vector<PXSceneElement>& list);

    // Subclass types keep some of their element records by name: AddSlot appends the record
    // read as AddElementFromKeys does and returns a slot that keeps naming it when Load puts
    // the list in priority order.
    int AddSlot(const std::string& prefix, const PXDefinitionBlock& block);
    // The slot's record, or none for an unknown slot (-1 included).
    PXSceneElement* SlotRecord(int slot);
    const PXSceneElement* SlotRecord(int slot) const;
    // The slot's entity, or none when the slot is unknown or its entity was not made.
    PXEntity2DGUIElement* SlotEntity(int slot) const;
    // The slot whose entity is `element`, or -1.
    int SlotOf(const PXEntity2DGUIElement* element) const;
    // For a type that names its slots in its own order: adds one slot per prefix, in order,
    // into `slots` (`count` of each); and the index into `slots` of the one whose entity is
    // `element`, or -1.
    void AddSlots(const char* const* prefixes, size_t count, const PXDefinitionBlock& block, int* slots);
    int IndexOfSlot(const PXEntity2DGUIElement* element, const int* slots, size_t count) const;
    // The element entities in definition order (those not made are left out).
    std::vector<PXEntity2DGUIElement*> ElementsInDefinitionOrder() const;

    std::vector<PXSceneElement>& GetElements() { return m_elements; }
    PXSceneElement* GetCursor() const { return m_cursor.get(); }
    PXEntity2DGUIElement* GetCursorEntity() const { return m_cursor ? m_cursor->entity.get() : nullptr; }
    PXEntity2DGUIElement* GetToolTipText() const { return m_toolTipText.get(); }
    const PXColor& GetToolTipColor() const { return m_toolTipColor; }
    int32_t GetTransitionStyle() const { return m_transitionStyle; }
    int32_t GetCursorTimeout() const { return m_cursorTimeout; }
    const PXEntityRef& GetMessageBoxRef() const { return m_messageBoxRef; }
    const PXEntityRef& GetInputBoxRef() const { return m_inputBoxRef; }

private:
    // The record read from a reference key, a position key and a priority key.
    static PXSceneElement ReadPlacedElement(const PXDefinitionBlock& block, const std::string& refKey,
                                            const std::string& posKey, const std::string& priorityKey);
    // Stable sort by priority; the slots follow their records.
    void SortElements();

protected:
    std::vector<PXSceneElement> m_elements;
    std::vector<size_t> m_slotIndex;  // slot -> position in m_elements
    std::unique_ptr<PXSceneElement> m_cursor;
    PXEntityRef m_toolTipTextRef;
    std::unique_ptr<PXEntity2DGUIElement> m_toolTipText;
    PXColor m_toolTipColor = MakeColor(64, 96, 180, 255);
    int32_t m_transitionStyle = -1;
    int32_t m_cursorTimeout = 0;
    PXEntityRef m_messageBoxRef{"PXMessageBox", "messagebox"};
    PXEntityRef m_inputBoxRef{"PXInputBox", "inputbox"};
};

// A tooltip on show: its owner (compared by identity only), background, fade and text.
struct PXToolTip {
    const PXEntity2DGUIElement* owner = nullptr;
    PXRect rect;
    float alpha = 0.0f;
    float remaining = 0.0f;
    std::string text;
};

class PXEntity2DScene : public PXEntityBase, public PXToolTipHost, public PXElementChangeListener {
public:
    // Milliseconds a tooltip stays after its owner last asked for it, fade-out included.
    static constexpr float ToolTipLifeMs = 305.0f;

    explicit PXEntity2DScene(PXEntity2DSceneType* type);
    ~PXEntity2DScene() override;

    bool Update(float elapsedMs) override;
    bool Draw() override;
    // Draws the elements of priority 500 and more.
    virtual bool DrawTop();
    // Input: the open dialogs get it first (only the newest while a modal one is open).
    // The base answers whether a dialog or the scene took the event: a mouse release
    // presses the element under it (PressAt), keys and pad buttons go to the focus.
    virtual bool OnMouseUp(const PXPoint* point, int button);
    virtual bool OnMouseAux(const PXPoint* point, int value);
    virtual bool OnMouseDown(const PXPoint* point, int button);
    virtual bool OnKeyAux(int value);
    virtual bool OnKeyDown(int key);
    virtual bool OnKeyUp(int key);
    // Pad buttons (PXPadButton) pressed and released, and a pad unplugged (`inUse` when it
    // was the one playing). The base hands a press to the dialogs, then to the focus.
    virtual bool OnPadDown(int button);
    virtual bool OnPadUp(int button);
    virtual bool OnPadRemoved(bool inUse);
    virtual bool SetCursorFrame(int frame);
    virtual bool ShowCursor(bool visible);
    // Puts the dialog on top of the stack; the scene owns it from now on. A null callback
    // means the scene's OnDialogClosed decides.
    virtual void AddDialog(int32_t tag, std::unique_ptr<PXSceneDialog> dialog, PXDialogCallback callback,
                           void* userData, bool modal);
    // True lets the dialog close.
    virtual bool OnDialogClosed(PXSceneDialog* dialog);
    // The application lost the focus: a scene that tracks held keys or buttons lets go of
    // them here, since their releases will not arrive. The base ends an element's hold on
    // the pointer.
    virtual void OnDeactivate();

    // Whether the scene moves a focus between its elements and presses them. A scene whose
    // keys and clicks mean something else (play) answers false: it routes them itself, and
    // the dialogs over it keep their own focus.
    virtual bool TakesFocus() const { return true; }
    // A focus action from a key or a pad button; true when it was used.
    virtual bool OnInputAction(PXInputAction action);
    // One of the scene's elements was pressed, by a click or by Press on the focus; true
    // when the scene reacted. The base reacts to none.
    virtual bool OnElementPressed(PXEntity2DGUIElement* element);
    // The player changed one of the scene's elements (once per change: a key, a pad button,
    // a press or a drag step); true when the scene reacted. The base reacts to none.
    bool OnElementChanged(PXEntity2DGUIElement* element) override;
    // The element holding the pointer since a left press it took, or none.
    PXEntity2DGUIElement* GetPointerHolder() const { return m_held; }
    // Back (Escape, the pad's back buttons) that no element took. The base does nothing.
    virtual bool OnBack();
    // The element holding the focus while the focus is shown, or none.
    PXEntity2DGUIElement* GetShownFocus() const;
    const PXFocusGroup& GetFocus() const { return m_focus; }

    // Closes an open dialog unless its callback refuses; it is deleted at the next Update.
    void CloseDialog(PXSceneDialog* dialog);
    void ShowMessageBox(const std::string& text, int32_t tag, int32_t style, PXDialogCallback callback,
                        void* userData);
    void ShowMessageBox(const std::string& text, int32_t tag, int32_t style, PXDialogCallback callback,
                        void* userData, float durationMs);
    void ShowInputBox(const std::string& prompt, const std::string& defaultText, int32_t maxLength,
                      int32_t tag, PXDialogCallback callback, void* userData);
    // The inner scene of the oldest open dialog scene whose scene answers `kind`, or none.
    PXEntity2DScene* FindDialogScene(uint32_t kind);
    void ShowToolTip(PXEntity2DGUIElement* owner, int32_t x, int32_t y, const std::string& text) override;

    // True when the record's entity takes a click at the point.
    static bool ClickElement(const PXSceneElement& record, const PXPoint& point);
    // Edits the record's text with one typed character (8 removes the last one) and reads
    // the result into `text`.
    static void TypeIntoElement(const PXSceneElement& record, int character, std::string* text,
                                int32_t maxLength);

    // A dialog scene embedding this scene draws its elements itself; Draw then draws nothing.
    void SetHostDialog(PXSceneDialog* host) { m_hostDialog = host; }
    PXSceneDialog* GetHostDialog() const { return m_hostDialog; }
    PXEntity2DSceneType* SceneType() const { return static_cast<PXEntity2DSceneType*>(m_type); }
    uint32_t GetDialogCount() const { return static_cast<uint32_t>(m_dialogs.size()); }
    // Open dialogs, newest first.
    const std::list<std::unique_ptr<PXSceneDialog>>& GetDialogs() const { return m_dialogs; }
    bool IsModal() const { return m_modal; }
    const PXToolTip* GetToolTip() const { return m_toolTip.get(); }
    const PXToolTip* GetOldToolTip() const { return m_oldToolTip.get(); }
    float GetCursorIdleMs() const { return m_cursorIdleMs; }

protected:
    // The first steps of OnMouseUp and OnKeyDown: whether the open dialogs took the event.
    bool MouseUpToDialogs(const PXPoint* point, int button);
    bool KeyToDialogs(int key);
    // A key's action through the input map, to the focus (nothing when the scene takes none).
    bool KeyToFocus(int key);
    // Presses the element under the point: the elements are tried from the last defined
    // to the first, and the first that takes the click (Click) and that the scene reacts
    // to (OnElementPressed) ends the search.
    bool PressAt(const PXPoint* point);
    // Offers a left press to the elements from the last defined to the first; the first that
    // takes it holds the pointer and gets the focus.
    bool HoldAt(const PXPoint* point);

private:
    template <typename Route> bool RouteToDialogs(Route route);
    void LayOutToolTip(PXToolTip& tip, int32_t x, int32_t y, const std::string& text);
    // Steps one tooltip; false when its time ran out.
    bool StepToolTip(PXToolTip& tip, float elapsedMs);
    bool IsCursorShown() const;
    // The elements in definition order, each listened to by this scene.
    std::vector<PXEntity2DGUIElement*> ListenedElements();
    // The holder of the pointer while it is still one of the elements, shown and enabled;
    // otherwise the hold ends.
    PXEntity2DGUIElement* Holder();
    // Hands the holder the pointer's position when it moved; the hold ends when the button
    // was let go unseen (the application lost the focus) or a modal dialog opened.
    void StepHold();
    // Ends the hold with the release at the point.
    void EndHold(const PXPoint& point);

    std::list<std::unique_ptr<PXSceneDialog>> m_dialogs;
    std::vector<std::unique_ptr<PXSceneDialog>> m_closedDialogs;
    bool m_modal = false;
    std::unique_ptr<PXToolTip> m_toolTip;
    std::unique_ptr<PXToolTip> m_oldToolTip;
    PXPoint m_lastCursorPos;
    float m_cursorIdleMs = 0.0f;
    PXSceneDialog* m_hostDialog = nullptr;
    PXFocusGroup m_focus;
    PXEntity2DGUIElement* m_held = nullptr;  // not owned: one of the type's elements
    PXPoint m_heldAt;
};

using PXEntity2DScenePrototype = PXEntityTypePrototypeFor<PXEntity2DSceneType>;

// The prototype registered as class "2DScene".
extern PXEntity2DScenePrototype g_2DScenePrototype;
