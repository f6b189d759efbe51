#pragma once
// Flat tool buttons that the mouse never gives the focus: clicking one
// leaves the focus where it was (in an edit, typically). With WS_TABSTOP
// the keyboard reaches them, and Space presses them as any button. They are
// owner-drawn push buttons whose mouse handling is our own; they tell their
// parent BN_CLICKED and answer BM_CLICK like any button.
#include <windows.h>

#include <string_view>

#include "shell/control_rect.h"

namespace morvane {

// Made at place, or with no size for the caller to place it; style adds
// to WS_CHILD | WS_VISIBLE | BS_OWNERDRAW.
HWND createFlatButton(HWND parent, int id, std::u16string_view caption,
                      const ControlRect& place = {}, DWORD style = 0);

} // namespace morvane
