#include "ui/window_base.h"

namespace morvane {

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
                              DWORD exStyle, int x, int y, int width, int height, HWND parent) {
    return CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, nullptr,
                           GetModuleHandleW(nullptr), this);
}

LRESULT WindowBase::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    return defaultProc(msg, wp, lp);
}

LRESULT CALLBACK WindowBase::windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    WindowBase* self = nullptr;
    if (msg == WM_NCCREATE) {
        self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcW(hwnd, msg, wp, lp);
    const LRESULT result = self->onMessage(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
    }
    return result;
}

} // namespace morvane
