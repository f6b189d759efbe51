#include "ui/dark_extras.h"

#include "platform/win32/wine_workarounds.h"

namespace morvane::dark {
namespace {

constexpr DWORD kFirstBuildWithDarkMode = 17763; // Windows 10 1809
constexpr int kDefaultAppMode = 0;               // PreferredAppMode
constexpr int kForceDark = 2;

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

Extras loadSystemExtras() {
    if (wine::runningOnWine())
        return {};
    const DWORD build = windowsBuild();
    if (build < kFirstBuildWithDarkMode)
        return {};
    return Extras::loadFrom(LoadLibraryExW(L"uxtheme.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32),
                            build);
}

} // namespace

const Extras& Extras::ofThisSystem() {
    static const Extras loaded = loadSystemExtras();
    return loaded;
}

Extras Extras::loadFrom(HMODULE uxtheme, DWORD build) {
    Extras extras;
    if (!uxtheme || build < kFirstBuildWithDarkMode)
        return extras;
    extras.setPreferredAppMode_ = exportOf<SetPreferredAppModeFn>(uxtheme, MAKEINTRESOURCEA(135));
    extras.flushMenuThemes_ = exportOf<FlushMenuThemesFn>(uxtheme, MAKEINTRESOURCEA(136));
    extras.allowDarkModeForWindow_ =
        exportOf<AllowDarkModeForWindowFn>(uxtheme, MAKEINTRESOURCEA(133));
    extras.refreshColorPolicy_ =
        exportOf<RefreshImmersiveColorPolicyStateFn>(uxtheme, MAKEINTRESOURCEA(104));
    // Looked up rather than imported: loading uxtheme before the first window
    // costs Wine a long theme set-up at every start.
    extras.setWindowTheme_ = exportOf<SetWindowThemeFn>(uxtheme, "SetWindowTheme");
    extras.available_ = extras.setPreferredAppMode_ && extras.flushMenuThemes_ &&
                        extras.allowDarkModeForWindow_ && extras.refreshColorPolicy_ &&
                        extras.setWindowTheme_;
    return extras;
}

void Extras::enableForProcess() const {
    setProcessMode(kForceDark);
}

void Extras::disableForProcess() const {
    setProcessMode(kDefaultAppMode);
}

void Extras::setProcessMode(int preferredAppMode) const {
    if (!available_)
        return;
    setPreferredAppMode_(preferredAppMode);
    refreshColorPolicy_();
    flushMenuThemes_();
}

void Extras::useDarkControlTheme(HWND control, const wchar_t* themeClass) const {
    if (!available_)
        return;
    allowDarkModeForWindow_(control, true);
    setWindowTheme_(control, themeClass, nullptr);
}

void Extras::useSystemControlTheme(HWND control) const {
    if (!available_)
        return;
    allowDarkModeForWindow_(control, false);
    setWindowTheme_(control, nullptr, nullptr);
}

} // namespace morvane::dark
