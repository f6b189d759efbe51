#include "shell/main_layout.h"

#include <algorithm>

namespace morvane {

MainLayout layoutMainWindow(int clientWidth, int clientHeight, int dpi) {
    MainLayout layout;
    const int treeTop = scaleForDpi(27, dpi);
    layout.commandTree = {0, treeTop, std::max(clientWidth, 0),
                          std::max(clientHeight - treeTop, 0)};
    layout.commandOrderButton = scaleForDpi({176, 4, 50, 23}, dpi);
    layout.fileOrderButton = scaleForDpi({128, 4, 50, 23}, dpi);
    layout.searchBox = scaleForDpi({40, 4, 89, 22}, dpi);
    layout.escapePanel = scaleForDpi({225, 4, 43, 23}, dpi);
    layout.escapeButton = {0, 0, layout.escapePanel.width, layout.escapePanel.height};
    layout.searchLabel = scaleForDpi({10, 8, 24, 13}, dpi);
    return layout;
}

} // namespace morvane
