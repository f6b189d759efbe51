#pragma once
// The launcher's global hotkey ([Keys] Activate in the settings): registered
// for the main window once it exists, unregistered when it goes. A system-wide
// resource, so the host holds it, as it holds the message filter; the window
// answers WM_HOTKEY.
#include <windows.h>

#include <optional>
#include <string>

#include "shell/hotkey.h"

namespace morvane {

class HotkeyRegistration {
  public:
    // WM_HOTKEY's wParam for the launcher's hotkey.
    static constexpr int kId = 1;

    // RegisterHotKey with MOD_NOREPEAT; registered() tells whether Windows
    // took it (it refuses a hotkey another program holds).
    HotkeyRegistration(HWND window, const Hotkey& hotkey);
    ~HotkeyRegistration();
    HotkeyRegistration(const HotkeyRegistration&) = delete;
    HotkeyRegistration& operator=(const HotkeyRegistration&) = delete;

    bool registered() const { return registered_; }

  private:
    HWND window_;
    bool registered_;
};

// The hotkey the value names, registered for window; a malformed value or a
// hotkey another program holds is traced and gives none, as does a missing
// or empty value.
void registerActivationHotkey(std::optional<HotkeyRegistration>& registration, HWND window,
                              const std::optional<std::u16string>& value);

} // namespace morvane
