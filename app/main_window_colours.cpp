// The main window's colours: the dark palette with its extras, or the
// system's colours while high contrast is on, switched while it runs.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "ui/dark_scroll_bar.h"

namespace morvane {

void MainWindow::applyColours() {
    const auto [first, switched] = colours_.takeFor(hwnd());
    const bool highContrast = palette().highContrast;
    // The tree is part of the window's background, not a field.
    TreeView_SetBkColor(commandTree, palette().background);
    TreeView_SetTextColor(commandTree, palette().text);
    TreeView_SetLineColor(commandTree, palette().edge);
    escapePanel_.setColour(palette().escapePanel);
    dark::makeMenuOwnerDrawn(contextMenu, palette());
    // Tier 2 and the dark scroll bar only with the dark palette: in high
    // contrast the system draws the themes and the bars. The process's dark
    // menus are wWinMain's at start; a switch while running turns them too.
    if (switched && highContrast) {
        if (!first) {
            darkExtras().disableForProcess();
            darkExtras().useSystemControlTheme(commandTree);
            darkExtras().useSystemControlTheme(searchBox);
        }
        dark::removeDarkScrollBar(commandTree);
    } else if (switched) {
        if (!first)
            darkExtras().enableForProcess();
        darkExtras().useDarkControlTheme(commandTree, L"DarkMode_Explorer");
        dark::useDarkScrollBar(commandTree, darkExtras());
        darkExtras().useDarkControlTheme(searchBox, L"DarkMode_CFD");
    }
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace morvane
