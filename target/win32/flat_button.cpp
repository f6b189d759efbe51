#include "target/win32/flat_button.h"

#include "app/dark_theme.h"
#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

constexpr wchar_t kFlatButtonClass[] = L"MorvaneX.FlatButton";

bool cursorInside(HWND hwnd, LPARAM lp) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    const POINT point{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    return PtInRect(&rect, point) != FALSE;
}

} // namespace

void FlatButton::create(HWND parent, int id, std::u16string_view caption) {
    registerClass(kFlatButtonClass);
    HWND button = createWindow(kFlatButtonClass, toWide(caption).c_str(), WS_CHILD | WS_VISIBLE, 0,
                               0, 0, 0, 0, parent);
    SetWindowLongPtrW(button, GWLP_ID, id);
}

void FlatButton::click() {
    HWND parent = GetParent(hwnd());
    const int id = GetDlgCtrlID(hwnd());
    SendMessageW(parent, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(hwnd()));
}

void FlatButton::setHot(bool hot) {
    if (hot_ == hot)
        return;
    hot_ = hot;
    if (hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&track);
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void FlatButton::paint() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    RECT rect;
    GetClientRect(hwnd(), &rect);
    const bool down = pressed_ && hot_;
    const bool enabled = IsWindowEnabled(hwnd());
    FillRect(dc, &rect, dark::brushFor(down ? dark::kPressed : hot_ ? dark::kHot : dark::kControl));
    FrameRect(dc, &rect, dark::brushFor(hot_ ? dark::kAccent : dark::kEdge));
    wchar_t caption[32] = {};
    GetWindowTextW(hwnd(), caption, static_cast<int>(std::size(caption)));
    SelectObjectScope selectFont(dc, font_ ? font_ : GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, enabled ? dark::kText : dark::kDisabledText);
    if (down)
        OffsetRect(&rect, 1, 1);
    DrawTextW(dc, caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    EndPaint(hwnd(), &ps);
}

LRESULT FlatButton::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_PAINT:
        paint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETFONT:
        font_ = reinterpret_cast<HFONT>(wp);
        if (LOWORD(lp))
            InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(font_);
    case WM_MOUSEMOVE:
        setHot(GetCapture() != hwnd() || cursorInside(hwnd(), lp));
        return 0;
    case WM_MOUSELEAVE:
        hot_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // No SetFocus: the focus stays in the edit the user was typing in.
        pressed_ = true;
        hot_ = true;
        SetCapture(hwnd());
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case WM_LBUTTONUP: {
        const bool clicked = pressed_ && cursorInside(hwnd(), lp);
        if (GetCapture() == hwnd())
            ReleaseCapture();
        pressed_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        if (clicked)
            click();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    case BM_CLICK:
        click();
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
    }
    return defaultProc(msg, wp, lp);
}

} // namespace morvane
