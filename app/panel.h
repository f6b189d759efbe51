#pragma once
// A plain panel that paints its own colour and passes its children's
// commands and drawing requests to its parent.
#include <windows.h>

namespace morvane {

// Made at place: left, top, then width and height (not right and bottom).
HWND createPanel(HWND parent, int id, DWORD style, const RECT& place);
void setPanelColour(HWND panel, COLORREF colour);
COLORREF panelColour(HWND panel);

} // namespace morvane
