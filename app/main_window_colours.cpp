// The main window's colours: the dark palette with its extras, or the
// system's colours while high contrast is on, switched while it runs.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "ui/dark_controls.h"

namespace morvane {

void MainWindow::applyColours() {
    const dark::WindowPalette::Taken taken = colours_.takeFor(hwnd());
    // The tree is part of the window's background, not a field.
    TreeView_SetBkColor(commandTree, palette().background);
    TreeView_SetTextColor(commandTree, palette().text);
    TreeView_SetLineColor(commandTree, palette().edge);
    escapePanel_.setColour(palette().escapePanel);
    dark::makeMenuOwnerDrawn(contextMenu, palette());
    // Tier 2 and the dark scroll bar only with the dark palette: in high
    // contrast the system draws the themes and the bars. The process's dark
    // menus are wWinMain's at start; a switch while running turns them too.
    if (taken.switched && !taken.first) {
        if (palette().highContrast)
            darkExtras().disableForProcess();
        else
            darkExtras().enableForProcess();
    }
    dark::themeControls(darkExtras(), taken, palette(),
                        {{commandTree, L"DarkMode_Explorer"}, {searchBox, L"DarkMode_CFD"}},
                        commandTree);
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

} // namespace morvane
