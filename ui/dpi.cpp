#include "ui/dpi.h"

namespace morvane {

UINT dpiOfWindow(HWND hwnd) {
    const UINT dpi = GetDpiForWindow(hwnd);
    return dpi ? dpi : systemDpi();
}

UINT systemDpi() {
    const UINT dpi = GetDpiForSystem();
    return dpi ? dpi : USER_DEFAULT_SCREEN_DPI;
}

} // namespace morvane
