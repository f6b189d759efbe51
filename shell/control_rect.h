#pragma once
// A control's place in its parent's client area, and the scaling of sizes
// designed at 96 DPI: shared by every window's layout and by the ui/ library.
#include <cstdint>

namespace morvane {

struct ControlRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ControlRect&) const = default;
};

// x * dpi / 96, rounded to nearest as MulDiv does.
constexpr int scaleForDpi(int value, int dpi) {
    const int64_t product = int64_t{value} * dpi;
    const int64_t half = product >= 0 ? 48 : -48;
    return static_cast<int>((product + half) / 96);
}

// A place designed at 96 DPI, each of its numbers scaled.
constexpr ControlRect scaleForDpi(const ControlRect& designed, int dpi) {
    return {scaleForDpi(designed.left, dpi), scaleForDpi(designed.top, dpi),
            scaleForDpi(designed.width, dpi), scaleForDpi(designed.height, dpi)};
}

} // namespace morvane
