#pragma once
// DPI of a window or the primary screen, 96-DPI sizes scaled to it, and the
// part of a window's frame the system leaves invisible at a DPI.
#include <windows.h>

#include <functional>

#include "shell/control_rect.h"
#include "shell/settings_values.h"

namespace morvane {

UINT dpiOfWindow(HWND hwnd);
UINT systemDpi();
inline int scaled(int value96, UINT dpi) {
    return scaleForDpi(value96, static_cast<int>(dpi));
}

// How far the visible frame of a window of this style lies inside its outer
// rectangle (GetWindowRect) at this DPI.
using InvisibleFrameQuestion = std::function<FrameInsets(DWORD style, DWORD exStyle, UINT dpi)>;

// Windows 10 and later draw one pixel (SM_CXBORDER) of a sizing frame and
// leave the rest of it invisible on the left, right and bottom; at the top
// the caption starts at the outer edge. So the insets are the frame's width
// on those sides less that pixel (7 at 96 DPI), and 0 at the top. Worked out
// from the style and DPI, so that they are known before the window is first
// shown: DWM's DWMWA_EXTENDED_FRAME_BOUNDS knows a window only once it is.
// All 0 without a sizing frame, before Windows 10, and under Wine, which
// draws the whole frame.
FrameInsets invisibleFrameOfThisSystem(DWORD style, DWORD exStyle, UINT dpi);

} // namespace morvane
