// Names of keys and pad buttons as the player reads them on the screen ("Space", "A",
// "Left", "Page Up"; a pad's "A", "Start", "Left"). Text is in the game's one-byte code
// page, as the fonts draw it.
#pragma once

#include <cstdint>
#include <string>

// The name of key code `key`; "" for 0 (an empty binding slot), "Key <n>" for a code with
// no name.
std::string PXKeyName(int32_t key);

// The name of pad button `button` (PXPadButton); "" for 0, "Button <n>" for one without a name.
std::string PXPadButtonName(int32_t button);
