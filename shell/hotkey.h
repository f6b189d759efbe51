#pragma once
// The global hotkey named by [Keys] Activate= in the settings file
// (kActivateKey in shell/launcher_settings.h), e.g.
// "Ctrl+Shift+Space": modifiers Ctrl, Alt, Shift, Win joined by "+", the key
// last (A-Z, 0-9, F1-F24 except F12, Space).
//
// Names are read without regard to letter case ("ctrl+shift+space" is the
// same hotkey), and blanks around a name are allowed ("Ctrl + Q"). Refused,
// each with a reason: an empty part ("Ctrl++Q", "Ctrl+"), an unknown name, a
// modifier named twice, modifiers without a key, a key that is not last (so
// also two keys), F12 (Windows keeps it for the debugger), and a letter,
// digit or Space without Ctrl, Alt or Win: such a hotkey would take that key
// from the typing in every program (Shift alone gives capitals). F1-F24 other
// than F12 may stand alone.
//
// The window parses the value at start and, when it gives a hotkey, calls
// RegisterHotKey(hwnd, id, registrationModifiers(hotkey), hotkey.virtualKey);
// a failure there is hotkeyTakenText. A malformed value is traced with
// hotkeyProblemText and otherwise ignored; morvanex-check reports both.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "text/message_language.h"

namespace morvane {

// RegisterHotKey's modifier flags (MOD_ALT, MOD_CONTROL, MOD_SHIFT, MOD_WIN,
// MOD_NOREPEAT): fixed numbers of the Windows API.
enum HotkeyModifier : uint32_t {
    kHotkeyAlt = 0x0001,
    kHotkeyCtrl = 0x0002,
    kHotkeyShift = 0x0004,
    kHotkeyWin = 0x0008,
};
inline constexpr uint32_t kHotkeyNoRepeat = 0x4000;

// Virtual-key codes (VK_SPACE, VK_F1): also fixed numbers of the Windows
// API. Letters and digits are their capital ASCII codes.
inline constexpr uint32_t kVirtualKeySpace = 0x20;
inline constexpr uint32_t kVirtualKeyF1 = 0x70; // F1 to F24 follow one by one

struct Hotkey {
    uint32_t modifiers = 0; // HotkeyModifier flags
    uint32_t virtualKey = 0;

    bool operator==(const Hotkey&) const = default;
};

struct HotkeyProblem {
    enum Kind {
        kEmptyPart,        // "Ctrl++Q", "+Q", "Ctrl+"
        kUnknownName,      // part: the name
        kRepeatedModifier, // part: the modifier
        kNoKey,            // modifiers only
        kKeyNotLast,       // part: the key followed by more
        kReservedKey,      // F12
        kModifierNeeded,   // part: the key
    };
    Kind kind = kEmptyPart;
    std::u16string part; // the name concerned, as written
    bool operator==(const HotkeyProblem&) const = default;
};

struct HotkeySetting {
    // nullopt: no hotkey, because the value is missing, empty or malformed.
    std::optional<Hotkey> hotkey;
    // Set for a malformed value only.
    std::optional<HotkeyProblem> problem;
};

// The value of [Keys] Activate=; nullopt for a missing key. A missing,
// empty or blank value means no hotkey, which is no problem.
HotkeySetting parseHotkey(std::optional<std::u16string_view> value);

// The flags for RegisterHotKey: the modifiers and MOD_NOREPEAT, so holding
// the keys down does not activate the launcher over and over.
uint32_t registrationModifiers(const Hotkey& hotkey);

// The hotkey written the canonical way, "Ctrl+Alt+Shift+Win+Key".
std::u16string hotkeyText(const Hotkey& hotkey);

// Why the value gives no hotkey: for the trace and for morvanex-check.
std::u16string hotkeyProblemText(const HotkeyProblem& problem, MessageLanguage language);
// RegisterHotKey refused the hotkey: another program holds it.
std::u16string hotkeyTakenText(const Hotkey& hotkey, MessageLanguage language);

} // namespace morvane
