#pragma once
// A plain panel that paints its own colour and passes its children's
// commands and drawing requests to its parent.
#include <windows.h>

#include "shell/main_layout.h"

namespace morvane {

HWND createPanel(HWND parent, int id, DWORD style, const ControlRect& place);
void setPanelColour(HWND panel, COLORREF colour);
COLORREF panelColour(HWND panel);

} // namespace morvane
