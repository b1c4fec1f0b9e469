// The static prototypes of the GUI element classes and their registration.
#include "engine/gui/PXGuiClasses.h"

#include "engine/entity/PXEntityRegistry.h"
#include "engine/gui/PXEntity2DGUIAnimSprite.h"
#include "engine/gui/PXEntity2DGUIButton.h"
#include "engine/gui/PXEntity2DGUIElement.h"
#include "engine/gui/PXEntity2DGUIFPSText.h"
#include "engine/gui/PXEntity2DGUIFont.h"
#include "engine/gui/PXEntity2DGUIListBox.h"
#include "engine/gui/PXEntity2DGUIMultiText.h"
#include "engine/gui/PXEntity2DGUIPFire.h"
#include "engine/gui/PXEntity2DGUIScrollingSprite.h"
#include "engine/gui/PXEntity2DGUISlider.h"
#include "engine/gui/PXEntity2DGUISprite.h"
#include "engine/gui/PXEntity2DGUIText.h"
#include "engine/gui/PXEntity2DGUIToggleButton.h"

namespace {
PXEntity2DGUIElementPrototype s_elementPrototype;
PXEntity2DGUISpritePrototype s_spritePrototype;
PXEntity2DGUIScrollingSpritePrototype s_scrollingSpritePrototype;
PXEntity2DGUIAnimSpritePrototype s_animSpritePrototype;
PXEntity2DGUIFontPrototype s_fontPrototype;
PXEntity2DGUITextPrototype s_textPrototype;
PXEntity2DGUIMultiTextPrototype s_multiTextPrototype;
PXEntity2DGUIFPSTextPrototype s_fpsTextPrototype;
PXEntity2DGUIButtonPrototype s_buttonPrototype;
PXEntity2DGUIToggleButtonPrototype s_toggleButtonPrototype;
PXEntity2DGUIPFirePrototype s_firePrototype;
PXEntity2DGUIListBoxPrototype s_listBoxPrototype;
PXEntity2DGUISliderPrototype s_sliderPrototype;
}  // namespace

bool PXRegisterGuiClasses(PXEntityRegistry& registry)
{
    return registry.RegisterPrototypes({
        {&s_elementPrototype, "2DGUIElement"},
        {&s_spritePrototype, "sprite"},
        {&s_scrollingSpritePrototype, "scrollingsprite"},
        {&s_animSpritePrototype, "animsprite"},
        {&s_fontPrototype, "font"},
        {&s_textPrototype, "text"},
        {&s_multiTextPrototype, "MultiText"},
        {&s_fpsTextPrototype, "FPSText"},
        {&s_buttonPrototype, "button"},
        {&s_toggleButtonPrototype, "togglebutton"},
        {&s_firePrototype, "PFire"},
        {&s_listBoxPrototype, "ListBox"},
        {&s_sliderPrototype, "slider"},
    });
}
