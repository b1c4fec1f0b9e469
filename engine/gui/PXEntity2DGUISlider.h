// Class "slider": a horizontal track with a knob that picks a whole number from a range in
// steps. The track runs the element's width, centred on its height; the part left of the
// knob is filled. Colours draw it, or images where the definition gives them. A left press
// jumps the knob to the pointer and drags it until the release; with the focus Left/Right
// step it, PageUp/PageDown move by a page, Home/End go to the ends. Every change the player
// makes plays the change sound and tells the element's listener (the scene).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/entity/PXEntityRef.h"
#include "engine/graphics/PXColor.h"
#include "engine/gui/PXEntity2DGUIElement.h"

struct PXSoundEntry;

class PXEntity2DGUISliderType : public PXEntity2DGUIElementType {
public:
    // Sizes from a definition are cut to 1..MaxSize pixels.
    static constexpr int32_t MaxSize = 4096;

    // Reads the keys; a reversed range is swapped and an empty one refused (0..100), each
    // with a log line. The initial value is clamped and snapped to the steps.
    explicit PXEntity2DGUISliderType(const PXDefinitionBlock* block);
    ~PXEntity2DGUISliderType() override;

    std::unique_ptr<PXEntityBase> CreateEntity() override;
    bool Load(bool reload) override;
    bool Unload() override;

    int32_t GetMin() const { return m_min; }
    int32_t GetMax() const { return m_max; }
    int32_t GetStep() const { return m_step; }
    int32_t GetPageStep() const { return m_pageStep; }
    int32_t GetInitialValue() const { return m_value; }
    int32_t GetWidth() const { return m_width; }
    int32_t GetHeight() const { return m_height; }
    int32_t GetKnobWidth() const { return m_knobWidth; }
    int32_t GetKnobHeight() const { return m_knobHeight; }
    const PXColor& GetTrackColor() const { return m_trackColor; }
    const PXColor& GetFillColor() const { return m_fillColor; }
    const PXColor& GetKnobColor() const { return m_knobColor; }
    const PXColor& GetKnobFocusColor() const { return m_knobFocusColor; }
    // A track image shows the whole track; the fill goes over it only when FillCol is given.
    bool HasFillColor() const { return m_fillColorGiven; }
    PXEntity2DGUIElement* GetTrackImage() const { return m_track.image.get(); }
    PXEntity2DGUIElement* GetKnobImage() const { return m_knob.image.get(); }
    PXEntity2DGUIElement* GetKnobFocusImage() const { return m_knobFocus.image.get(); }
    PXSoundEntry* GetChangeSound() const { return m_changeSound; }

    // `value` clamped to the range and moved to the nearest allowed value: min + k x Step,
    // or max itself.
    int32_t Snap(int64_t value) const;

private:
    // A picture named by the definition and, while loaded, its element.
    struct Picture {
        PXEntityRef ref;
        std::unique_ptr<PXEntity2DGUIElement> image;
    };

    void ReadRange(const PXDefinitionBlock* block);
    void AcquireParts();

    int32_t m_min = 0;
    int32_t m_max = 100;
    int32_t m_step = 1;
    int32_t m_pageStep = 10;
    int32_t m_value = 0;
    int32_t m_width = 100;
    int32_t m_height = 16;
    int32_t m_knobWidth = 8;
    int32_t m_knobHeight = 16;
    PXColor m_trackColor = MakeColor(96, 96, 96);
    PXColor m_fillColor = MakeColor(64, 160, 255);
    PXColor m_knobColor = MakeColor(200, 200, 200);
    PXColor m_knobFocusColor = MakeColor(255, 255, 128);
    bool m_fillColorGiven = false;
    Picture m_track;
    Picture m_knob;
    Picture m_knobFocus;
    std::string m_changeSoundName;
    PXSoundEntry* m_changeSound = nullptr;  // held in g_resources
};

class PXEntity2DGUISlider : public PXEntity2DGUIElement {
public:
    explicit PXEntity2DGUISlider(PXEntity2DGUISliderType* type);

    int32_t GetValue() const { return m_value; }
    // Clamps and snaps `value`. A change with `notify` (the player's hand) plays the change
    // sound and tells the listener; without it the slider only moves.
    void SetValue(int32_t value, bool notify);
    int32_t GetMin() const { return SliderType()->GetMin(); }
    int32_t GetMax() const { return SliderType()->GetMax(); }
    int32_t GetStep() const { return SliderType()->GetStep(); }
    bool IsDragging() const { return m_dragging; }
    // Where the knob is drawn for the current value.
    PXRect GetKnobRect() const;

    // PXSliderProp::Value sets (silently) and gets the value; Min, Max and Step are read.
    bool SetProperty(int32_t id, int32_t value) override;
    bool GetProperty(int32_t id, int32_t* out) override;
    bool Update(float elapsedMs) override;
    bool Draw() override;
    void SetPosition(const PXPoint& point) override;
    bool IsOver(const PXPoint& point) override;
    void Invalidate() override;
    bool CanTakeFocus() const override;
    // Left/Right by a step (taken at the ends too, so the focus stays), PageUp/PageDown by a
    // page, Home/End to the ends; the others are not the slider's.
    PXActionResult OnInputAction(PXInputAction action) override;
    // A press strictly inside jumps the knob to the pointer and starts the drag.
    bool OnPointerDown(const PXPoint& point) override;
    void OnPointerDrag(const PXPoint& point) override;
    void OnPointerUp(const PXPoint& point) override;

private:
    PXEntity2DGUISliderType* SliderType() const { return static_cast<PXEntity2DGUISliderType*>(m_type); }
    // Pixels the knob's centre travels over the range, at least 0.
    int32_t Travel() const;
    // The value under pointer column `x`.
    int32_t ValueAt(int32_t x) const;
    // X of the knob's centre for the current value.
    int32_t KnobCentre() const;
    // The track's band: the element's width, centred on its height.
    PXRect TrackRect() const;
    // Moves by `delta` from the current value, as the player.
    void StepBy(int64_t delta);
    // Drawn with the focused knob: focused, hovered or dragged.
    bool IsLit() const { return m_focused || m_hovered || m_dragging; }
    // Places an image at (x, y) with the slider's alpha and draws it.
    void DrawImage(PXEntity2DGUIElement* image, int32_t x, int32_t y);
    PXColor Faded(const PXColor& color) const;

    int32_t m_value = 0;
    bool m_dragging = false;
    bool m_hovered = false;
};

using PXEntity2DGUISliderPrototype = PXEntityTypePrototypeFor<PXEntity2DGUISliderType>;
