// Property ids of the GUI element classes, for SetProperty/GetProperty and their string
// forms. Each class family owns a range: 1-5 every element, 0x2xx fonts (0x203 is also
// answered by text elements), 0x3xx sprites and animated sprites, 0x4xx toggle buttons,
// 0x5xx text elements, 0x6xx list boxes, 0x9xx buttons, 0xAxx sliders.
#pragma once

#include <cstdint>

// Property ids every element answers.
namespace PXGuiProp {
constexpr int32_t ToolTip = 1;  // string channel
constexpr int32_t TintAlpha = 2;
constexpr int32_t TintRed = 3;
constexpr int32_t TintBlue = 4;
constexpr int32_t TintGreen = 5;
}  // namespace PXGuiProp

namespace PXFontProp {
constexpr int32_t CharWidth = 0x201;   // cell width + offsetx
constexpr int32_t LineHeight = 0x202;  // cell height + offsety
constexpr int32_t Justify = 0x203;     // answered by text elements
}  // namespace PXFontProp

// Alternative-channel property ids of sprites and animated sprites (0x303 is a string id).
namespace PXSpriteProp {
constexpr int32_t Width = 0x301;
constexpr int32_t Height = 0x302;
constexpr int32_t Image = 0x303;
constexpr int32_t Redraw = 0x304;
constexpr int32_t Flipped = 0x305;
constexpr int32_t Frame = 0x306;
constexpr int32_t Animating = 0x381;
}  // namespace PXSpriteProp

namespace PXToggleProp {
constexpr int32_t State = 0x401;
}  // namespace PXToggleProp

namespace PXButtonProp {
constexpr int32_t Latched = 0x901;  // alternative channel
}  // namespace PXButtonProp

namespace PXTextProp {
constexpr int32_t ResetText = 0x501;
constexpr int32_t Text = 0x502;     // string, set
constexpr int32_t GetText = 0x503;  // string, get
constexpr int32_t Editing = 0x504;
constexpr int32_t Alpha = 0x505;
constexpr int32_t Width = 0x506;
constexpr int32_t Height = 0x507;
constexpr int32_t MaxLength = 0x509;
constexpr int32_t WindowSize = 0x510;
constexpr int32_t Cursor = 0x511;
}  // namespace PXTextProp

namespace PXListBoxProp {
constexpr int32_t AddText = 0x601;      // string, set
constexpr int32_t ListWidth = 0x602;    // get
constexpr int32_t Selection = 0x603;    // set, get; string get: the selected text
constexpr int32_t Clear = 0x604;        // set
constexpr int32_t Count = 0x605;        // get
constexpr int32_t UserValue = 0x606;    // set, get: of the selected item
constexpr int32_t Previous = 0x607;     // set
constexpr int32_t Next = 0x608;         // set
constexpr int32_t ShowFile = 0x609;     // string, set
constexpr int32_t ViewOnly = 0x60A;     // set
constexpr int32_t SelectText = 0x60B;   // string, set
constexpr int32_t SelectValue = 0x60C;  // set
constexpr int32_t Wrap = 0x60D;         // set: the type's flag
constexpr int32_t ItemLimit = 0x60E;    // set
constexpr int32_t Top = 0x60F;          // get
constexpr int32_t ListHeight = 0x610;   // get
constexpr int32_t PageUp = 0x611;       // set
constexpr int32_t PageDown = 0x612;     // set
constexpr int32_t Indent = 0x613;       // string, set
constexpr int32_t ItemValue = 0x614;    // get: in an item index, out its user value
constexpr int32_t FixedWindow = 0x615;  // set
}  // namespace PXListBoxProp

namespace PXSliderProp {
constexpr int32_t Value = 0xA01;  // set (silently, clamped and snapped), get
constexpr int32_t Min = 0xA02;    // get
constexpr int32_t Max = 0xA03;    // get
constexpr int32_t Step = 0xA04;   // get
}  // namespace PXSliderProp
