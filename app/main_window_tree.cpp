// The three views in the tree, the search box and the two view buttons.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>

#include "app/command_tree_items.h"
#include "app/main_window.h"
#include "list/list_file.h"
#include "list/tree_update.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"

namespace morvane {
namespace {

HTREEITEM insertNode(HWND tree, HTREEITEM parent, HTREEITEM after, const TreeNode& node) {
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE;
    insert.item.pszText = const_cast<wchar_t*>(wptr(node.text));
    insert.item.iImage = node.image;
    insert.item.lParam = static_cast<LPARAM>(node.row); // sign-extended
    // A group is expanded as it is made: expanding each afterwards costs the
    // tree two notifications and a recount of its visible rows per group.
    if (!node.children.empty()) {
        insert.item.mask |= TVIF_STATE;
        insert.item.state = TVIS_EXPANDED;
        insert.item.stateMask = TVIS_EXPANDED;
    }
    HTREEITEM item = TreeView_InsertItem(tree, &insert);
    for (const auto& child : node.children)
        insertNode(tree, item, TVI_LAST, child);
    return item;
}

HTREEITEM firstChild(HWND tree, HTREEITEM parent) {
    return parent == TVI_ROOT ? TreeView_GetRoot(tree) : TreeView_GetChild(tree, parent);
}

// Every build shows its groups expanded, also one the user has folded.
void expand(HWND tree, HTREEITEM item) {
    if (!(TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED))
        TreeView_Expand(tree, item, TVE_EXPAND);
}

// Carries out one level's edits on the children of parent, whose rows are
// the nodes on show of that level.
void applyEdits(HWND tree, HTREEITEM parent, const std::vector<TreeEdit>& edits,
                const TreeNodes& wanted) {
    HTREEITEM current = firstChild(tree, parent);
    HTREEITEM after = TVI_FIRST;
    size_t position = 0; // in wanted
    for (const auto& edit : edits) {
        switch (edit.kind) {
        case TreeEdit::kKeep: {
            const TreeNode& node = wanted[position++];
            applyEdits(tree, current, edit.children, node.children);
            if (!node.children.empty())
                expand(tree, current);
            after = current;
            current = TreeView_GetNextSibling(tree, current);
            break;
        }
        case TreeEdit::kRemove: {
            HTREEITEM next = TreeView_GetNextSibling(tree, current);
            TreeView_DeleteItem(tree, current);
            current = next;
            break;
        }
        case TreeEdit::kInsert:
            after = insertNode(tree, parent, after, wanted[position++]);
            break;
        }
    }
}

void expandGroups(HWND tree, const TreeNodes& nodes) {
    // Walking the rows costs a message each: stop after the last group.
    const auto lastGroup = std::find_if(
        nodes.rbegin(), nodes.rend(), [](const TreeNode& node) { return !node.children.empty(); });
    const auto end = lastGroup.base();
    HTREEITEM item = TreeView_GetRoot(tree);
    for (auto node = nodes.begin(); node != end && item; ++node) {
        if (!node->children.empty())
            expand(tree, item);
        item = TreeView_GetNextSibling(tree, item);
    }
}

} // namespace

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

// A tree that already shows the nodes is left as it is, and when only a few
// rows differ only those are removed or inserted: typing into the search box
// often changes nothing or little, and the tree measures every row it is
// given.
void MainWindow::replaceNodes(TreeNodes nodes) {
    const std::vector<TreeEdit> edits = planTreeUpdate(shownNodes_, nodes);
    if (keepsEverything(edits)) {
        expandGroups(commandTree, nodes);
    } else {
        SendMessageW(commandTree, WM_SETREDRAW, FALSE, 0);
        if (refillIsCheaper(edits)) {
            TreeView_DeleteAllItems(commandTree);
            for (const auto& node : nodes)
                insertNode(commandTree, TVI_ROOT, TVI_LAST, node);
        } else {
            applyEdits(commandTree, TVI_ROOT, edits, nodes);
        }
        SendMessageW(commandTree, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(commandTree, nullptr, FALSE); // the tree paints its own background
    }
    shownNodes_ = std::move(nodes);
}

void MainWindow::showPlace(const TreePlace& place) {
    HTREEITEM selected =
        place.selected ? itemOfNode(commandTree, shownNodes_, *place.selected) : nullptr;
    HTREEITEM top = place.top ? itemOfNode(commandTree, shownNodes_, *place.top) : nullptr;
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
