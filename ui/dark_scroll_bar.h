#pragma once
// A dark vertical scroll bar standing over a control's own one. The control
// keeps scrolling itself (wheel, keys, selection) and keeps its own bar,
// which the dark one covers: the common controls draw their bars with the
// system's theme, which is light wherever the system has no dark one. The
// dark bar shows the control's range and position and scrolls it with
// WM_VSCROLL.
#include <windows.h>

#include <string_view>

#include "ui/dark_extras.h"

namespace morvane::dark {

// The bar's name for screen readers, which also hear its role: scroll bar.
inline constexpr std::u16string_view kDarkScrollBarName = u"垂直スクロール バー";

// Only where the system has no dark scroll bars of its own (the dark-mode
// extras given are not available); elsewhere a no-op.
// The control must clip its siblings (WS_CLIPSIBLINGS) and leave
// GWLP_USERDATA to the hook chain; the bar is a sibling made here and
// destroyed with the parent.
void useDarkScrollBar(HWND control, const Extras& extras);

// Takes the dark bar away (high contrast turned on): the control's own bar
// shows again. useDarkScrollBar brings it back.
void removeDarkScrollBar(HWND control);

// The bar standing over the control, or nullptr.
HWND darkScrollBarOf(HWND control);

} // namespace morvane::dark
