#include "ui/window_hook.h"

namespace morvane {
namespace {

WindowHook* chainOf(HWND control) {
    return reinterpret_cast<WindowHook*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

LRESULT CALLBACK hookedWindowProc(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
    WindowHook* head = chainOf(control);
    if (!head)
        return DefWindowProcW(control, msg, wp, lp);
    if (msg != WM_NCDESTROY)
        return head->proc(control, msg, wp, lp, *head);
    // The last message: every hook sees it, then the control is itself again.
    std::unique_ptr<WindowHook> chain(head);
    const LRESULT result = head->proc(control, msg, wp, lp, *head);
    SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(head->original));
    SetWindowLongPtrW(control, GWLP_USERDATA, 0);
    return result;
}

} // namespace

void addWindowHook(HWND control, WindowHookProc proc, void* data) {
    auto hook = std::make_unique<WindowHook>();
    hook->proc = proc;
    hook->data = data;
    hook->next.reset(chainOf(control));
    hook->original = hook->next
                         ? hook->next->original
                         : reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC));
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(hook.release()));
    if (!chainOf(control)->next)
        SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hookedWindowProc));
}

LRESULT callNextHook(HWND control, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) {
    if (hook.next)
        return hook.next->proc(control, msg, wp, lp, *hook.next);
    return CallWindowProcW(hook.original, control, msg, wp, lp);
}

WindowHook* findWindowHook(HWND control, WindowHookProc proc) {
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(control, GWLP_WNDPROC)) != hookedWindowProc)
        return nullptr;
    for (WindowHook* hook = chainOf(control); hook; hook = hook->next.get())
        if (hook->proc == proc)
            return hook;
    return nullptr;
}

} // namespace morvane
