#pragma once
// A window's big and small icons drawn for its DPI.
#include <windows.h>

#include "platform/win32/scoped.h"

namespace morvane {

// Owns the icons a window shows (WM_SETICON does not take them over), so
// those it replaces are freed once the window has let them go.
class WindowIcons {
  public:
    // Gives the window the icon resource at the sizes the system uses at
    // this DPI: big (Alt+Tab, task bar) and small (caption, task bar at
    // 100 %).
    void show(HWND window, const wchar_t* iconName, UINT dpi);

  private:
    UniqueIcon big_;
    UniqueIcon small_;
};

} // namespace morvane
