#include "ui/window_base.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

// The control a drawing, colour or custom-draw message to its parent is
// about, or nullptr for any other message.
HWND controlOfMessage(HWND parent, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        return item.CtlType == ODT_MENU ? nullptr : item.hwndItem;
    }
    case WM_MEASUREITEM: {
        const auto& item = *reinterpret_cast<const MEASUREITEMSTRUCT*>(lp);
        return item.CtlType == ODT_MENU ? nullptr : GetDlgItem(parent, static_cast<int>(wp));
    }
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
        return reinterpret_cast<HWND>(lp);
    case WM_NOTIFY: {
        const auto& header = *reinterpret_cast<const NMHDR*>(lp);
        return header.code == NM_CUSTOMDRAW ? header.hwndFrom : nullptr;
    }
    }
    return nullptr;
}

// Messages whose answer a dialog procedure returns itself rather than in
// DWLP_MSGRESULT.
bool answersDirectly(UINT msg) {
    switch (msg) {
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORSCROLLBAR:
    case WM_INITDIALOG:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
        return true;
    }
    return false;
}

} // namespace

void WindowBase::registerClass(const wchar_t* className, HICON icon) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = icon;
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
}

HWND WindowBase::createWindow(const wchar_t* className, const wchar_t* title, DWORD style,
                              DWORD exStyle, int x, int y, int width, int height, HWND parent,
                              HMENU menuOrId) {
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                           GetModuleHandleW(nullptr), this);
}

WindowBase* WindowBase::of(HWND hwnd) {
    const auto proc = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (proc != windowProc)
        return nullptr;
    return reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

void WindowBase::ownControl(HWND control, ControlOwner& owner) {
    controlOwners_.emplace_back(control, &owner);
}

LRESULT WindowBase::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_CREATE:
    case WM_INITDIALOG:
        onInit();
        return isDialog_ ? FALSE : 0; // a dialog's onInit sets the focus itself
    case WM_COMMAND:
        onCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_CLOSE:
        if (onClose())
            return 0;
        break;
    case WM_ACTIVATE:
        if (isDialog_)
            break; // the dialog manager keeps its own focus memory
        onActivate(wp);
        return 0;
    }
    return onOtherMessage(msg, wp, lp);
}

void WindowBase::onActivate(WPARAM wp) noexcept {
    if (LOWORD(wp) == WA_INACTIVE) {
        rememberFocus();
        onDeactivated();
        return;
    }
    // Minimised or hidden: the focus comes back when the window is restored
    // or shown. (The default handling would put it on the window itself.)
    if (HIWORD(wp) || !IsWindowVisible(hwnd_))
        return;
    restoreFocus(firstFocus());
}

LRESULT WindowBase::defaultProc(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (isDialog_) {
        if (unhandled_)
            *unhandled_ = true;
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

void WindowBase::rememberFocus() {
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus))
        lastFocus_ = focus;
}

void WindowBase::restoreFocus(HWND fallback) {
    SetFocus(lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : fallback);
}

void WindowBase::moveTo(const RECT& rect) {
    SetWindowPos(hwnd_, nullptr, rect.left, rect.top, rect.right - rect.left,
                 rect.bottom - rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

bool WindowBase::reflectToOwner(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept {
    if (controlOwners_.empty())
        return false;
    HWND control = controlOfMessage(hwnd_, msg, wp, lp);
    if (!control)
        return false;
    for (const auto& [owned, owner] : controlOwners_)
        if (owned == control)
            return owner->onControlMessage(control, msg, wp, lp, result);
    return false;
}

void WindowBase::attach(HWND hwnd, WindowBase* self) {
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
}

void WindowBase::detach(HWND hwnd, WindowBase* self) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    self->controlOwners_.clear();
    self->onFinalMessage();
}

LRESULT CALLBACK WindowBase::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    WindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        attach(hwnd, self);
    } else {
        self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    if (!self->reflectToOwner(msg, wp, lp, result))
        result = self->onMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY)
        detach(hwnd, self);
    return result;
}

INT_PTR CALLBACK DialogBase::dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    WindowBase* self = nullptr;
    if (msg == WM_INITDIALOG) {
        self = reinterpret_cast<DialogBase*>(lp);
        self->isDialog_ = true;
        attach(hwnd, self);
    } else {
        self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return FALSE;
    LRESULT result = 0;
    // This message's own flag, for as long as it is handled; the flag of a
    // message around it (a handler that sends the dialog a message) is
    // given back on return.
    bool unhandled = false;
    bool* const outer = std::exchange(self->unhandled_, &unhandled);
    try {
        if (!self->reflectToOwner(msg, wp, lp, result))
            result = self->onMessage(msg, wp, lp);
    } catch (...) {
        // Out of memory while making the dialog: it closes as cancelled.
        self->unhandled_ = outer;
        EndDialog(hwnd, IDCANCEL);
        return TRUE;
    }
    self->unhandled_ = outer;
    if (msg == WM_NCDESTROY)
        detach(hwnd, self);
    if (unhandled)
        return FALSE;
    if (answersDirectly(msg))
        return static_cast<INT_PTR>(result);
    SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
    return TRUE;
}

int DialogBase::runModal(int cancelResult) {
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    running_ = true;
    cancelResult_ = cancelResult;
    result_ = cancelResult;
    // Disabled before the dialog fills itself, so that every box shown
    // meanwhile is modal over the owner too.
    if (owner)
        EnableWindow(owner, FALSE);
    onOpen();
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    restoreFocus(hwnd());
    // Focus frames as the input that opened it asks: hidden after the mouse
    // until a key is used (the dialog manager's Tab shows them).
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    MSG msg;
    while (running_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            endModal(cancelResult);
            break;
        }
        if (!IsDialogMessageW(hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The owner is enabled first so that it, not some other program, is
    // activated when the dialog disappears.
    if (owner)
        EnableWindow(owner, TRUE);
    ShowWindow(hwnd(), SW_HIDE);
    return result_;
}

namespace {

// An empty dialog template: the controls are made at WM_INITDIALOG, sized
// for the dialog's DPI.
struct alignas(4) EmptyDialogTemplate {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD windowClass = 0;
    WORD title = 0;
};

} // namespace

int DialogBase::runTemplate(HWND owner, DWORD style, DWORD exStyle) {
    EmptyDialogTemplate dialog{};
    dialog.header.style = style;
    dialog.header.dwExtendedStyle = exStyle;
    running_ = true;
    const INT_PTR id = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), &dialog.header, owner,
                                               dialogProc, reinterpret_cast<LPARAM>(this));
    running_ = false;
    return static_cast<int>(id);
}

void DialogBase::endModal(int result) {
    result_ = result;
    running_ = false;
    if (isDialog_)
        EndDialog(hwnd(), result);
}

bool DialogBase::onClose() {
    endModal(cancelResult_);
    return true;
}

std::u16string windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

void setWindowText(HWND hwnd, std::u16string_view text) {
    SetWindowTextW(hwnd, toWide(text).c_str());
}

HWND createChild(HWND parent, const wchar_t* className, std::u16string_view text, DWORD style,
                 DWORD exStyle, int id, const ControlRect& place) {
    return CreateWindowExW(exStyle, className, toWide(text).c_str(), WS_CHILD | WS_VISIBLE | style,
                           place.left, place.top, place.width, place.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

void placeChild(HWND control, const ControlRect& place) {
    SetWindowPos(control, nullptr, place.left, place.top, place.width, place.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT wantKeys(LRESULT code, LPARAM lp, std::initializer_list<WPARAM> keys) {
    const auto* keyMsg = reinterpret_cast<const MSG*>(lp);
    if (!keyMsg || keyMsg->message != WM_KEYDOWN)
        return code;
    if (std::find(keys.begin(), keys.end(), keyMsg->wParam) != keys.end())
        return code | DLGC_WANTALLKEYS;
    return code;
}

} // namespace morvane
