#pragma once
// Making a window always-on-top or not, keeping its position and size.
#include <windows.h>

namespace morvane {

// SetWindowPos with HWND_TOPMOST or HWND_NOTOPMOST, SWP_NOMOVE | SWP_NOSIZE
// (and SWP_NOACTIVATE for a hidden window).
void setTopmost(HWND hwnd, bool topmost);

bool isTopmost(HWND hwnd);

} // namespace morvane
