#include "ui/dark_extras.h"

#include "platform/win32/wine_workarounds.h"

namespace morvane::dark {
namespace {

constexpr DWORD kFirstBuildWithDarkMode = 17763; // Windows 10 1809
constexpr int kForceDark = 2;                    // PreferredAppMode

using SetPreferredAppModeFn = int(WINAPI*)(int);            // uxtheme #135
using FlushMenuThemesFn = void(WINAPI*)();                  // uxtheme #136
using AllowDarkModeForWindowFn = bool(WINAPI*)(HWND, bool); // uxtheme #133
using RefreshImmersiveColorPolicyStateFn = void(WINAPI*)(); // uxtheme #104
using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);

template <class Function> Function exportOf(HMODULE module, const char* name) {
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

DWORD windowsBuild() {
    auto getVersion = exportOf<RtlGetVersionFn>(GetModuleHandleW(L"ntdll.dll"), "RtlGetVersion");
    OSVERSIONINFOW version{};
    version.dwOSVersionInfoSize = sizeof version;
    if (!getVersion || getVersion(&version) != 0 || version.dwMajorVersion < 10)
        return 0;
    return version.dwBuildNumber;
}

struct Extras {
    SetPreferredAppModeFn setPreferredAppMode = nullptr;
    FlushMenuThemesFn flushMenuThemes = nullptr;
    AllowDarkModeForWindowFn allowDarkModeForWindow = nullptr;
    RefreshImmersiveColorPolicyStateFn refreshColorPolicy = nullptr;
    SetWindowThemeFn setWindowTheme = nullptr;
    bool available = false;
};

Extras loadExtras() {
    Extras extras;
    if (wine::runningOnWine() || windowsBuild() < kFirstBuildWithDarkMode)
        return extras;
    HMODULE uxtheme = LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    extras.setPreferredAppMode = exportOf<SetPreferredAppModeFn>(uxtheme, MAKEINTRESOURCEA(135));
    extras.flushMenuThemes = exportOf<FlushMenuThemesFn>(uxtheme, MAKEINTRESOURCEA(136));
    extras.allowDarkModeForWindow =
        exportOf<AllowDarkModeForWindowFn>(uxtheme, MAKEINTRESOURCEA(133));
    extras.refreshColorPolicy =
        exportOf<RefreshImmersiveColorPolicyStateFn>(uxtheme, MAKEINTRESOURCEA(104));
    // Looked up rather than imported: loading uxtheme before the first window
    // costs Wine a long theme set-up at every start.
    extras.setWindowTheme = exportOf<SetWindowThemeFn>(uxtheme, "SetWindowTheme");
    extras.available = extras.setPreferredAppMode && extras.flushMenuThemes &&
                       extras.allowDarkModeForWindow && extras.refreshColorPolicy &&
                       extras.setWindowTheme;
    return extras;
}

const Extras& extras() {
    static const Extras loaded = loadExtras();
    return loaded;
}

} // namespace

bool extrasAvailable() {
    return extras().available;
}

void enableProcessExtras() {
    if (!extrasAvailable())
        return;
    extras().setPreferredAppMode(kForceDark);
    extras().refreshColorPolicy();
    extras().flushMenuThemes();
}

void useDarkControlTheme(HWND control, const wchar_t* themeClass) {
    if (!extrasAvailable())
        return;
    extras().allowDarkModeForWindow(control, true);
    extras().setWindowTheme(control, themeClass, nullptr);
}

} // namespace morvane::dark
