#include "ui/flat_button.h"

#include <commctrl.h>

#include "ui/dark_controls.h"
#include "ui/window_hook.h"

namespace morvane {
namespace {

bool pointInside(HWND hwnd, LPARAM lp) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    const POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    return PtInRect(&rect, point) != FALSE;
}

void notifyClicked(HWND hwnd) {
    SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED),
                 reinterpret_cast<LPARAM>(hwnd));
}

// The button's own mouse handling would move the focus to it; this one
// presses, tracks and releases without touching the focus.
LRESULT flatButtonProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    switch (msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        SetCapture(hwnd);
        SendMessageW(hwnd, BM_SETSTATE, TRUE, 0);
        return 0;
    case WM_MOUSEMOVE:
        if (GetCapture() == hwnd)
            SendMessageW(hwnd, BM_SETSTATE, pointInside(hwnd, lp), 0);
        break; // the hover tracking sees it too
    case WM_LBUTTONUP: {
        if (GetCapture() != hwnd)
            return 0;
        const bool clicked = pointInside(hwnd, lp);
        ReleaseCapture();
        if (clicked)
            notifyClicked(hwnd);
        return 0;
    }
    case WM_CAPTURECHANGED:
        SendMessageW(hwnd, BM_SETSTATE, FALSE, 0);
        return 0;
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

} // namespace

HWND createFlatButton(HWND parent, int id, std::u16string_view caption, const ControlRect& place,
                      DWORD style) {
    HWND button = dark::createPushButton(parent, id, caption, place, style);
    addWindowHook(button, flatButtonProc);
    return button;
}

} // namespace morvane
