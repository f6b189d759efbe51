#include "app/activation_hotkey.h"

#include "platform/win32/debug_trace.h"

namespace morvane {

HotkeyRegistration::HotkeyRegistration(HWND window, const Hotkey& hotkey)
    : window_(window), registered_(RegisterHotKey(window, kId, registrationModifiers(hotkey),
                                                  hotkey.virtualKey) != FALSE) {}

HotkeyRegistration::~HotkeyRegistration() {
    if (registered_)
        UnregisterHotKey(window_, kId);
}

void registerActivationHotkey(std::optional<HotkeyRegistration>& registration, HWND window,
                              const std::optional<std::u16string>& value) {
    registration.reset();
    const HotkeySetting setting = parseHotkey(value);
    if (setting.problem)
        traceText(hotkeyProblemText(*setting.problem, MessageLanguage::kEnglish));
    if (!setting.hotkey)
        return;
    registration.emplace(window, *setting.hotkey);
    if (!registration->registered()) {
        traceText(hotkeyTakenText(*setting.hotkey, MessageLanguage::kEnglish));
        registration.reset();
    }
}

} // namespace morvane
