// The push button: its images and sounds, mouse tracking, the draw choice for hover, press,
// latch and disabled, and the click test.
#include "engine/gui/PXEntity2DGUIButton.h"

#include "engine/core/PXGlobals.h"
#include "engine/entity/PXDefinitionBlock.h"
#include "engine/entity/PXDefinitionRead.h"
#include "engine/entity/PXEntityRegistry.h"
#include "engine/files/PXResourceCache.h"
#include "engine/gui/PXEntity2DGUISprite.h"
#include "engine/sound/PXSoundManager.h"

bool PXPlaySound(const PXSoundEntry* sound)
{
    if (!sound || !g_soundManager)
        return false;
    uint32_t channel = 0;
    if (g_soundManager->CreateChannel(sound->soundId, channel, false) != 1)
        return false;
    return g_soundManager->PlayChannel(channel) == 1;
}

PXEntity2DGUIButtonType::PXEntity2DGUIButtonType(const PXDefinitionBlock* block)
    : PXEntity2DGUIElementType(block)
{
    if (!block)
        return;
    ReadRef(block, "MainImageEnt", &m_mainImageRef);
    ReadRef(block, "DownImageEnt", &m_downImageRef);
    ReadRef(block, "HighlightImageEnt", &m_highlightImageRef);
    ReadRef(block, "DisabledImageEnt", &m_disabledImageRef);
    ReadFlag(block, "HighlightAsFrame", &m_highlightAsFrame, true);
    ReadText(block, "ContentSound", &m_contentSoundName);
    ReadText(block, "ClickSound", &m_clickSoundName);
    ReadText(block, "DownSound", &m_downSoundName);
}

PXEntity2DGUIButtonType::~PXEntity2DGUIButtonType()
{
    PXEntity2DGUIButtonType::Unload();
}

std::unique_ptr<PXEntityBase> PXEntity2DGUIButtonType::CreateEntity()
{
    return std::make_unique<PXEntity2DGUIButton>(this);
}

PXEntity2DGUIElement* PXEntity2DGUIButtonType::AsElement(const std::unique_ptr<PXEntityBase>& entity)
{
    return dynamic_cast<PXEntity2DGUIElement*>(entity.get());
}

bool PXEntity2DGUIButtonType::Load(bool reload)
{
    LoadScope scope(*this);
    return scope.Entered() && LoadWith(reload, [this] { AcquireParts(); });
}

void PXEntity2DGUIButtonType::AcquireParts()
{
    if (g_entityRegistry) {
        const std::pair<const PXEntityRef*, std::unique_ptr<PXEntityBase>*> images[] = {
            {&m_mainImageRef, &m_mainImage},
            {&m_downImageRef, &m_downImage},
            {&m_highlightImageRef, &m_highlightImage},
            {&m_disabledImageRef, &m_disabledImage},
        };
        for (const auto& image : images) {
            if (!*image.second)
                *image.second = g_entityRegistry->CreateEntity(*image.first, PXKind::Unknown);
        }
    }
    if (g_resources) {
        const std::pair<const std::string*, PXSoundEntry**> sounds[] = {
            {&m_contentSoundName, &m_contentSound},
            {&m_clickSoundName, &m_clickSound},
            {&m_downSoundName, &m_downSound},
        };
        for (const auto& sound : sounds) {
            if (!*sound.second && !sound.first->empty())
                *sound.second = g_resources->AcquireSound(*sound.first);
        }
    }
}

bool PXEntity2DGUIButtonType::Unload()
{
    return UnloadWith([this] {
        m_mainImage.reset();
        m_downImage.reset();
        m_highlightImage.reset();
        m_disabledImage.reset();
        for (PXSoundEntry** sound : {&m_contentSound, &m_clickSound, &m_downSound}) {
            if (*sound && g_resources)
                g_resources->ReleaseSound(*sound);
            *sound = nullptr;
        }
    });
}

bool PXEntity2DGUIButtonType::IsA(uint32_t kind) const
{
    return kind == PXKind::Button || PXEntity2DGUIElementType::IsA(kind);
}

PXEntity2DGUIButton::PXEntity2DGUIButton(PXEntityBaseType* type) : PXEntity2DGUIElement(type) {}

bool PXEntity2DGUIButton::SetAltProperty(int32_t id, int32_t value)
{
    if (!ButtonType()->GetMainImage())
        ButtonType()->Load(false);
    if (id == PXButtonProp::Latched) {
        const bool latched = value != 0;
        if (latched != m_latched) {
            m_latched = latched;
            Invalidate();
        }
        return true;
    }
    PXEntity2DGUIElement* main = ButtonType()->GetMainImage();
    return main ? main->SetAltProperty(id, value) : PXEntity2DGUIElement::SetAltProperty(id, value);
}

bool PXEntity2DGUIButton::GetAltProperty(int32_t id, int32_t* out)
{
    if (!out)
        return false;
    if (!ButtonType()->GetMainImage())
        ButtonType()->Load(false);
    if (id == PXButtonProp::Latched) {
        *out = m_latched ? 1 : 0;
        return true;
    }
    PXEntity2DGUIElement* main = ButtonType()->GetMainImage();
    return main ? main->GetAltProperty(id, out) : PXEntity2DGUIElement::GetAltProperty(id, out);
}

bool PXEntity2DGUIButton::IsInsideHitRect(int32_t x, int32_t y) const
{
    return m_hitRect.left < x && x < m_hitRect.right && m_hitRect.top < y && y < m_hitRect.bottom;
}

bool PXEntity2DGUIButton::Update(float elapsedMs)
{
    PXEntity2DGUIButtonType* type = ButtonType();
    type->Load(false);
    if (PXEntity2DGUIElement* main = type->GetMainImage()) {
        main->Update(elapsedMs);
        int32_t width = 0;
        int32_t height = 0;
        main->GetAltProperty(PXSpriteProp::Width, &width);
        main->GetAltProperty(PXSpriteProp::Height, &height);
        m_hitRect = PXRect{m_x, m_x + width, m_y, m_y + height};
        m_width = width;
        m_height = height;
    }
    for (PXEntity2DGUIElement* image :
         {type->GetDownImage(), type->GetHighlightImage(), type->GetDisabledImage()}) {
        if (image)
            image->Update(elapsedMs);
    }

    if (IsInsideHitRect(g_mouseX, g_mouseY)) {
        if (!m_hovered) {
            m_hovered = true;
            m_highlightDirty = true;
            if (!m_hoverSoundPlayed && type->GetContentSound()) {
                if (!m_silent)
                    PXPlaySound(type->GetContentSound());
                m_hoverSoundPlayed = true;
            }
        }
        if (g_leftButtonDown) {
            InvalidateImage(type->GetDownImage());
            if (!m_downSoundPlayed && type->GetDownSound()) {
                if (!m_silent)
                    PXPlaySound(type->GetDownSound());
                m_downSoundPlayed = true;
            }
        }
    } else {
        if (m_hovered) {
            m_hovered = false;
            m_highlightDirty = true;
        }
        m_hoverSoundPlayed = false;
        m_downSoundPlayed = false;
    }
    if (m_highlightDirty && type->GetHighlightImage()) {
        InvalidateImage(type->GetHighlightImage());
        m_highlightDirty = false;
    }
    return PXEntity2DGUIElement::Update(elapsedMs);
}

void PXEntity2DGUIButton::DrawImage(PXEntity2DGUIElement* image)
{
    if (!image)
        return;
    image->SetPosition(PXPoint{m_x, m_y});
    image->SetAlpha(m_alpha);
    image->Draw();
}

void PXEntity2DGUIButton::InvalidateImage(PXEntity2DGUIElement* image)
{
    if (!image)
        return;
    image->SetPosition(PXPoint{m_x, m_y});
    image->Invalidate();
}

bool PXEntity2DGUIButton::ShowsPressed() const
{
    // A button lit only by the focus is not under the held mouse button.
    return ((m_hovered && g_leftButtonDown) || m_latched) && ButtonType()->GetDownImage();
}

bool PXEntity2DGUIButton::Draw()
{
    if (!m_visible)
        return false;
    PXEntity2DGUIButtonType* type = ButtonType();
    if (m_disabled) {
        DrawImage(type->GetDisabledImage() ? type->GetDisabledImage() : type->GetMainImage());
        return true;
    }
    if (!IsLit()) {
        if (m_latched && type->GetDownImage()) {
            DrawImage(type->GetDownImage());
        } else if (PXEntity2DGUIElement* main = type->GetMainImage()) {
            main->SetPulseState(m_pulseValue, m_pulseSpeed);
            DrawImage(main);
        }
        return true;
    }
    PXEntity2DGUIElement* highlight = type->GetHighlightImage();
    if (!type->IsHighlightAsFrame() && highlight) {
        // The hover picture replaces the normal one.
        DrawImage(ShowsPressed() ? type->GetDownImage() : highlight);
    } else {
        DrawImage(ShowsPressed() ? type->GetDownImage() : type->GetMainImage());
        DrawImage(highlight);
    }
    // The next Update sets hovered again while the mouse stays.
    m_hovered = false;
    m_highlightDirty = true;
    return true;
}

void PXEntity2DGUIButton::Invalidate()
{
    PXEntity2DGUIButtonType* type = ButtonType();
    if (!IsLit()) {
        InvalidateImage(type->GetMainImage());
        if (type->IsHighlightAsFrame())
            InvalidateImage(type->GetHighlightImage());
        return;
    }
    InvalidateImage(ShowsPressed() ? type->GetDownImage() : type->GetMainImage());
    InvalidateImage(type->GetHighlightImage());
}

void PXEntity2DGUIButton::SetPosition(const PXPoint& point)
{
    PXEntity2DGUIButtonType* type = ButtonType();
    for (PXEntity2DGUIElement* image :
         {type->GetMainImage(), type->GetDownImage(), type->GetHighlightImage()}) {
        if (image)
            image->SetPosition(point);
    }
    PXEntity2DGUIElement::SetPosition(point);
}

bool PXEntity2DGUIButton::Click(const PXPoint& point)
{
    return IsInsideHitRect(point.x, point.y) && OnInputAction(PXInputAction::Press) == PXActionResult::Pressed;
}

bool PXEntity2DGUIButton::CanTakeFocus() const
{
    return m_visible && !m_disabled;
}

void PXEntity2DGUIButton::SetFocused(bool focused)
{
    if (focused == m_focused)
        return;
    // The lit pictures are invalidated before and after the change.
    Invalidate();
    // Under the pointer the hover sounds already (the pointer is what brought the focus).
    if (focused && !m_silent && !IsInsideHitRect(g_mouseX, g_mouseY))
        PXPlaySound(ButtonType()->GetContentSound());
    PXEntity2DGUIElement::SetFocused(focused);
    Invalidate();
}

PXActionResult PXEntity2DGUIButton::OnInputAction(PXInputAction action)
{
    if (action != PXInputAction::Press || m_disabled)
        return PXActionResult::Ignored;
    PXPlaySound(ButtonType()->GetClickSound());
    InvalidateImage(ButtonType()->GetDownImage());
    return PXActionResult::Pressed;
}

bool PXEntity2DGUIButton::IsOver(const PXPoint& point)
{
    return IsInsideHitRect(point.x, point.y);
}

bool PXEntity2DGUIButton::IsPressed()
{
    return (m_hovered && g_leftButtonDown) || m_latched;
}
