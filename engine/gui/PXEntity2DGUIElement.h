// The base of every element placed on a scene: rectangle, visibility, disabled flag, alpha
// with fades and a pulse, tint, the hover timer that raises the element's tooltip, and the
// keyboard/pad focus: whether the element can take it, its focused look and its answer to
// a focus action.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/core/PXInputMap.h"
#include "engine/entity/PXEntityBase.h"
#include "engine/graphics/PXGraphicsTypes.h"
#include "engine/gui/PXPropertyIds.h"

class PXDefinitionBlock;
class PXEntity2DGUIElement;
class PXEntity2DGUIFont;

// Whatever shows tooltips (the current scene). Elements reach it through g_toolTipHostFinder
// so that the element code does not depend on the scene class.
class PXToolTipHost {
public:
    virtual ~PXToolTipHost() = default;
    virtual void ShowToolTip(PXEntity2DGUIElement* owner, int32_t x, int32_t y, const std::string& text) = 0;
};

// Answers the game's current scene as a tooltip host, or none. The game installs it; while it
// is null no tooltip is shown.
using PXToolTipHostFinder = PXToolTipHost* (*)();
extern PXToolTipHostFinder g_toolTipHostFinder;

// Hears the changes the player makes to an element's value (a slider moved by a key, a pad
// button or the pointer). The scene showing the element listens.
class PXElementChangeListener {
public:
    virtual ~PXElementChangeListener() = default;
    // True when the listener reacted.
    virtual bool OnElementChanged(PXEntity2DGUIElement* element) = 0;
};

// What an element did with a focus action (PXInputAction) sent to it while it had the focus.
enum class PXActionResult : uint8_t {
    Ignored,  // not an action of this element: the scene moves the focus or goes back
    Used,     // the element changed itself (a list scrolled, a slider moved)
    Pressed,  // the element acted as a click on it does: the scene reacts to the press
};

class PXEntity2DGUIElementType : public PXEntityBaseType {
public:
    // Milliseconds the mouse must rest on an element before its tooltip is requested.
    static constexpr float ToolTipDelayMs = 500.0f;

    // Reads the tooltip keys; all defaults for a null block.
    explicit PXEntity2DGUIElementType(const PXDefinitionBlock* block);

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool IsA(uint32_t kind) const override;

    const std::string& GetToolTip() const { return m_toolTip; }
    void SetToolTip(const std::string& text) { m_toolTip = text; }
    const PXPoint& GetToolTipPos() const { return m_toolTipPos; }
    bool IsToolTipRelative() const { return m_toolTipRelative; }
    bool IsDithered() const { return m_dither; }
    // Image-cache load flags for this type's images: dithered conversion when "dither" is set.
    uint32_t GetImageLoadFlags() const { return m_dither ? 0x10u : 0u; }

protected:
    std::string m_toolTip;
    PXPoint m_toolTipPos{12, 24};
    bool m_toolTipRelative = true;
    bool m_dither = false;
};

class PXEntity2DGUIElement : public PXEntityBase {
public:
    explicit PXEntity2DGUIElement(PXEntityBaseType* type);

    bool SetProperty(int32_t id, int32_t value) override;
    bool SetStringProperty(int32_t id, const std::string& value) override;
    bool GetProperty(int32_t id, int32_t* out) override;
    bool GetStringProperty(int32_t id, std::string* out) override;
    bool Update(float elapsedMs) override;
    bool Draw() override;

    virtual void SetPosition(const PXPoint& point);
    virtual void GetPosition(PXPoint* out) const;
    virtual void GetRect(PXRect* out) const;
    virtual void SetSize(int32_t width, int32_t height);
    virtual void SetRect(int32_t x, int32_t y, int32_t width, int32_t height);
    virtual void StartPulse(float periodMs);
    virtual bool IsPulsing() const;
    virtual void SetPulseState(float value, float speed);
    virtual void FadeIn(float ms);
    virtual void FadeOut(float ms);
    virtual void SetVisible(bool visible);
    virtual bool IsVisible() const;
    virtual void SetDisabled(bool disabled);
    virtual bool IsDisabled() const;
    virtual void SetAlpha(int32_t alpha);
    virtual int32_t GetAlpha() const;
    // True when a click at the point hits the element; performs the element's own reaction.
    virtual bool Click(const PXPoint& point);
    // True when the point is over the element; no side effects.
    virtual bool IsOver(const PXPoint& point);
    // Adds the area the element covers to the screen's dirty list.
    virtual void Invalidate();
    // Whether the keyboard/pad focus may rest on the element: it is shown, enabled and of a
    // kind that acts. The base element never takes it.
    virtual bool CanTakeFocus() const;
    // The focus arrives (drawn like the mouse hover, tooltip included) or leaves.
    virtual void SetFocused(bool focused);
    // A focus action while the element has the focus. The base ignores every action.
    virtual PXActionResult OnInputAction(PXInputAction action);
    // The font a text element draws with, or none.
    virtual PXEntity2DGUIFont* GetFont();
    // A left press at the point. An element that takes it (true) holds the pointer until the
    // release: its scene hands it every later pointer position, inside the element or not
    // (OnPointerDrag), then the release (OnPointerUp), and that release clicks nothing. The
    // base takes no press.
    virtual bool OnPointerDown(const PXPoint& point);
    virtual void OnPointerDrag(const PXPoint& point);
    virtual void OnPointerUp(const PXPoint& point);
    // Who hears the player's changes (not owned; none by default).
    void SetChangeListener(PXElementChangeListener* listener) { m_changeListener = listener; }
    PXElementChangeListener* GetChangeListener() const { return m_changeListener; }

    int32_t GetX() const { return m_x; }
    int32_t GetY() const { return m_y; }
    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    const PXColor& GetTint() const { return m_tint; }
    float GetFadeSpeed() const { return m_fadeSpeed; }
    float GetPulseSpeed() const { return m_pulseSpeed; }
    float GetPulseValue() const { return m_pulseValue; }
    float GetHoverMs() const { return m_hoverMs; }
    bool IsFocused() const { return m_focused; }
    // Restarts the tooltip hover (elements embedded in another never raise their own).
    void ResetHover() { m_hoverMs = 0.0f; }
    void SetTint(const PXColor& tint) { m_tint = tint; }

protected:
    PXEntity2DGUIElementType* GuiType() const { return static_cast<PXEntity2DGUIElementType*>(m_type); }
    void UpdateFade(float elapsedMs);
    void UpdatePulse(float elapsedMs);
    void UpdateToolTip(float elapsedMs);
    bool IsMouseStrictlyInside() const;
    // Tells the listener, if any, that the player changed the element.
    void NotifyChanged();

    int32_t m_x = 0;
    int32_t m_y = 0;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_disabled = false;
    bool m_visible = true;
    bool m_focused = false;
    int32_t m_alpha = 255;
    float m_fadeSpeed = 0.0f;
    float m_hoverMs = 0.0f;
    PXColor m_tint;
    float m_pulseSpeed = 0.0f;
    float m_pulseValue = 0.0f;
    float m_pulseMax = 255.0f;
    float m_pulseMin = 160.0f;
    // Fraction of an alpha step not yet applied by the running fade.
    float m_fadeCarry = 0.0f;
    PXElementChangeListener* m_changeListener = nullptr;  // not owned
};

using PXEntity2DGUIElementPrototype = PXEntityTypePrototypeFor<PXEntity2DGUIElementType>;
