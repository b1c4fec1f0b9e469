// The dialog frame: title bar dragging, the title text and the frame's client offset.
#include "engine/gui/PXEntityDialogFrame.h"

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntityDialogBox.h"
#include "engine/gui/PXPropertyIds.h"

PXEntityDialogFrameType::PXEntityDialogFrameType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (block == nullptr) {
        return;
    }
    int value = 0;
    if (block->FindKey("HasTitle") && block->ReadInts(&value, 1)) {
        m_hasTitle = value != 0;
    }
    ReadInt(block, "TitleHeight", &m_titleHeight);
    if (block->FindKey("TitleOffset")) {
        int offset[2] = {m_titleOffset.x, m_titleOffset.y};
        block->ReadInts(offset, 2);
        m_titleOffset = PXPoint{offset[0], offset[1]};
    }
    ReadRef(block, "TitleTextEnt", &m_titleTextRef);
}

std::unique_ptr<PXEntityBase> PXEntityDialogFrameType::CreateEntity()
{
    return std::make_unique<PXEntityDialogFrame>(this);
}

bool PXEntityDialogFrameType::IsA(uint32_t kind) const
{
    return kind == PXKind::DialogFrame || PXEntity2DGUIElementType::IsA(kind);
}

PXEntityDialogFrame::PXEntityDialogFrame(PXEntityBaseType* type) : PXEntity2DGUIElement(type)
{
    m_titleText = CreateEntityAs<PXEntity2DGUIElement>(g_entityRegistry, FrameType()->GetTitleTextRef(),
                                                       PXKind::GuiElement);
    if (m_titleText != nullptr) {
        m_titleText->GetType()->Load(false);
    }
}

PXEntityDialogFrame::~PXEntityDialogFrame() = default;

bool PXEntityDialogFrame::Update(float elapsedMs)
{
    if (m_titleText != nullptr) {
        m_titleText->Update(elapsedMs);
    }
    return PXEntity2DGUIElement::Update(elapsedMs);
}

bool PXEntityDialogFrame::Draw()
{
    if (m_titleText != nullptr && m_titleText->IsVisible()) {
        m_titleText->Draw();
    }
    return true;
}

void PXEntityDialogFrame::SetPosition(const PXPoint& point)
{
    PXEntity2DGUIElement::SetPosition(point);
    if (m_titleText != nullptr) {
        const PXPoint& offset = FrameType()->GetTitleOffset();
        m_titleText->SetPosition({point.x + offset.x, point.y + offset.y});
    }
}

void PXEntityDialogFrame::SetRect(int32_t x, int32_t y, int32_t width, int32_t height)
{
    SetPosition({x, y});
    SetSize(width, height);
}

void PXEntityDialogFrame::Invalidate()
{
    if (m_owner != nullptr) {
        m_owner->Invalidate();
    }
}

bool PXEntityDialogFrame::StrictlyInside(const PXPoint& p, const PXRect& r)
{
    return p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom;
}

bool PXEntityDialogFrame::FrameMouseUp(const PXPoint& /*point*/, int /*button*/)
{
    if (m_owner != nullptr) {
        m_owner->StopDragging();
    }
    return false;
}

bool PXEntityDialogFrame::FrameMouseDown(const PXPoint& point, int /*button*/)
{
    const PXRect titleBar{m_x, m_x + m_width, m_y, m_y + FrameType()->GetTitleHeight()};
    if (!FrameType()->HasTitle() || m_owner == nullptr || !StrictlyInside(point, titleBar)) {
        return false;
    }
    m_owner->StartDragging(point);
    return true;
}

void PXEntityDialogFrame::SetTitle(const std::string& title)
{
    m_title = title;
    if (m_titleText != nullptr) {
        m_titleText->SetProperty(PXFontProp::Justify, 1);
        m_titleText->SetStringProperty(PXTextProp::Text, title);
    }
    Invalidate();
}

PXPoint PXEntityDialogFrame::GetClientOffset() const
{
    return PXPoint{1, FrameType()->GetTitleHeight()};
}

int32_t PXEntityDialogFrame::GetExtraWidth() const
{
    return 0;
}

int32_t PXEntityDialogFrame::GetExtraHeight() const
{
    return 0;
}
