#include "shell/workspace_bounds.h"

#include <cstdint>
#include <limits>

namespace morvane {
namespace {

// Coordinates come from the system and stay far from the int limits; clamp
// all the same rather than wrap.
int offsetClamped(int value, int64_t offset) {
    const int64_t moved = static_cast<int64_t>(value) + offset;
    if (moved > std::numeric_limits<int>::max())
        return std::numeric_limits<int>::max();
    if (moved < std::numeric_limits<int>::min())
        return std::numeric_limits<int>::min();
    return static_cast<int>(moved);
}

} // namespace

WindowBounds workspaceToScreen(WindowBounds bounds, ScreenPoint workAreaOrigin,
                               ScreenPoint monitorOrigin) {
    bounds.left = offsetClamped(bounds.left, int64_t{workAreaOrigin.x} - monitorOrigin.x);
    bounds.top = offsetClamped(bounds.top, int64_t{workAreaOrigin.y} - monitorOrigin.y);
    return bounds;
}

} // namespace morvane
