#pragma once
// DPI of a window or the primary screen, and 96-DPI sizes scaled to it.
#include <windows.h>

#include "shell/control_rect.h"

namespace morvane {

UINT dpiOfWindow(HWND hwnd);
UINT systemDpi();
inline int scaled(int value96, UINT dpi) {
    return scaleForDpi(value96, static_cast<int>(dpi));
}

} // namespace morvane
