// The default bindings and the look-ups through them.
#include "engine/core/PXInputMap.h"

PXInputMap g_inputMap;

namespace {

using Action = PXInputAction;
using Context = PXInputContext;

std::vector<PXInputBinding> DefaultBindings()
{
    return {
        {Context::Play, Action::MoveLeft, "Left", {KeyArrowLeft}, {PadLeft}},
        {Context::Play, Action::MoveRight, "Right", {KeyArrowRight}, {PadRight}},
        {Context::Play, Action::Turn, "Turn", {' ', KeyArrowUp}, {PadSouth}},
        {Context::Play, Action::Drop, "Drop", {KeyArrowDown}, {PadEast, PadDown}},
        {Context::Play, Action::Pause, "Pause", {'p'}, {PadStart}},
        {Context::Play, Action::Quit, "Quit", {KeyEscape}, {PadBack}},
        {Context::Play, Action::ToggleSound, "Sound", {'s'}, {}},
        {Context::Play, Action::SwapControls, "SwapControls", {'c'}, {}},
        {Context::Menu, Action::FocusUp, "Up", {KeyArrowUp}, {PadUp}},
        {Context::Menu, Action::FocusDown, "Down", {KeyArrowDown}, {PadDown}},
        {Context::Menu, Action::FocusLeft, "Left", {KeyArrowLeft}, {PadLeft}},
        {Context::Menu, Action::FocusRight, "Right", {KeyArrowRight}, {PadRight}},
        {Context::Menu, Action::FocusNext, "Next", {KeyTab}, {PadRightShoulder}},
        {Context::Menu, Action::FocusPrevious, "Previous", {}, {PadLeftShoulder}},
        {Context::Menu, Action::Press, "Press", {KeyReturn, ' '}, {PadSouth, PadStart}},
        {Context::Menu, Action::Back, "Back", {KeyEscape}, {PadEast, PadBack}},
        {Context::Menu, Action::PageUp, "PageUp", {KeyPageUp}, {}},
        {Context::Menu, Action::PageDown, "PageDown", {KeyPageDown}, {}},
        {Context::Menu, Action::Home, "Home", {KeyHome}, {}},
        {Context::Menu, Action::End, "End", {KeyEnd}, {}},
    };
}

// The action of `context` whose `slots` (keys or pads) hold `code`, or None.
template <typename Slots>
Action Lookup(const std::vector<PXInputBinding>& bindings, Context context, int32_t code, Slots slots)
{
    if (code == 0) {
        return Action::None;
    }
    for (const PXInputBinding& binding : bindings) {
        if (binding.context != context) {
            continue;
        }
        for (int32_t bound : slots(binding)) {
            if (bound == code) {
                return binding.action;
            }
        }
    }
    return Action::None;
}

const auto KeysOf = [](const PXInputBinding& binding) -> const auto& { return binding.keys; };
const auto PadsOf = [](const PXInputBinding& binding) -> const auto& { return binding.pads; };

}  // namespace

PXInputMap::PXInputMap() : m_bindings(DefaultBindings()) {}

void PXInputMap::RestoreDefaults() { m_bindings = DefaultBindings(); }

int32_t PXInputMap::NormalizeKey(int32_t key) { return key >= 'A' && key <= 'Z' ? key - 'A' + 'a' : key; }

PXInputAction PXInputMap::ForKey(PXInputContext context, int32_t key) const
{
    return Lookup(m_bindings, context, NormalizeKey(key), KeysOf);
}

PXInputAction PXInputMap::ForPad(PXInputContext context, int32_t button) const
{
    return Lookup(m_bindings, context, button, PadsOf);
}

const PXInputBinding* PXInputMap::Find(PXInputContext context, PXInputAction action) const
{
    for (const PXInputBinding& binding : m_bindings) {
        if (binding.context == context && binding.action == action) {
            return &binding;
        }
    }
    return nullptr;
}

PXInputBinding* PXInputMap::FindMutable(PXInputContext context, PXInputAction action)
{
    return const_cast<PXInputBinding*>(static_cast<const PXInputMap*>(this)->Find(context, action));
}

bool PXInputMap::BindKey(PXInputContext context, PXInputAction action, size_t slot, int32_t key,
                         PXInputAction* conflict)
{
    return Bind(context, action, slot, NormalizeKey(key), &PXInputBinding::keys, conflict);
}

bool PXInputMap::BindPad(PXInputContext context, PXInputAction action, size_t slot, int32_t button,
                         PXInputAction* conflict)
{
    return Bind(context, action, slot, button, &PXInputBinding::pads, conflict);
}

template <typename Slots>
bool PXInputMap::Bind(PXInputContext context, PXInputAction action, size_t slot, int32_t code,
                      Slots PXInputBinding::*slots, PXInputAction* conflict)
{
    PXInputBinding* binding = FindMutable(context, action);
    if (binding == nullptr || slot >= (binding->*slots).size()) {
        return false;
    }
    const PXInputAction holder =
        Lookup(m_bindings, context, code, [slots](const PXInputBinding& b) -> const Slots& { return b.*slots; });
    if (holder != PXInputAction::None && holder != action) {
        if (conflict != nullptr) {
            *conflict = holder;
        }
        return false;
    }
    // The code leaves any other slot of the action, so it is bound once.
    for (int32_t& bound : binding->*slots) {
        if (bound == code) {
            bound = 0;
        }
    }
    (binding->*slots)[slot] = code;
    return true;
}
