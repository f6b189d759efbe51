// The three views in the tree, the search box and the two view buttons.
#include <windows.h>

#include <commctrl.h>

#include "app/command_tree_items.h"
#include "app/main_window.h"
#include "list/list_file.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"

namespace morvane {

// Steps 4 to 9 of every build: nothing happens for an empty array (nullopt),
// otherwise the tree is changed into the new nodes in one redraw batch, every
// group expanded, and its first node selected.
void MainWindow::showNodes(std::optional<TreeNodes> nodes) {
    if (!nodes)
        return;
    replaceNodes(std::move(*nodes));
    if (HTREEITEM first = TreeView_GetRoot(commandTree)) {
        TreeView_SelectItem(commandTree, first);
        // A build always shows the tree from its top, as a refilled tree would.
        TreeView_EnsureVisible(commandTree, first);
    }
}

void MainWindow::replaceNodes(TreeNodes nodes) {
    shownTree_.replace(commandTree, std::move(nodes));
}

void MainWindow::showPlace(const TreePlace& place) {
    HTREEITEM selected = place.selected ? shownTree_.itemOf(*place.selected) : nullptr;
    HTREEITEM top = place.top ? shownTree_.itemOf(*place.top) : nullptr;
    if (!selected)
        selected = TreeView_GetRoot(commandTree);
    if (!selected)
        return;
    TreeView_SelectItem(commandTree, selected);
    if (top)
        TreeView_Select(commandTree, top, TVGN_FIRSTVISIBLE);
    else
        TreeView_EnsureVisible(commandTree, selected);
}

std::optional<TreeNodes> MainWindow::nodesOfView(ListView view) {
    return reorderIntoView(view, state_.rows, windowText(searchBox), &state_.rowOrder,
                           &state_.searchIndex, &state_.pins);
}

void MainWindow::showRowsInFileOrder() {
    shownView_ = ListView::FileOrder;
    showNodes(reorderIntoRowView(state_.rows, &state_.rowOrder, &state_.pins));
}

void MainWindow::showRowsInCommandOrder() {
    shownView_ = ListView::CommandOrder;
    showNodes(reorderIntoCommandView(state_.rows, &state_.rowOrder, &state_.pins));
}

void MainWindow::loadMorvaneList(std::u16string_view path) {
    // Each row's text is folded here, once per load, so that a keystroke
    // folds only the search text.
    if (morvane::loadMorvaneList(path, services(), state_.rows))
        state_.searchIndex.rebuild(state_.rows);
}

void MainWindow::setSearchText(std::u16string_view text) {
    // Setting the text it already has is no change and fires no event.
    if (windowText(searchBox) == text)
        return;
    setWindowText(searchBox, text);
}

void MainWindow::showSearchResults() {
    if (state_.rows.empty())
        return;
    shownView_ = ListView::SearchResults;
    showNodes(nodesOfView(ListView::SearchResults));
}

void MainWindow::showCommandOrder() {
    setSearchText(u"");
    showRowsInCommandOrder();
}

void MainWindow::showFileOrder() {
    setSearchText(u"");
    showRowsInFileOrder();
}

} // namespace morvane
