// The hook chain on a real edit control: order, pass-through to the
// control's own procedure, per-hook state, and the clean-up at the end.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/window_hook.h"

namespace morvane {
namespace {

struct Journal {
    std::vector<std::string> entries;
};

// Notes "name:message" for the messages of interest, then passes it on.
template <char Name>
LRESULT noting(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    if (msg == WM_SETTEXT || msg == WM_NCDESTROY || msg == WM_APP) {
        const char* what = msg == WM_SETTEXT ? "settext" : msg == WM_APP ? "app" : "ncdestroy";
        static_cast<Journal*>(hook.data)->entries.push_back(std::string(1, Name) + ":" + what);
    }
    if (msg == WM_APP) {
        ++hook.state;
        return hook.state;
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

LRESULT swallowingChars(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    if (msg == WM_CHAR && wp == L'x')
        return 0;
    return callNextHook(hwnd, msg, wp, lp, hook);
}

HWND makeEdit() {
    return CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr,
                           nullptr);
}

std::wstring textOf(HWND hwnd) {
    wchar_t buffer[64]{};
    GetWindowTextW(hwnd, buffer, 64);
    return buffer;
}

TEST(WindowHook, NewestHookFirstThenTheControlItself) {
    Journal journal;
    HWND edit = makeEdit();
    const auto ownProc = GetWindowLongPtrW(edit, GWLP_WNDPROC);
    addWindowHook(edit, noting<'a'>, &journal);
    addWindowHook(edit, noting<'b'>, &journal);
    addWindowHook(edit, swallowingChars);

    SetWindowTextW(edit, L"abc");
    SendMessageW(edit, WM_CHAR, L'x', 0); // swallowed by the newest hook
    SendMessageW(edit, WM_CHAR, L'y', 0); // reaches the edit
    EXPECT_EQ(textOf(edit), L"yabc");
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"b:settext", "a:settext"}));

    // WM_APP stops at the newest noting hook, which counts in its own state.
    EXPECT_EQ(SendMessageW(edit, WM_APP, 0, 0), 1);
    EXPECT_EQ(SendMessageW(edit, WM_APP, 0, 0), 2);
    ASSERT_NE(findWindowHook(edit, noting<'a'>), nullptr);
    EXPECT_EQ(findWindowHook(edit, noting<'a'>)->state, 0);
    EXPECT_EQ(findWindowHook(edit, noting<'b'>)->state, 2);
    EXPECT_EQ(findWindowHook(edit, noting<'c'>), nullptr);

    journal.entries.clear();
    // The end: every hook sees it, then the control has its own procedure
    // and no chain left (what the destroy sequence ends with).
    SendMessageW(edit, WM_NCDESTROY, 0, 0);
    EXPECT_EQ(journal.entries, (std::vector<std::string>{"b:ncdestroy", "a:ncdestroy"}));
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_WNDPROC), ownProc);
    EXPECT_EQ(GetWindowLongPtrW(edit, GWLP_USERDATA), 0);
    DestroyWindow(edit);
}

TEST(WindowHook, UnhookedControlHasNone) {
    HWND edit = makeEdit();
    EXPECT_EQ(findWindowHook(edit, swallowingChars), nullptr);
    DestroyWindow(edit);
}

} // namespace
} // namespace morvane
