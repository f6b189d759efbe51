#pragma once
// Where the main window's controls go, as a function of its client size and
// DPI. Sizes are designed at 96 DPI and scaled.
#include <array>

#include "shell/control_rect.h"

namespace morvane {

inline constexpr int kDesignedClientWidth = 280;
inline constexpr int kDesignedClientHeight = 202;

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
