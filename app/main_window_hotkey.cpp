// The global hotkey's side in the window: the host registers it, the window
// comes forward with the focus in the search box, and a second press gives
// the focus back to the program the operator came from.
#include <windows.h>

#include "app/main_window.h"

namespace morvane {

void MainWindow::activateFromHotkey() {
    HWND front = GetForegroundWindow();
    // The launcher's own windows: the main window, its menu's owner, the
    // target dialog and its boxes.
    const bool oursInFront =
        front && (front == hwnd() || GetAncestor(front, GA_ROOTOWNER) == hwnd());
    if (oursInFront && !IsIconic(hwnd())) {
        if (beforeHotkey_ && IsWindow(beforeHotkey_)) {
            SetForegroundWindow(beforeHotkey_);
            beforeHotkey_ = nullptr;
            return;
        }
    } else if (front && !oursInFront) {
        beforeHotkey_ = front;
    }
    if (IsIconic(hwnd()))
        ShowWindow(hwnd(), SW_RESTORE);
    // The process that receives the hotkey may take the foreground.
    SetForegroundWindow(hwnd());
    focusSearchBox();
}

} // namespace morvane
