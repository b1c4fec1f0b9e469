// The player's options: their stored form, the checks on what is read back, and applying
// them to the sound manager, the key repeat and the input map.
#include "game/SFOptions.h"

#include <cerrno>
#include <cstdlib>

#include "engine/core/PXGlobals.h"
#include "engine/core/PXLog.h"
#include "engine/settings/PXSettingsManager.h"
#include "engine/sound/PXSoundManager.h"

namespace {

constexpr const char* MusicVolumeName = "Music Volume";
constexpr const char* EffectsVolumeName = "Effects Volume";
constexpr const char* KeyRepeatDelayName = "Key Repeat Delay";
constexpr const char* KeyRepeatNames[] = {"Slow", "Relaxed", "Normal", "Quick", "Fast"};
static_assert(sizeof(KeyRepeatNames) / sizeof(KeyRepeatNames[0]) == SFOptions::KeyRepeatDelays.size(),
              "one name for each repeat step");

int32_t s_machineKeyRepeatDelay = 120;

bool IsPercent(int32_t value)
{
    return value >= 0 && value <= 100;
}

bool IsRepeatDelay(int32_t value)
{
    return value == 0 || (value >= SFOptions::MinKeyRepeatDelay && value <= SFOptions::MaxKeyRepeatDelay);
}

// A code the platforms send as a key: a character byte (sign-extended), or a special key.
bool IsKeyCode(int32_t code)
{
    return (code >= -128 && code <= 255) || (code >= KeyArrowUp && code <= KeyEnd) ||
           (code >= KeyF1 && code <= KeyF12);
}

bool IsPadButton(int32_t code)
{
    return code >= 0 && code <= PadRightShoulder;
}

template <size_t N> std::string JoinCodes(const std::array<int32_t, N>& codes)
{
    std::string text;
    for (size_t i = 0; i < N; ++i) {
        text += (i == 0 ? "" : ",") + std::to_string(codes[i]);
    }
    return text;
}

// "a,b,c" with exactly N whole numbers that each pass `valid`; false leaves `codes` alone.
template <size_t N>
bool ParseCodes(const std::string& text, bool (*valid)(int32_t), std::array<int32_t, N>& codes)
{
    std::array<int32_t, N> parsed{};
    const char* at = text.c_str();
    for (size_t i = 0; i < N; ++i) {
        if (i > 0 && *at++ != ',') {
            return false;
        }
        // strtol alone would take leading blanks and a '+'.
        if (!(*at == '-' || (*at >= '0' && *at <= '9'))) {
            return false;
        }
        char* end = nullptr;
        errno = 0;
        const long value = std::strtol(at, &end, 10);
        if (end == at || errno != 0 || value < INT32_MIN || value > INT32_MAX ||
            !valid(static_cast<int32_t>(value))) {
            return false;
        }
        parsed[i] = static_cast<int32_t>(value);
        at = end;
    }
    if (*at != '\0') {
        return false;
    }
    codes = parsed;
    return true;
}

// The stored codes of one binding's keys or pads. A missing value keeps `codes`; false (with
// the log line) for one that cannot be taken.
template <size_t N>
bool ReadCodes(PXSettingsManager& store, const std::string& name, bool (*valid)(int32_t), const char* what,
               std::array<int32_t, N>& codes)
{
    std::string text;
    if (store.GetString(name, text)) {
        if (ParseCodes(text, valid, codes)) {
            return true;
        }
        LogF("Settings: \"%s\" \"%s\" is not %d %s codes; using the default bindings", name.c_str(),
             text.c_str(), static_cast<int>(N), what);
        return false;
    }
    int32_t number = 0;
    if (store.GetInt(name, number)) {
        LogF("Settings: \"%s\" %d is not %d %s codes; using the default bindings", name.c_str(), number,
             static_cast<int>(N), what);
        return false;
    }
    return true;
}

std::vector<PXInputBinding> PlayRows(const PXInputMap& map)
{
    std::vector<PXInputBinding> rows;
    for (const PXInputBinding& binding : map.Bindings()) {
        if (binding.context == PXInputContext::Play) {
            rows.push_back(binding);
        }
    }
    return rows;
}

// Why a set of play bindings could not be taken: the value and the action it clashed with.
struct BindingClash {
    std::string value;
    std::string codes;
    const char* what = "";
    PXInputAction holder = PXInputAction::None;
};

// Replaces the play bindings of `map` by `rows`: every play slot is emptied first, so that
// codes may move between actions. False at the first code another action already holds.
bool SetPlayBindings(PXInputMap& map, const std::vector<PXInputBinding>& rows, BindingClash* clash)
{
    for (const PXInputBinding& row : PlayRows(map)) {
        for (size_t slot = 0; slot < row.keys.size(); ++slot) {
            map.BindKey(PXInputContext::Play, row.action, slot, 0);
        }
        for (size_t slot = 0; slot < row.pads.size(); ++slot) {
            map.BindPad(PXInputContext::Play, row.action, slot, 0);
        }
    }
    for (const PXInputBinding& row : rows) {
        PXInputAction holder = PXInputAction::None;
        for (size_t slot = 0; slot < row.keys.size(); ++slot) {
            if (!map.BindKey(PXInputContext::Play, row.action, slot, row.keys[slot], &holder)) {
                *clash = {SFOptions::KeysName(row), JoinCodes(row.keys), "key", holder};
                return false;
            }
        }
        for (size_t slot = 0; slot < row.pads.size(); ++slot) {
            if (!map.BindPad(PXInputContext::Play, row.action, slot, row.pads[slot], &holder)) {
                *clash = {SFOptions::PadsName(row), JoinCodes(row.pads), "pad button", holder};
                return false;
            }
        }
    }
    return true;
}

void RestorePlayDefaults()
{
    BindingClash unused;
    SetPlayBindings(g_inputMap, PlayRows(PXInputMap()), &unused);
}

// A stored number that passes `valid`; a missing one keeps `value` silently, a damaged one
// (out of range, or text) keeps it with a log line.
void ReadNumber(PXSettingsManager& store, const char* name, int32_t& value, bool (*valid)(int32_t),
                const char* range)
{
    int32_t stored = 0;
    if (store.GetInt(name, stored)) {
        if (valid(stored)) {
            value = stored;
        } else {
            LogF("Settings: \"%s\" %d is out of range %s; using %d", name, stored, range, value);
        }
        return;
    }
    std::string text;
    if (store.GetString(name, text)) {
        LogF("Settings: \"%s\" \"%s\" is not a number; using %d", name, text.c_str(), value);
    }
}

// The play bindings into g_inputMap: missing values keep the map's, and anything that cannot
// be taken puts back every play default, so the player never gets half a keyboard.
void ReadBindings(PXSettingsManager& store)
{
    std::vector<PXInputBinding> rows = PlayRows(g_inputMap);
    for (PXInputBinding& row : rows) {
        if (!ReadCodes(store, SFOptions::KeysName(row), IsKeyCode, "key", row.keys) ||
            !ReadCodes(store, SFOptions::PadsName(row), IsPadButton, "pad button", row.pads)) {
            RestorePlayDefaults();
            return;
        }
    }
    BindingClash clash;
    if (!SetPlayBindings(g_inputMap, rows, &clash)) {
        const PXInputBinding* holder = g_inputMap.Find(PXInputContext::Play, clash.holder);
        LogF("Settings: \"%s\" \"%s\" takes a %s of %s; using the default bindings", clash.value.c_str(),
             clash.codes.c_str(), clash.what, holder != nullptr ? holder->name : "another action");
        RestorePlayDefaults();
    }
}

}  // namespace

const char* SFOptions::KeyRepeatName(size_t step)
{
    return step < KeyRepeatDelays.size() ? KeyRepeatNames[step] : "";
}

size_t SFOptions::NearestKeyRepeatStep(int32_t delayMs)
{
    size_t nearest = 0;
    int64_t best = INT64_MAX;
    for (size_t step = 0; step < KeyRepeatDelays.size(); ++step) {
        const int64_t distance = std::llabs(static_cast<int64_t>(delayMs) - KeyRepeatDelays[step]);
        if (distance < best) {
            best = distance;
            nearest = step;
        }
    }
    return nearest;
}

void SFOptions::SetMachineKeyRepeatDelay(int32_t delayMs)
{
    s_machineKeyRepeatDelay = delayMs;
}

int32_t SFOptions::MachineKeyRepeatDelay()
{
    return s_machineKeyRepeatDelay;
}

int32_t SFOptions::EffectiveKeyRepeatDelay() const
{
    return keyRepeatDelay != 0 ? keyRepeatDelay : s_machineKeyRepeatDelay;
}

std::string SFOptions::KeysName(const PXInputBinding& binding)
{
    return std::string("Keys ") + binding.name;
}

std::string SFOptions::PadsName(const PXInputBinding& binding)
{
    return std::string("Pad ") + binding.name;
}

bool SFOptions::SameBindings(const std::vector<PXInputBinding>& a, const std::vector<PXInputBinding>& b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].context != b[i].context || a[i].action != b[i].action || a[i].keys != b[i].keys ||
            a[i].pads != b[i].pads) {
            return false;
        }
    }
    return true;
}

bool SFOptions::operator==(const SFOptions& other) const
{
    return musicVolume == other.musicVolume && effectsVolume == other.effectsVolume &&
           keyRepeatDelay == other.keyRepeatDelay;
}

void SFOptions::Read(PXSettingsManager& store)
{
    store.OpenGameKey();
    ReadNumber(store, MusicVolumeName, musicVolume, IsPercent, "0..100");
    ReadNumber(store, EffectsVolumeName, effectsVolume, IsPercent, "0..100");
    ReadNumber(store, KeyRepeatDelayName, keyRepeatDelay, IsRepeatDelay, "0 or 30..1000");
    ReadBindings(store);
    store.CloseKey();
}

void SFOptions::Write(PXSettingsManager& store) const
{
    store.OpenGameKey();
    store.SetInt(MusicVolumeName, musicVolume);
    store.SetInt(EffectsVolumeName, effectsVolume);
    store.SetInt(KeyRepeatDelayName, keyRepeatDelay);
    for (const PXInputBinding& row : PlayRows(g_inputMap)) {
        store.SetString(KeysName(row), JoinCodes(row.keys));
        store.SetString(PadsName(row), JoinCodes(row.pads));
    }
    store.CloseKey();
}

void SFOptions::Apply() const
{
    if (g_soundManager != nullptr) {
        g_soundManager->SetGroupVolume(PXSoundGroup::Music, PXVolumeGain(musicVolume));
        g_soundManager->SetGroupVolume(PXSoundGroup::Effects, PXVolumeGain(effectsVolume));
    }
    g_keyRepeatDelay = EffectiveKeyRepeatDelay();
}

void SFOptions::RestoreDefaults()
{
    *this = SFOptions();
    g_inputMap.RestoreDefaults();
}
