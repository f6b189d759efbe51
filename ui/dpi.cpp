#include "ui/dpi.h"

#include <versionhelpers.h>

#include <algorithm>

#include "platform/win32/wine_workarounds.h"

namespace morvane {

UINT dpiOfWindow(HWND hwnd) {
    const UINT dpi = GetDpiForWindow(hwnd);
    return dpi ? dpi : systemDpi();
}

UINT systemDpi() {
    const UINT dpi = GetDpiForSystem();
    return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

FrameInsets invisibleFrameOfThisSystem(DWORD style, DWORD exStyle, UINT dpi) {
    if (!(style & WS_THICKFRAME) || !IsWindows10OrGreater() || wine::drawsWholeFrame())
        return {};
    RECT frame{0, 0, 0, 0};
    if (!AdjustWindowRectExForDpi(&frame, style, FALSE, exStyle, dpi))
        return {};
    const int border = static_cast<int>(GetSystemMetricsForDpi(SM_CXBORDER, dpi));
    auto invisible = [&](LONG width) { return std::max(0, static_cast<int>(width) - border); };
    return {invisible(-frame.left), 0, invisible(frame.right), invisible(frame.bottom)};
}

} // namespace morvane
