// The vector frame's colours, drawing, close box and its hover.
#include "engine/gui/PXEntityVectorFrame.h"

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/graphics/PXScreen2D.h"
#include "engine/gui/PXEntityDialogBox.h"

PXEntityVectorFrameType::PXEntityVectorFrameType(const PXDefinitionBlock* block) : PXEntityDialogFrameType(block)
{
    if (block == nullptr) {
        return;
    }
    if (block->FindKey("Face")) {
        block->ReadColor(&m_face);
    }
    if (block->FindKey("Highlight")) {
        block->ReadColor(&m_highlight);
    }
    if (block->FindKey("Shadow")) {
        block->ReadColor(&m_shadow);
    }
    int value = 0;
    if (block->FindKey("SysClose") && block->ReadInts(&value, 1)) {
        m_sysClose = value != 0;
    }
}

std::unique_ptr<PXEntityBase> PXEntityVectorFrameType::CreateEntity()
{
    return std::make_unique<PXEntityVectorFrame>(this);
}

PXEntityVectorFrame::PXEntityVectorFrame(PXEntityBaseType* type) : PXEntityDialogFrame(type) {}

PXRect PXEntityVectorFrame::GetCloseBox() const
{
    const int32_t titleHeight = VectorType()->GetTitleHeight();
    const int32_t side = titleHeight - 3;
    const int32_t left = m_x + m_width - titleHeight - 1;
    const int32_t top = m_y + 3;
    return PXRect{left, left + side, top, top + side};
}

bool PXEntityVectorFrame::Update(float elapsedMs)
{
    Invalidate();
    const bool hover = VectorType()->HasSysClose() && StrictlyInside({g_mouseX, g_mouseY}, GetCloseBox());
    if (hover != m_closeHover) {
        if (g_screen != nullptr) {
            PXRect box = GetCloseBox();
            --box.left;
            --box.top;
            g_screen->InvalidateRect(box, false);
        }
        m_closeHover = hover;
    }
    return PXEntityDialogFrame::Update(elapsedMs);
}

bool PXEntityVectorFrame::Draw()
{
    if (g_screen == nullptr) {
        return true;
    }
    PXEntityVectorFrameType* type = VectorType();
    g_screen->DrawBevelRect(PXRect{m_x, m_x + m_width, m_y, m_y + m_height}, type->GetFace(),
                            type->GetHighlight(), type->GetShadow());
    if (type->HasTitle()) {
        g_screen->FillRect(PXRect{m_x + 2, m_x + m_width - 2, m_y + 2, m_y + 2 + type->GetTitleHeight()},
                           type->GetShadow());
    }
    if (type->HasSysClose()) {
        const PXRect box = GetCloseBox();
        // Light and dark swapped: the box looks pressed in.
        g_screen->DrawBevelRect(box, type->GetFace(), type->GetShadow(), type->GetHighlight());
        if (m_closeHover) {
            g_screen->DrawRect(PXRect{box.left - 1, box.right, box.top - 1, box.bottom}, HoverColor);
        }
    }
    return PXEntityDialogFrame::Draw();
}

bool PXEntityVectorFrame::FrameMouseDown(const PXPoint& point, int button)
{
    const PXEntityVectorFrameType* type = VectorType();
    if (type->HasTitle() && type->HasSysClose() && m_owner != nullptr && StrictlyInside(point, GetCloseBox())) {
        // A closed dialog does not start a drag as well.
        m_owner->CloseWithResult(0);
        return true;
    }
    return PXEntityDialogFrame::FrameMouseDown(point, button);
}

PXPoint PXEntityVectorFrame::GetClientOffset() const
{
    return PXPoint{10, VectorType()->GetTitleHeight() + 8};
}

int32_t PXEntityVectorFrame::GetExtraWidth() const
{
    return 20;
}

int32_t PXEntityVectorFrame::GetExtraHeight() const
{
    return VectorType()->GetTitleHeight() + 20;
}
