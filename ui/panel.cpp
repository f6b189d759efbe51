#include "ui/panel.h"

#include "ui/dark_theme.h"

namespace morvane {
namespace {

constexpr wchar_t kPanelClass[] = L"TMorvanePanel";

} // namespace

HWND Panel::create(HWND parent, int id, DWORD style, const ControlRect& place) {
    colour_ = dark::kBackground;
    registerClass(kPanelClass);
    return createWindow(kPanelClass, L"", WS_CHILD | style, WS_EX_CONTROLPARENT, place.left,
                        place.top, place.width, place.height, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Panel::setColour(COLORREF colour) {
    colour_ = colour;
    InvalidateRect(hwnd(), nullptr, TRUE);
}

LRESULT Panel::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(hwnd(), &rect);
        FillRect(reinterpret_cast<HDC>(wp), &rect, dark::brushFor(colour_));
        return 1;
    }
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_NOTIFY:
        return SendMessageW(GetParent(hwnd()), msg, wp, lp);
    }
    return defaultProc(msg, wp, lp);
}

COLORREF panelColour(HWND panel) {
    const auto* owner = dynamic_cast<const Panel*>(WindowBase::of(panel));
    return owner ? owner->colour() : CLR_INVALID;
}

} // namespace morvane
