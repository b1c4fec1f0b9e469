// Class "PXDialogBox": the base of the dialogs a scene stacks over itself. It owns a frame,
// follows the mouse while dragged by its title bar (kept on the 640 x 480 frame), and can
// close itself after a time-out while its title counts down the seconds left. Any click,
// key or pad button stops the count-down. A dialog with buttons moves a focus between them
// (PXFocusGroup): its subclass names them and answers their press.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/entity/PXEntityRef.h"
#include "engine/entity/PXSceneDialog.h"
#include "engine/gui/PXFocusGroup.h"

class PXEntityDialogFrame;

class PXEntityDialogBoxType : public PXEntity2DGUIElementType {
public:
    explicit PXEntityDialogBoxType(const PXDefinitionBlock* block);
    ~PXEntityDialogBoxType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    // Creates the child elements (each with its type loaded), which the type owns and every
    // dialog of it shares.
    bool Load(bool reload) override;
    bool Unload() override;
    bool IsA(uint32_t kind) const override;

    const PXEntityRef& GetFrameRef() const { return m_frameRef; }
    int32_t GetDialogWidth() const { return m_width; }
    int32_t GetDialogHeight() const { return m_height; }
    const std::string& GetTitle() const { return m_title; }
    float GetTimeOut() const { return m_timeOut; }

protected:
    // One child per key, in the keys' order; a missing key leaves its child empty.
    void ReadChildRefs(const PXDefinitionBlock* block, const char* const* keys, size_t count);
    PXEntity2DGUIElement* GetChildAt(size_t index) const
    {
        return index < m_children.size() ? m_children[index].get() : nullptr;
    }

    PXEntityRef m_frameRef;
    int32_t m_width = 64;
    int32_t m_height = 64;
    std::string m_title;
    float m_timeOut = 0.0f;
    std::vector<PXEntityRef> m_childRefs;
    std::vector<std::unique_ptr<PXEntity2DGUIElement>> m_children;
};

class PXEntityDialogBox : public PXSceneDialog {
public:
    // The frame the dialog is kept on while dragged.
    static constexpr int32_t ScreenWidth = 640;
    static constexpr int32_t ScreenHeight = 480;
    // The result a dialog closes with when its time runs out.
    static constexpr int32_t TimeOutResult = 99;

    explicit PXEntityDialogBox(PXEntityBaseType* type);
    ~PXEntityDialogBox() override;

    bool Update(float elapsedMs) override;
    bool Draw() override;
    void SetPosition(const PXPoint& point) override;
    void SetSize(int32_t width, int32_t height) override;
    void SetRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    // The dialog's rectangle, cleared first.
    void Invalidate() override;

    bool DialogMouseUp(const PXPoint* point, int button) override;
    bool DialogMouseAux(const PXPoint* point, int value) override;
    bool DialogMouseDown(const PXPoint* point, int button) override;
    bool DialogKeyAux(int value) override;
    bool DialogKeyDown(int key) override;
    bool DialogKeyUp(int key) override;
    // The button's action through the input map goes to OnDialogAction.
    bool DialogPadDown(int button) override;
    // A focus action: the focus group first (a press goes to OnFocusPressed); true when used.
    virtual bool OnDialogAction(PXInputAction action);
    // Starts (ms > 0) or stops the count-down.
    void SetTimeout(float ms) override;

    // The frame's title bar drives these.
    void StartDragging(const PXPoint& point);
    void StopDragging() { m_dragging = false; }

    PXEntityDialogFrame* GetFrame() const { return m_frame.get(); }
    bool IsDragging() const { return m_dragging; }
    bool IsTiming() const { return m_timing; }
    const PXFocusGroup& GetFocus() const { return m_focus; }
    float GetRemainingMs() const { return m_remainingMs; }
    // Where content starts inside the dialog: the frame's client offset, (0, 0) without one.
    PXPoint GetClientOffset() const;
    // Strictly inside the dialog on all four sides.
    bool IsInside(const PXPoint* point) const;

protected:
    PXEntityDialogBoxType* DialogType() const { return static_cast<PXEntityDialogBoxType*>(m_type); }
    // Puts back the plain title and ends the count-down.
    void StopTiming();
    // The elements the focus moves between, in order; the base has none.
    virtual PXFocusGroup::Elements FocusElements() const;
    // The focused element was pressed; the base does nothing.
    virtual void OnFocusPressed(PXEntity2DGUIElement* element);

    std::unique_ptr<PXEntityDialogFrame> m_frame;
    bool m_dragging = false;
    PXPoint m_dragOffset;
    float m_remainingMs = 0.0f;
    bool m_timing = false;
    PXFocusGroup m_focus;
};

using PXEntityDialogBoxPrototype = PXEntityTypePrototypeFor<PXEntityDialogBoxType>;
