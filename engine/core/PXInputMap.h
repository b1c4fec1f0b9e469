// Which action a key or a pad button stands for. One table holds every binding: the play
// scene's moves and the screens' focus keys, each with up to three keys and two pad buttons,
// so the whole mapping can be shown, edited and stored in one place.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/core/PXEvent.h"

// Where an input arrives: the play scene steers the piece, every other screen (and a dialog
// open over the play scene) moves a focus between its elements.
enum class PXInputContext : uint8_t { Play, Menu };

enum class PXInputAction : uint8_t {
    None,
    // Play.
    MoveLeft,
    MoveRight,
    Turn,
    Drop,
    Pause,
    Quit,
    ToggleSound,
    SwapControls,
    // Screens with a focus.
    FocusUp,
    FocusDown,
    FocusLeft,
    FocusRight,
    FocusNext,
    FocusPrevious,
    Press,
    Back,
    PageUp,
    PageDown,
    Home,
    End,
};

struct PXInputBinding {
    static constexpr size_t KeySlots = 3;
    static constexpr size_t PadSlots = 2;

    PXInputContext context = PXInputContext::Menu;
    PXInputAction action = PXInputAction::None;
    // A name for the action that stays the same across versions (settings keys, logs).
    const char* name = "";
    // Key codes (letters in lower case) and pad buttons; 0 marks an empty slot.
    std::array<int32_t, KeySlots> keys{};
    std::array<int32_t, PadSlots> pads{};
};

class PXInputMap {
public:
    // The default bindings.
    PXInputMap();

    // The action `key` stands for in `context`, or None. Letters match in either case.
    PXInputAction ForKey(PXInputContext context, int32_t key) const;
    // The action pad `button` stands for in `context`, or None.
    PXInputAction ForPad(PXInputContext context, int32_t button) const;

    const std::vector<PXInputBinding>& Bindings() const { return m_bindings; }
    // The row of `action` in `context`, or nullptr.
    const PXInputBinding* Find(PXInputContext context, PXInputAction action) const;

    // Puts `key` (0 clears) into key slot `slot` of `action`. Refused when another action of
    // the same context already has the key: the map is unchanged and `*conflict` (when given)
    // names that action. False too for a slot or an action that does not exist.
    bool BindKey(PXInputContext context, PXInputAction action, size_t slot, int32_t key,
                 PXInputAction* conflict = nullptr);
    // The same for pad buttons.
    bool BindPad(PXInputContext context, PXInputAction action, size_t slot, int32_t button,
                 PXInputAction* conflict = nullptr);

    // Back to the default bindings.
    void RestoreDefaults();

    // Letters fold to lower case; every other code stays as it is.
    static int32_t NormalizeKey(int32_t key);

private:
    PXInputBinding* FindMutable(PXInputContext context, PXInputAction action);
    // BindKey and BindPad: `slots` is the binding's key or pad array.
    template <typename Slots>
    bool Bind(PXInputContext context, PXInputAction action, size_t slot, int32_t code,
              Slots PXInputBinding::*slots, PXInputAction* conflict);

    std::vector<PXInputBinding> m_bindings;
};

// The bindings the game reads its input through; the options screen edits them.
extern PXInputMap g_inputMap;
