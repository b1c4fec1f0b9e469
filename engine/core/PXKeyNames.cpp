// Key and pad button names.
#include "engine/core/PXKeyNames.h"

#include "engine/core/PXEvent.h"

std::string PXKeyName(int32_t key)
{
    switch (key) {
    case 0:
        return "";
    case KeyBackspace:
        return "Backspace";
    case KeyTab:
        return "Tab";
    case KeyReturn:
        return "Enter";
    case KeyEscape:
        return "Escape";
    case ' ':
        return "Space";
    case KeyArrowUp:
        return "Up";
    case KeyArrowDown:
        return "Down";
    case KeyArrowRight:
        return "Right";
    case KeyArrowLeft:
        return "Left";
    case KeyControl:
        return "Ctrl";
    case KeyShift:
        return "Shift";
    case KeyPageUp:
        return "Page Up";
    case KeyPageDown:
        return "Page Down";
    case KeyHome:
        return "Home";
    case KeyEnd:
        return "End";
    default:
        break;
    }
    if (key >= KeyF1 && key <= KeyF12) {
        return "F" + std::to_string(key - KeyF1 + 1);
    }
    if (key >= 'a' && key <= 'z') {
        return std::string(1, static_cast<char>(key - 'a' + 'A'));
    }
    // Other printable characters, and the code page's upper half (arriving as -128..-1).
    if ((key > ' ' && key < 127) || (key >= -128 && key < 0 && key != -96 /* no-break space */)) {
        return std::string(1, static_cast<char>(key));
    }
    return "Key " + std::to_string(key);
}

std::string PXPadButtonName(int32_t button)
{
    switch (button) {
    case 0:
        return "";
    case PadSouth:
        return "A";
    case PadEast:
        return "B";
    case PadWest:
        return "X";
    case PadNorth:
        return "Y";
    case PadBack:
        return "Back";
    case PadStart:
        return "Start";
    case PadUp:
        return "Up";
    case PadDown:
        return "Down";
    case PadLeft:
        return "Left";
    case PadRight:
        return "Right";
    case PadLeftShoulder:
        return "LB";
    case PadRightShoulder:
        return "RB";
    default:
        return "Button " + std::to_string(button);
    }
}
