// The operator's pins: "ピン留め" in the menu and Ctrl+D pin or unpin a
// command row, the pins are written to the settings at once, and the tree is
// built again with its selection kept.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "app/command_tree_items.h"
#include "app/main_window.h"
#include "app/settings_file.h"
#include "list/pins.h"
#include "text/user_error.h"
#include "ui/run_guarded.h"

namespace morvane {

std::optional<int32_t> MainWindow::menuPinRow(HWND source, LPARAM lp) const {
    const POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (source == commandTree && !(at.x == -1 && at.y == -1)) {
        TVHITTESTINFO hit{};
        hit.pt = at;
        ScreenToClient(commandTree, &hit.pt);
        if (HTREEITEM item = TreeView_HitTest(commandTree, &hit); item && (hit.flags & TVHT_ONITEM))
            return rowOfItem(commandTree, item);
    }
    return rowOfItem(commandTree, TreeView_GetSelection(commandTree));
}

void MainWindow::preparePinItem(std::optional<int32_t> row) {
    const ListRow* found = row ? findRow(state_.rows, *row) : nullptr;
    const bool pinnable = found && canPin(*found);
    EnableMenuItem(contextMenu, kPinItem, MF_BYCOMMAND | (pinnable ? MF_ENABLED : MF_GRAYED));
    CheckMenuItem(contextMenu, kPinItem,
                  MF_BYCOMMAND |
                      (pinnable && state_.pins.isPinned(*found) ? MF_CHECKED : MF_UNCHECKED));
}

void MainWindow::togglePinOfSelectedRow() {
    if (const auto row = rowOfItem(commandTree, TreeView_GetSelection(commandTree)))
        togglePin(*row);
}

void MainWindow::togglePinOfMenuRow() {
    const auto row = std::exchange(menuRow_, std::nullopt);
    if (row)
        togglePin(*row);
    else
        togglePinOfSelectedRow();
}

void MainWindow::togglePin(int32_t row) {
    const ListRow* found = findRow(state_.rows, row);
    if (!found || !canPin(*found))
        return;
    state_.pins.toggle(*found);
    rebuildKeepingSelection();
    savePins();
}

void MainWindow::rebuildKeepingSelection() {
    const auto selected = nodeOfItem(commandTree, TreeView_GetSelection(commandTree));
    showNodes(nodesOfView(shownView_));
    if (!selected)
        return;
    // The node itself, or, when it has left the pin group, the row's own.
    HTREEITEM item = shownTree_.itemOf(*selected);
    if (!item && selected->pinned)
        item = shownTree_.itemOf({selected->row, false});
    if (item) {
        TreeView_SelectItem(commandTree, item);
        TreeView_EnsureVisible(commandTree, item);
    }
}

// At once rather than only at close: a pin is the operator's work, and a
// crash or a killed process would lose it.
void MainWindow::savePins() {
    try {
        ProfileSettingsStorage storage(services().files);
        LauncherSettings settings;
        settings.pinned = pinSettingsValues(state_.pins);
        writePinnedSettings(settingsFiles_, settings, storage);
    } catch (const UserError&) {
        // The pins stay in memory and go with the settings at close; one box
        // says the file cannot be written, not one per pin.
        if (pinWriteFailureShown_)
            return;
        pinWriteFailureShown_ = true;
        showCurrentErrorBox(hwnd());
    }
}

} // namespace morvane
