#include "shell/workspace_bounds.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace morvane {
namespace {

// Coordinates come from the system and stay far from the int limits; clamp
// all the same rather than wrap.
int offsetClamped(int value, int64_t offset) {
    return static_cast<int>(std::clamp<int64_t>(
        int64_t{value} + offset, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

} // namespace

WindowBounds workspaceToScreen(WindowBounds bounds, ScreenPoint workAreaOrigin,
                               ScreenPoint monitorOrigin) {
    bounds.left = offsetClamped(bounds.left, int64_t{workAreaOrigin.x} - monitorOrigin.x);
    bounds.top = offsetClamped(bounds.top, int64_t{workAreaOrigin.y} - monitorOrigin.y);
    return bounds;
}

WindowBounds boundsToRemember(bool minimised, WindowBounds outer, WindowBounds restoredInWorkspace,
                              std::optional<MonitorOrigins> monitor) {
    if (!minimised)
        return outer;
    if (!monitor)
        return restoredInWorkspace;
    return workspaceToScreen(restoredInWorkspace, monitor->workArea, monitor->monitor);
}

} // namespace morvane
