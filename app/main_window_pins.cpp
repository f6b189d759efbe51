// The operator's pins: "ピン留め" in the menu and Ctrl+D pin or unpin a
// command row, the pins are written to the settings at once, and the tree is
// built again with its selection kept.
#include <windows.h>

#include <commctrl.h>
#include <windowsx.h>

#include <utility>

#include "app/main_window.h"
#include "app/settings_file.h"
#include "list/pins.h"
#include "text/user_error.h"
#include "ui/run_guarded.h"

namespace morvane {
namespace {

struct NodeOfItem {
    int32_t row = -1;
    bool pinned = false; // the row's node in the pin group
};

std::optional<NodeOfItem> nodeOfItem(HWND tree, HTREEITEM item) {
    if (!item)
        return std::nullopt;
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!TreeView_GetItem(tree, &data))
        return std::nullopt;
    NodeOfItem node{static_cast<int32_t>(data.lParam), false};
    if (HTREEITEM parent = TreeView_GetParent(tree, item)) {
        data.hItem = parent;
        node.pinned = TreeView_GetItem(tree, &data) && data.lParam == kPinGroupRow;
    }
    return node;
}

std::optional<int32_t> rowOfItem(HWND tree, HTREEITEM item) {
    const auto node = nodeOfItem(tree, item);
    return node ? std::optional<int32_t>(node->row) : std::nullopt;
}

HTREEITEM itemAt(HWND tree, const NodePlace& place) {
    HTREEITEM item = TreeView_GetRoot(tree);
    for (size_t i = 0; item && i < place.top; ++i)
        item = TreeView_GetNextSibling(tree, item);
    if (item && place.child) {
        item = TreeView_GetChild(tree, item);
        for (size_t i = 0; item && i < *place.child; ++i)
            item = TreeView_GetNextSibling(tree, item);
    }
    return item;
}

} // namespace

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
    if (fileOrderShown_)
        showRowsInFileOrder();
    else
        showSearchResults();
    if (!selected)
        return;
    // The node itself, or, when it has left the pin group, the row's own.
    auto place = findNodeOfRow(shownNodes_, selected->row, selected->pinned);
    if (!place && selected->pinned)
        place = findNodeOfRow(shownNodes_, selected->row, false);
    if (HTREEITEM item = place ? itemAt(commandTree, *place) : nullptr) {
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
