#pragma once
// Undocumented dark-mode extras of Windows 10 1809 and later: dark scroll
// bars, tree glyphs and menu frames. All or nothing, and never under Wine,
// whose uxtheme lacks these ordinals or gives the numbers other functions.
#include <windows.h>

namespace morvane::dark {

// True on real Windows 10 1809+ with every needed uxtheme export present.
bool extrasAvailable();

// At process start: dark menus and system parts for the whole process.
void enableProcessExtras();

// Gives a control the system's dark theme class ("DarkMode_Explorer" for
// trees and list boxes, "DarkMode_CFD" for edits). No-op without extras.
void useDarkControlTheme(HWND control, const wchar_t* themeClass);

} // namespace morvane::dark
