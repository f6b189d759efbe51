#pragma once
// One tiny base for our windows: `this` is stored at WM_NCCREATE, a noexcept
// static procedure forwards to onMessage, and anything unhandled goes to
// DefWindowProcW.
#include <windows.h>

namespace morvane {

class WindowBase {
  public:
    WindowBase() = default;
    virtual ~WindowBase() = default;
    WindowBase(const WindowBase&) = delete;
    WindowBase& operator=(const WindowBase&) = delete;

    HWND hwnd() const { return hwnd_; }

  protected:
    // Registers the class once per process (later calls are harmless).
    static void registerClass(const wchar_t* className, HICON icon = nullptr);
    HWND createWindow(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle,
                      int x, int y, int width, int height, HWND parent);

    // Must not throw: handlers that can fail run inside runGuarded.
    virtual LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp) noexcept {
        return DefWindowProcW(hwnd_, msg, wp, lp);
    }

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) noexcept;
    HWND hwnd_ = nullptr;
};

} // namespace morvane
