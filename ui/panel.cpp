#include "ui/panel.h"

#include "platform/win32/win32_text.h"
#include "ui/accessible.h"
#include "ui/dark_theme.h"

namespace morvane {
namespace {

constexpr wchar_t kPanelClass[] = L"TMorvanePanel";

} // namespace

HWND Panel::create(HWND parent, int id, DWORD style, const ControlRect& place,
                   std::u16string_view name) {
    registerClass(kPanelClass);
    return createWindow(kPanelClass, toWide(name).c_str(), WS_CHILD | style, WS_EX_CONTROLPARENT,
                        place.left, place.top, place.width, place.height, parent,
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
    case WM_GETOBJECT:
        if (const LRESULT answer = answerGetObject(hwnd(), wp, lp, u"", ROLE_SYSTEM_GROUPING))
            return answer;
        break;
    }
    return defaultProc(msg, wp, lp);
}

COLORREF panelColour(HWND panel) {
    const auto* owner = dynamic_cast<const Panel*>(WindowBase::of(panel));
    return owner ? owner->colour() : CLR_INVALID;
}

} // namespace morvane
