// The player's options that the options screen edits and the settings store keeps: the
// music and effects volumes, the key-repeat delay and the play bindings of g_inputMap.
// Full screen and the swapped controls stay with the game object's own stored settings.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/core/PXInputMap.h"

class PXSettingsManager;

class SFOptions {
public:
    // The repeat delays the screen steps through, slowest first (milliseconds).
    static constexpr std::array<int32_t, 5> KeyRepeatDelays = {{220, 160, 120, 85, 60}};
    // The stored delay's limits; 0 stands for the machine default.
    static constexpr int32_t MinKeyRepeatDelay = 30;
    static constexpr int32_t MaxKeyRepeatDelay = 1000;

    // Percent, 0..100.
    int32_t musicVolume = 100;
    int32_t effectsVolume = 100;
    // Milliseconds between the steps of a held move; 0 follows config.cfg's KeyRepeatDelay.
    int32_t keyRepeatDelay = 0;

    // "Slow", "Relaxed", "Normal", "Quick", "Fast"; "" past the last step.
    static const char* KeyRepeatName(size_t step);
    // The step whose delay is nearest `delayMs` (the slower one of two as near).
    static size_t NearestKeyRepeatStep(int32_t delayMs);

    // The delay a keyRepeatDelay of 0 stands for: what config.cfg gave this machine (the
    // game sets it after reading config.cfg; 120 until then).
    static void SetMachineKeyRepeatDelay(int32_t delayMs);
    static int32_t MachineKeyRepeatDelay();

    // Reads the options and the play bindings (into g_inputMap) under the game key. A missing
    // value keeps what is there; a damaged one does too, with one log line. When any stored
    // binding cannot be taken, every play binding goes back to its default.
    void Read(PXSettingsManager& store);
    // Writes the options and g_inputMap's play bindings under the game key.
    void Write(PXSettingsManager& store) const;
    // Sets g_soundManager's group gains and g_keyRepeatDelay.
    void Apply() const;
    // The default options and bindings.
    void RestoreDefaults();

    // The delay a held move steps at: keyRepeatDelay, or the machine default for 0.
    int32_t EffectiveKeyRepeatDelay() const;

    // The stored names of a play binding's keys and pad buttons ("Keys Left", "Pad Left").
    static std::string KeysName(const PXInputBinding& binding);
    static std::string PadsName(const PXInputBinding& binding);
    // True when both tables bind the same codes to the same actions.
    static bool SameBindings(const std::vector<PXInputBinding>& a, const std::vector<PXInputBinding>& b);

    bool operator==(const SFOptions& other) const;
    bool operator!=(const SFOptions& other) const { return !(*this == other); }
};
