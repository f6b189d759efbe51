#include "target/win32/topmost.h"

#include <vector>

namespace morvane {
namespace {

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

void setTopmost(HWND hwnd, bool topmost) {
    OwnedSearch search{hwnd, {}};
    EnumThreadWindows(GetWindowThreadProcessId(hwnd, nullptr), collectOwned,
                      reinterpret_cast<LPARAM>(&search));
    setOwner(search.owned, nullptr);
    // A hidden window is never activated: it would take the keyboard focus
    // away from every visible one.
    const UINT hiddenFlags = IsWindowVisible(hwnd) ? 0 : SWP_NOACTIVATE;
    SetWindowPos(hwnd, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | hiddenFlags);
    setOwner(search.owned, hwnd);
}

bool isTopmost(HWND hwnd) {
    return (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

} // namespace morvane
