// The main window from the keyboard: the loop's key step (Ctrl+F, Ctrl+D and
// the dialog manager's Tab order), Enter in the tree, the search box's keys,
// and the menu at the selected row.
#include <windows.h>

#include <commctrl.h>

#include <initializer_list>

#include "app/main_window.h"
#include "platform/win32/wine_workarounds.h"
#include "ui/run_guarded.h"

namespace morvane {
namespace {

bool keyDown(int key) {
    return GetKeyState(key) < 0;
}

} // namespace

bool MainWindow::preTranslateMessage(MSG& msg) {
    return translateKey(msg) || IsDialogMessageW(hwnd(), &msg);
}

bool MainWindow::translateKey(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.wParam != 'F' && msg.wParam != 'D'))
        return false;
    if (!keyDown(VK_CONTROL) || keyDown(VK_MENU)) // Ctrl+Alt is AltGr on some layouts
        return false;
    if (msg.hwnd != hwnd() && !IsChild(hwnd(), msg.hwnd))
        return false;
    if (msg.wParam == 'F') {
        focusSearchBox();
    } else {
        // From the search box too: the edit has no use for Ctrl+D, and the
        // row it applies to is the tree's selected one, the row Enter runs.
        runGuarded(hwnd(), [&] { togglePinOfSelectedRow(); });
    }
    return true;
}

void MainWindow::focusSearchBox() {
    showFocusFrames();
    SetFocus(searchBox);
    SendMessageW(searchBox, EM_SETSEL, 0, -1);
}

void MainWindow::focusFirstRow() {
    showFocusFrames();
    if (HTREEITEM first = TreeView_GetRoot(commandTree)) {
        TreeView_SelectItem(commandTree, first);
        TreeView_EnsureVisible(commandTree, first);
    }
    SetFocus(commandTree);
}

// The keyboard moved the focus: focus frames from now on, as the dialog
// manager's Tab and arrows bring them (WM_UPDATEUISTATE to every control).
void MainWindow::showFocusFrames() {
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
}

// Down, Enter and Escape in the search box; every other key is the edit's.
bool MainWindow::onSearchBoxKey(WPARAM key) {
    switch (key) {
    case VK_DOWN:
        focusFirstRow();
        return true;
    case VK_RETURN:
        runGuarded(hwnd(), [&] { runSelectedRow(); });
        return true;
    case VK_ESCAPE:
        // Emptied like a user's deletion: EN_CHANGE shows the search view.
        if (GetWindowTextLengthW(searchBox) > 0)
            runGuarded(hwnd(), [&] { setSearchText(u""); });
        return true;
    }
    return false;
}

LRESULT MainWindow::searchBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                  WindowHook& hook) noexcept {
    switch (msg) {
    case WM_GETDLGCODE:
        return wantKeys(callNextHook(hwnd, msg, wp, lp, hook), lp, {VK_RETURN, VK_ESCAPE});
    case WM_KEYDOWN:
        if (static_cast<MainWindow*>(hook.data)->onSearchBoxKey(wp))
            return 0;
        break;
    case WM_CHAR:
        // Their key-downs did the work; a one-line edit would beep at them.
        if (wp == L'\r' || wp == L'\x1B')
            return 0;
        break;
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

LRESULT MainWindow::commandTreeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                    WindowHook& hook) noexcept {
    switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_SYSKEYUP:
    case WM_SYSCHAR:
        if (wine::passTreeKeyOn(hwnd, msg, wp, lp))
            return 0;
        break;
    case WM_GETDLGCODE:
        // Enter reaches the tree, which tells NM_RETURN.
        return wantKeys(callNextHook(hwnd, msg, wp, lp, hook), lp, {VK_RETURN});
    case WM_CHAR:
        // The tree's type-ahead search would take Enter's character as a
        // letter to look for.
        if (wp == L'\r')
            return 0;
        break;
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

// Shift+F10 or the Menu key: under the selected row when the tree asks,
// otherwise at the window's top-left corner.
POINT MainWindow::keyboardMenuPoint(HWND source) const {
    if (source == commandTree) {
        if (HTREEITEM selected = TreeView_GetSelection(commandTree)) {
            TreeView_EnsureVisible(commandTree, selected);
            RECT row;
            if (TreeView_GetItemRect(commandTree, selected, &row, TRUE)) {
                POINT at{row.left, row.bottom};
                ClientToScreen(commandTree, &at);
                return at;
            }
        }
    }
    POINT at{0, 0};
    ClientToScreen(hwnd(), &at);
    return at;
}

} // namespace morvane
