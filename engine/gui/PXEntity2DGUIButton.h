// Class "button": a push button of up to four picture entities (normal, pressed, highlight,
// disabled) and three sounds (hover, press, click) that tracks the mouse itself. The focus
// lights it as the mouse hover does, and Press acts as a click on it.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntityRef.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXPropertyIds.h"

struct PXSoundEntry;

// Plays a cached sound once on a new channel; false without a sound or a sound manager.
bool PXPlaySound(const PXSoundEntry* sound);

class PXEntity2DGUIButtonType : public PXEntity2DGUIElementType {
public:
    explicit PXEntity2DGUIButtonType(const PXDefinitionBlock* block);
    ~PXEntity2DGUIButtonType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool Load(bool reload) override;
    bool Unload() override;
    bool IsA(uint32_t kind) const override;

    PXEntity2DGUIElement* GetMainImage() const { return AsElement(m_mainImage); }
    PXEntity2DGUIElement* GetDownImage() const { return AsElement(m_downImage); }
    PXEntity2DGUIElement* GetHighlightImage() const { return AsElement(m_highlightImage); }
    PXEntity2DGUIElement* GetDisabledImage() const { return AsElement(m_disabledImage); }
    bool IsHighlightAsFrame() const { return m_highlightAsFrame; }
    PXSoundEntry* GetContentSound() const { return m_contentSound; }
    PXSoundEntry* GetClickSound() const { return m_clickSound; }
    PXSoundEntry* GetDownSound() const { return m_downSound; }

private:
    static PXEntity2DGUIElement* AsElement(const std::unique_ptr<PXEntityBase>& entity);
    // Makes the picture entities and acquires the sounds that are still missing.
    void AcquireParts();

    PXEntityRef m_mainImageRef;
    PXEntityRef m_downImageRef;
    PXEntityRef m_highlightImageRef;
    PXEntityRef m_disabledImageRef;
    std::unique_ptr<PXEntityBase> m_mainImage;
    std::unique_ptr<PXEntityBase> m_downImage;
    std::unique_ptr<PXEntityBase> m_highlightImage;
    std::unique_ptr<PXEntityBase> m_disabledImage;
    bool m_highlightAsFrame = true;
    std::string m_contentSoundName;
    std::string m_clickSoundName;
    std::string m_downSoundName;
    PXSoundEntry* m_contentSound = nullptr;  // held in g_resources
    PXSoundEntry* m_clickSound = nullptr;
    PXSoundEntry* m_downSound = nullptr;
};

class PXEntity2DGUIButton : public PXEntity2DGUIElement {
public:
    explicit PXEntity2DGUIButton(PXEntityBaseType* type);

    bool SetAltProperty(int32_t id, int32_t value) override;
    bool GetAltProperty(int32_t id, int32_t* out) override;
    bool Update(float elapsedMs) override;
    bool Draw() override;
    void SetPosition(const PXPoint& point) override;
    bool Click(const PXPoint& point) override;
    bool IsOver(const PXPoint& point) override;
    void Invalidate() override;
    bool CanTakeFocus() const override;
    // Gaining the focus sounds as the mouse entering does, unless the mouse is on it.
    void SetFocused(bool focused) override;
    // Press: the click's sound and pressed flash; the scene reacts as to a click.
    PXActionResult OnInputAction(PXInputAction action) override;
    // Hovered with the left button down, or latched.
    virtual bool IsPressed();
    // A silent button tracks the mouse as usual but plays no hover or press sound: a toggle
    // button's hidden states lie under the shown one, which alone may sound.
    void SetSilent(bool silent) { m_silent = silent; }

    bool IsHovered() const { return m_hovered; }
    bool IsLatched() const { return m_latched; }
    const PXRect& GetHitRect() const { return m_hitRect; }

private:
    PXEntity2DGUIButtonType* ButtonType() const { return static_cast<PXEntity2DGUIButtonType*>(m_type); }
    bool IsInsideHitRect(int32_t x, int32_t y) const;
    // Places the image at the button's position and alpha, then draws or invalidates it.
    void DrawImage(PXEntity2DGUIElement* image);
    void InvalidateImage(PXEntity2DGUIElement* image);
    bool ShowsPressed() const;
    // Drawn with the highlight: under the mouse or holding the focus.
    bool IsLit() const { return m_hovered || m_focused; }

    PXRect m_hitRect;
    bool m_hovered = false;
    bool m_highlightDirty = false;
    bool m_latched = false;
    bool m_hoverSoundPlayed = false;
    bool m_downSoundPlayed = false;
    bool m_silent = false;
};

using PXEntity2DGUIButtonPrototype = PXEntityTypePrototypeFor<PXEntity2DGUIButtonType>;
