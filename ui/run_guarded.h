#pragma once
// runGuarded: the one place where errors escaping a handler are caught and
// shown in the error box.
#include <windows.h>

#include <utility>

namespace morvane {

// Shows the error in flight (call only from a catch block) in the error box.
// Never throws.
void showCurrentErrorBox(HWND owner) noexcept;

template <class Handler> void runGuarded(HWND owner, Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        showCurrentErrorBox(owner);
    }
}

} // namespace morvane
