#include "ui/panel.h"

#include "platform/win32/win32_text.h"
#include "ui/accessible.h"
#include "ui/dark_theme.h"

namespace morvane {
namespace {

constexpr wchar_t kPanelClass[] = L"TMorvanePanel";

LRESULT CALLBACK panelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_ERASEBKGND: {
        RECT rect;
        GetClientRect(hwnd, &rect);
        FillRect(reinterpret_cast<HDC>(wp), &rect, dark::brushFor(panelColour(hwnd)));
        return 1;
    }
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_NOTIFY:
        return SendMessageW(GetParent(hwnd), msg, wp, lp);
    case WM_GETOBJECT:
        if (const LRESULT answer = answerGetObject(hwnd, wp, lp, u"", ROLE_SYSTEM_GROUPING))
            return answer;
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void registerPanelClass() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = panelProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPanelClass;
    RegisterClassExW(&wc);
}

} // namespace

HWND createPanel(HWND parent, int id, DWORD style, const ControlRect& place,
                 std::u16string_view name) {
    registerPanelClass();
    HWND panel = CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, toWide(name).c_str(),
                                 WS_CHILD | style, place.left, place.top, place.width, place.height,
                                 parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleW(nullptr), nullptr);
    setPanelColour(panel, dark::kBackground);
    return panel;
}

void setPanelColour(HWND panel, COLORREF colour) {
    SetWindowLongPtrW(panel, GWLP_USERDATA, static_cast<LONG_PTR>(colour));
    InvalidateRect(panel, nullptr, TRUE);
}

COLORREF panelColour(HWND panel) {
    return static_cast<COLORREF>(GetWindowLongPtrW(panel, GWLP_USERDATA));
}

} // namespace morvane
