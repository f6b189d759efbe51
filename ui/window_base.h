#pragma once
// The one base of our windows and dialogs. `this` is kept in the window's
// GWLP_USERDATA (for every window made here it means that and nothing else),
// a noexcept static procedure forwards to onMessage, and whatever a control
// sends its parent about itself (drawing, colours, custom draw) goes back to
// the object that owns the control, so that no parent paints its children.
#include <windows.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/control_rect.h"

namespace morvane {

// An object that draws or colours a control on behalf of the control's
// parent: WM_DRAWITEM, WM_MEASUREITEM, WM_CTLCOLOR* and NM_CUSTOMDRAW come
// here. True, with the parent's answer in result, when it handled msg.
class ControlOwner {
  public:
    virtual bool onControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp,
                                  LRESULT& result) noexcept = 0;

  protected:
    ~ControlOwner() = default;
};

class WindowBase {
  public:
    WindowBase() = default;
    virtual ~WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND hwnd() const { return hwnd_; }
    // The object of a window of a class registered here, or nullptr.
    static WindowBase* of(HWND hwnd);

    // From now on the control's drawing and colour messages to this window
    // go to owner, which must outlive the control.
    void ownControl(HWND control, ControlOwner& owner);

  protected:
    // Registers the class once per process (later calls are harmless).
    static void registerClass(const wchar_t* className, HICON icon = nullptr);
    HWND createWindow(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                      int x, int y, int width, int height, HWND parent, HMENU menuOrId = nullptr);

    // Every message that no control's owner took. The base routes the
    // messages every window and dialog shares to the virtual functions
    // below (onInit, onCommand, onNotify, onDpiChanged, onClose, the focus
    // memory at WM_ACTIVATE) and everything else to onOtherMessage. A window
    // that routes nothing (a panel, a scroll bar) overrides it whole; one
    // that must see every message, nested ones included, wraps it.
    // Must not throw: handlers that can fail run inside runGuarded.
    virtual LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    // WM_CREATE or WM_INITDIALOG.
    virtual void onInit() {}
    // WM_COMMAND: a control's notification code, or 0 from a menu, 1 from
    // an accelerator.
    virtual void onCommand(int /*id*/, int /*code*/) {}
    virtual LRESULT onNotify(NMHDR& /*header*/) { return 0; }
    // The window moved onto a monitor of another DPI: re-lays out at dpi
    // and takes the suggested rectangle.
    virtual void onDpiChanged(UINT /*dpi*/, const RECT& suggested) { moveTo(suggested); }
    // WM_CLOSE: true when handled; otherwise the default handling (a window
    // is destroyed, a dialog of the dialog manager is cancelled).
    virtual bool onClose() { return false; }
    // The window was deactivated, after its focus was remembered.
    virtual void onDeactivated() noexcept {}
    // The control that gets the focus when the window is activated before
    // any control had it.
    virtual HWND firstFocus() const { return hwnd_; }
    // The messages the base does not route.
    virtual LRESULT onOtherMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
        return defaultProc(msg, wp, lp);
    }

    // The default handling: DefWindowProcW for a window, "not handled" for
    // a dialog of the dialog manager.
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    // Called once the window is gone (after WM_NCDESTROY); an object that
    // lives as long as its window deletes itself here.
    virtual void onFinalMessage() noexcept {}

    // The control to get the focus back when the window is next activated
    // (see the focus memory below).
    void setLastFocus(HWND control) { lastFocus_ = control; }

    // Moves the window to the rectangle WM_DPICHANGED suggests.
    void moveTo(const RECT& rect);

  private:
    friend class DialogBase;
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    static void attach(HWND hwnd, WindowBase* self);
    static void detach(HWND hwnd, WindowBase* self);
    bool reflectToOwner(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept;
    // The focus memory of a window of our own class, at WM_ACTIVATE: the
    // control focused when the window was deactivated gets the focus back
    // when it is activated again (firstFocus before anything was focused).
    // A dialog of the dialog manager keeps its own.
    void onActivate(WPARAM wp) noexcept;
    void rememberFocus();
    void restoreFocus(HWND fallback);

    HWND hwnd_ = nullptr;
    bool isDialog_ = false;
    // A dialog of the dialog manager: the flag of the message being
    // handled, which defaultProc sets. Each call of the dialog procedure
    // has its own, so that a nested message left unhandled does not mark
    // the message around it unhandled too.
    bool* unhandled_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::vector<std::pair<HWND, ControlOwner*>> controlOwners_;
};

// The dialog flavour: a modal run that gives a result. Either a window of
// our own class, made once and run modally as often as wanted (runModal),
// or a one-off dialog of the dialog manager made from an empty template
// (runTemplate). The close box means the cancel result.
class DialogBase : public WindowBase {
  public:
    // Shows the dialog modal over its owner (disabled meanwhile) and runs
    // the messages until endModal; hides it again. The result given to
    // endModal: cancelResult for the close box or a WM_QUIT (posted again).
    int runModal(int cancelResult);
    // A dialog of the dialog manager with this style, modal over owner:
    // the result given to endModal.
    int runTemplate(HWND owner, DWORD style, DWORD exStyle);

  protected:
    // runModal: the owner is disabled, the dialog not yet shown (so every
    // box shown from here is modal over the owner too).
    virtual void onOpen() {}
    void endModal(int result);

  private:
    // The close box: the cancel result; a dialog of our own class lives
    // on, hidden.
    bool onClose() final;
    static INT_PTR CALLBACK dialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;

    bool running_ = false;
    int cancelResult_ = IDCANCEL;
    int result_ = 0;
};

// The text of a window or control.
std::u16string windowText(HWND hwnd);
void setWindowText(HWND hwnd, std::u16string_view text);

// A visible child control made at place (or with no size, for the caller
// to place it): controls are made in their places, as every later move costs
// Wine a round of window updates.
HWND createChild(HWND parent, const wchar_t* className, std::u16string_view text, DWORD style,
                 DWORD exStyle, int id, const ControlRect& place = {});

// Moves and sizes a child control to place (its z-order kept).
void placeChild(HWND control, const ControlRect& place);

// The WM_GETDLGCODE answer of a control that takes these keys itself
// instead of leaving them to the dialog manager (which turns Enter into IDOK
// and Escape into IDCANCEL for the window): code from the control's own
// procedure, lp the message's.
LRESULT wantKeys(LRESULT code, LPARAM lp, std::initializer_list<WPARAM> keys);

} // namespace morvane
