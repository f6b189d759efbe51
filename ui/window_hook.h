// Subclassing of standard controls (buttons, edits, list boxes) through a
// chain of hooks hung off the control's GWLP_USERDATA. The common controls'
// SetWindowSubclass finds its data with a window property on every message,
// and Wine answers each property lookup with a round trip to its server;
// this chain costs a plain pointer read. A hooked control must leave
// GWLP_USERDATA to the chain.
#pragma once

#include <windows.h>

#include <memory>

namespace morvane {

struct WindowHook;
using WindowHookProc = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, WindowHook&) noexcept;

struct WindowHook {
    WindowHookProc proc;
    void* data;                       // the hook's own context, if any
    LONG_PTR state = 0;               // free for the hook's use
    std::unique_ptr<WindowHook> next; // the hook added before this one
    WNDPROC original = nullptr;       // the control's own window procedure
};

// Adds a hook in front of the control's chain; it sees every message first
// and passes it on with callNextHook. The chain is freed after
// WM_NCDESTROY, which every hook still sees.
void addWindowHook(HWND control, WindowHookProc proc, void* data = nullptr);

LRESULT callNextHook(HWND control, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook);

// The hook of the chain running proc, or nullptr.
WindowHook* findWindowHook(HWND control, WindowHookProc proc);

} // namespace morvane
