// The frame of a dialog: a title bar that starts dragging its dialog and the title text. The
// frame sizes and places itself with its dialog and says how far the dialog's content sits
// inside it. The vector frame (PXEntityVectorFrame) is the one that draws something.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntity2DGUIElement.h"

class PXEntityDialogBox;

class PXEntityDialogFrameType : public PXEntity2DGUIElementType {
public:
    explicit PXEntityDialogFrameType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override;

    bool HasTitle() const { return m_hasTitle; }
    int32_t GetTitleHeight() const { return m_titleHeight; }
    const PXPoint& GetTitleOffset() const { return m_titleOffset; }
    const PXEntityRef& GetTitleTextRef() const { return m_titleTextRef; }

protected:
    bool m_hasTitle = false;
    int32_t m_titleHeight = 12;
    PXPoint m_titleOffset{3, 3};
    PXEntityRef m_titleTextRef;
};

class PXEntityDialogFrame : public PXEntity2DGUIElement {
public:
    explicit PXEntityDialogFrame(PXEntityBaseType* type);
    ~PXEntityDialogFrame() override;

    bool Update(float elapsedMs) override;
    bool Draw() override;
    // The title text follows the frame, at the type's title offset.
    void SetPosition(const PXPoint& point) override;
    void SetRect(int32_t x, int32_t y, int32_t width, int32_t height) override;
    // The frame covers its dialog, so it redraws the whole dialog.
    void Invalidate() override;

    // Mouse release: the dialog stops dragging. False.
    virtual bool FrameMouseUp(const PXPoint& point, int button);
    // A press strictly inside the title bar starts dragging the dialog; true then.
    virtual bool FrameMouseDown(const PXPoint& point, int button);
    virtual void SetTitle(const std::string& title);
    // Where the dialog's content starts, relative to the frame's top left.
    virtual PXPoint GetClientOffset() const;
    // What the frame adds round the content.
    virtual int32_t GetExtraWidth() const;
    virtual int32_t GetExtraHeight() const;

    // The dialog the frame belongs to (not owned).
    void SetOwner(PXEntityDialogBox* owner) { m_owner = owner; }
    PXEntityDialogBox* GetOwner() const { return m_owner; }
    const std::string& GetTitle() const { return m_title; }
    PXEntity2DGUIElement* GetTitleText() const { return m_titleText.get(); }

protected:
    PXEntityDialogFrameType* FrameType() const { return static_cast<PXEntityDialogFrameType*>(m_type); }
    // Strictly inside the rectangle on all four sides.
    static bool StrictlyInside(const PXPoint& p, const PXRect& r);

    PXEntityDialogBox* m_owner = nullptr;
    std::string m_title;
    std::unique_ptr<PXEntity2DGUIElement> m_titleText;
};

using PXEntityDialogFramePrototype = PXEntityTypePrototypeFor<PXEntityDialogFrameType>;
