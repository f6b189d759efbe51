#pragma once
// A minimised window's restored rectangle, as the system gives it, is in
// workspace coordinates: (0,0) is the top-left corner of its monitor's work
// area, not of the monitor. With a task bar at the top or left the two
// differ by the bar's size.
#include <optional>

#include "shell/settings_values.h"

namespace morvane {

struct ScreenPoint {
    int x = 0;
    int y = 0;
};

// The same rectangle in screen coordinates, given the top-left corners of the
// monitor's work area and of the monitor itself. Width and height stay.
WindowBounds workspaceToScreen(WindowBounds bounds, ScreenPoint workAreaOrigin,
                               ScreenPoint monitorOrigin);

// The top-left corners of a monitor's work area and of the monitor.
struct MonitorOrigins {
    ScreenPoint workArea;
    ScreenPoint monitor;
};

// The outer rectangle a window's settings keep, in screen coordinates: its
// own, or while it is minimised (when its own is the icon's) the restored
// one, moved from workspace coordinates by its monitor when the monitor is
// known, as it is otherwise.
WindowBounds boundsToRemember(bool minimised, WindowBounds outer, WindowBounds restoredInWorkspace,
                              std::optional<MonitorOrigins> monitor);

} // namespace morvane
