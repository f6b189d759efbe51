#include "shell/main_layout.h"

#include <algorithm>
#include <cstdint>

namespace morvane {

namespace {

ControlRect scaled(int left, int top, int width, int height, int dpi) {
    return {scaleForDpi(left, dpi), scaleForDpi(top, dpi), scaleForDpi(width, dpi),
            scaleForDpi(height, dpi)};
}

} // namespace

MainLayout layoutMainWindow(int clientWidth, int clientHeight, int dpi) {
    MainLayout layout;
    const int treeTop = scaleForDpi(27, dpi);
    layout.commandTree = {0, treeTop, std::max(clientWidth, 0),
                          std::max(clientHeight - treeTop, 0)};
    layout.commandOrderButton = scaled(176, 4, 50, 23, dpi);
    layout.fileOrderButton = scaled(128, 4, 50, 23, dpi);
    layout.searchBox = scaled(40, 4, 89, 22, dpi);
    layout.escapePanel = scaled(225, 4, 43, 23, dpi);
    layout.escapeButton = {0, 0, layout.escapePanel.width, layout.escapePanel.height};
    layout.searchLabel = scaled(10, 8, 24, 13, dpi);
    return layout;
}

} // namespace morvane
