#pragma once
// A plain panel that paints its own colour and passes its children's
// commands and drawing requests to its parent. Screen readers see it as a
// group named by its (never painted) text.
#include <windows.h>

#include <string_view>

#include "shell/main_layout.h"

namespace morvane {

HWND createPanel(HWND parent, int id, DWORD style, const ControlRect& place,
                 std::u16string_view name);
void setPanelColour(HWND panel, COLORREF colour);
COLORREF panelColour(HWND panel);

} // namespace morvane
