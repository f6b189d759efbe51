#pragma once
// Where Wine behaves differently from Windows in ways the program notices,
// and what we do about it. Every workaround runs only under Wine; on Windows
// each is a no-op behind one check made once.
#include <windows.h>

namespace morvane::wine {

// True under Wine (its ntdll exports wine_get_version). Asked once.
bool runningOnWine();

// Wine's desktop can leave a newly activated window of another program
// stacked above a topmost one on screen, although the topmost flag is set.
// Stacking the window again, once the other is in front, puts it back.
void restackTopmost(HWND window);

// The restacking for a topmost window's procedure: once the window is
// deactivated it is stacked again, but only when no handler of the window is
// still running (a handler that activated the other window may still be
// pressing keys into it). No-op on Windows.
class TopmostRestacker {
  public:
    static constexpr UINT kMessage = WM_APP + 1;

    // Around every message the window handles, nested ones included.
    void enter() noexcept { ++depth_; }
    void leave(HWND window) noexcept;
    // WM_ACTIVATE with WA_INACTIVE.
    void deactivated(HWND window) noexcept;
    // kMessage: restacks now, or once the running handlers have returned.
    void restackMessage(HWND window) noexcept;

  private:
    int depth_ = 0;
    bool pending_ = false;
};

// Windows 10 and later leave most of a window's sizing frame invisible (DWM
// draws one pixel of it); Wine draws the whole frame, every pixel of the
// outer rectangle visible. True under Wine.
bool drawsWholeFrame();

// Wine does not let HWND_TOPMOST or HWND_NOTOPMOST stick on a window that
// owns others: the owned windows are detached while the state changes. On
// Windows a plain SetWindowPos.
void setTopmostState(HWND window, HWND insertAfter, UINT flags);

// Wine's tree view keeps to itself keys that Windows' passes on to the
// default window procedure: with the tree focused, Alt+F4 and Alt+Space do
// nothing, Shift+F10 and the Menu key open no menu. Under Wine, a tree's
// hook hands its system keys (WM_SYSKEYDOWN, WM_SYSKEYUP, WM_SYSCHAR) to
// DefWindowProcW, and a Menu-key press becomes the keyboard WM_CONTEXTMENU
// (the tree, -1, -1) for its parent, as on Windows; true when msg was so
// handled. On Windows always false.
bool passTreeKeyOn(HWND tree, UINT msg, WPARAM wp, LPARAM lp);

} // namespace morvane::wine
