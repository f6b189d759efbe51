#pragma once
// Flat tool buttons that never take the focus: clicking one leaves the focus
// where it was (in an edit, typically). They are owner-drawn push buttons
// whose mouse handling is our own; they tell their parent BN_CLICKED and
// answer BM_CLICK like any button.
#include <windows.h>

#include <string_view>

#include "shell/control_rect.h"

namespace morvane {

// Made at place, or with no size for the caller to place it.
HWND createFlatButton(HWND parent, int id, std::u16string_view caption,
                      const ControlRect& place = {});

} // namespace morvane
