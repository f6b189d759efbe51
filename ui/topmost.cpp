#include "ui/topmost.h"

#include "platform/win32/wine_workarounds.h"

namespace morvane {

void setTopmost(HWND hwnd, bool topmost) {
    // A hidden window is never activated: it would take the keyboard focus
    // away from every visible one.
    const UINT hiddenFlags = IsWindowVisible(hwnd) ? 0 : SWP_NOACTIVATE;
    wine::setTopmostState(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST,
                          SWP_NOMOVE | SWP_NOSIZE | hiddenFlags);
}

bool isTopmost(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

} // namespace morvane
