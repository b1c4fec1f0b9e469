// Class "PXVectorFrame": a dialog frame drawn from bevelled rectangles, with a filled title
// bar and a close box that lights up under the mouse and closes the dialog with result 0.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/gui/PXEntityDialogFrame.h"

class PXEntityVectorFrameType : public PXEntityDialogFrameType {
public:
    explicit PXEntityVectorFrameType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;

    const PXColor& GetFace() const { return m_face; }
    const PXColor& GetHighlight() const { return m_highlight; }
    const PXColor& GetShadow() const { return m_shadow; }
    bool HasSysClose() const { return m_sysClose; }

private:
    PXColor m_face = MakeColor(0, 70, 114, 224);
    PXColor m_highlight = MakeColor(24, 187, 255, 224);
    PXColor m_shadow = MakeColor(24, 187, 255, 224);
    bool m_sysClose = true;
};

class PXEntityVectorFrame : public PXEntityDialogFrame {
public:
    static constexpr PXColor HoverColor{0, 255, 255, 255};  // yellow (blue, green, red, alpha)

    explicit PXEntityVectorFrame(PXEntityBaseType* type);

    bool Update(float elapsedMs) override;
    bool Draw() override;
    bool FrameMouseDown(const PXPoint& point, int button) override;
    PXPoint GetClientOffset() const override;
    int32_t GetExtraWidth() const override;
    int32_t GetExtraHeight() const override;

    // The close box: a square of side titleHeight - 3 at the right of the title bar.
    PXRect GetCloseBox() const;
    bool IsCloseHovered() const { return m_closeHover; }

private:
    PXEntityVectorFrameType* VectorType() const { return static_cast<PXEntityVectorFrameType*>(m_type); }

    bool m_closeHover = false;
};

using PXEntityVectorFramePrototype = PXEntityTypePrototypeFor<PXEntityVectorFrameType>;
