#pragma once
// Where the main window's controls go, as a function of its client size and
// DPI. Sizes are designed at 96 DPI and scaled.
#include <array>

namespace morvane {

struct ControlRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const ControlRect&) const = default;
};

inline constexpr int kDesignedClientWidth = 280;
inline constexpr int kDesignedClientHeight = 202;

// x * dpi / 96, rounded to nearest as MulDiv does.
int scaleForDpi(int value, int dpi);

struct MainLayout {
    ControlRect commandTree; // fills the client area below the top row
    ControlRect commandOrderButton;
    ControlRect fileOrderButton;
    ControlRect searchBox;
    ControlRect escapePanel;
    ControlRect escapeButton; // inside escapePanel, filling it
    ControlRect searchLabel;
    bool operator==(const MainLayout&) const = default;
};

MainLayout layoutMainWindow(int clientWidth, int clientHeight, int dpi);

} // namespace morvane
