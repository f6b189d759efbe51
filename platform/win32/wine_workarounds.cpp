#include "platform/win32/wine_workarounds.h"

#include <vector>

namespace morvane::wine {
namespace {

bool detectWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

struct OwnedSearch {
    HWND owner;
    std::vector<HWND> owned;
};

BOOL CALLBACK collectOwned(HWND hwnd, LPARAM lp) noexcept {
    auto* search = reinterpret_cast<OwnedSearch*>(lp);
    if (GetWindow(hwnd, GW_OWNER) == search->owner)
        search->owned.push_back(hwnd);
    return TRUE;
}

void setOwner(const std::vector<HWND>& windows, HWND owner) {
    for (HWND hwnd : windows)
        SetWindowLongPtrW(hwnd, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(owner));
}

} // namespace

bool runningOnWine() {
    static const bool wine = detectWine();
    return wine;
}

bool drawsWholeFrame() {
    return runningOnWine();
}

void restackTopmost(HWND window) {
    if (!runningOnWine() || !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        return;
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

void TopmostRestacker::leave(HWND window) noexcept {
    if (--depth_ == 0 && pending_) {
        pending_ = false;
        PostMessageW(window, kMessage, 0, 0);
    }
}

void TopmostRestacker::deactivated(HWND window) noexcept {
    if (runningOnWine() && (GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST))
        PostMessageW(window, kMessage, 0, 0);
}

void TopmostRestacker::restackMessage(HWND window) noexcept {
    if (depth_ > 1) { // inside another handler's wait: later
        pending_ = true;
        return;
    }
    restackTopmost(window);
}

void setTopmostState(HWND window, HWND insertAfter, UINT flags) {
    if (!runningOnWine()) {
        SetWindowPos(window, insertAfter, 0, 0, 0, 0, flags);
        return;
    }
    OwnedSearch search{window, {}};
    EnumThreadWindows(GetWindowThreadProcessId(window, nullptr), collectOwned,
                      reinterpret_cast<LPARAM>(&search));
    setOwner(search.owned, nullptr);
    SetWindowPos(window, insertAfter, 0, 0, 0, 0, flags);
    setOwner(search.owned, window);
}

bool passTreeKeyOn(HWND tree, UINT msg, WPARAM wp, LPARAM lp) {
    if (!runningOnWine())
        return false;
    switch (msg) {
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        DefWindowProcW(tree, msg, wp, lp);
        return true;
    case WM_KEYDOWN:
        if (wp != VK_APPS)
            return false;
        SendMessageW(GetParent(tree), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(tree),
                     MAKELPARAM(-1, -1));
        return true;
    }
    return false;
}

} // namespace morvane::wine
