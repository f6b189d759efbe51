#pragma once
// Undocumented dark-mode extras of Windows 10 1809 and later: dark scroll
// bars, tree glyphs and menu frames. All or nothing, and never under Wine,
// whose uxtheme lacks these ordinals or gives the numbers other functions.
#include <windows.h>

namespace morvane::dark {

// The uxtheme entry points of the extras, found once. The program uses the
// system's; a test loads the same entry points from a module of its own.
class Extras {
  public:
    // The system's uxtheme, looked up at the first call: nothing under Wine
    // or before Windows 10 1809.
    static const Extras& ofThisSystem();

    // The entry points of uxtheme (or a module exporting the same ordinals)
    // on a system of this Windows 10 build number; nothing before 1809 or
    // when any one is missing. Asks nothing about Wine: ofThisSystem does.
    static Extras loadFrom(HMODULE uxtheme, DWORD windowsBuild);

    bool available() const { return available_; }

    // At process start: dark menus and system parts for the whole process.
    void enableForProcess() const;
    // High contrast turned on: the process's menus and parts as the system
    // draws them again.
    void disableForProcess() const;

    // Gives a control the system's dark theme class ("DarkMode_Explorer"
    // for trees and list boxes, "DarkMode_CFD" for edits). No-op without
    // the extras.
    void useDarkControlTheme(HWND control, const wchar_t* themeClass) const;
    // Undoes useDarkControlTheme: the control's own theme again.
    void useSystemControlTheme(HWND control) const;

  private:
    // The process's preferred app mode, then its menus redrawn in it.
    void setProcessMode(int preferredAppMode) const;

    using SetPreferredAppModeFn = int(WINAPI*)(int);            // uxtheme #135
    using FlushMenuThemesFn = void(WINAPI*)();                  // uxtheme #136
    using AllowDarkModeForWindowFn = bool(WINAPI*)(HWND, bool); // uxtheme #133
    using RefreshImmersiveColorPolicyStateFn = void(WINAPI*)(); // uxtheme #104
    using SetWindowThemeFn = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

    SetPreferredAppModeFn setPreferredAppMode_ = nullptr;
    FlushMenuThemesFn flushMenuThemes_ = nullptr;
    AllowDarkModeForWindowFn allowDarkModeForWindow_ = nullptr;
    RefreshImmersiveColorPolicyStateFn refreshColorPolicy_ = nullptr;
    SetWindowThemeFn setWindowTheme_ = nullptr;
    bool available_ = false;
};

} // namespace morvane::dark
