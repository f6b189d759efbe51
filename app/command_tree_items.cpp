#include "app/command_tree_items.h"

namespace morvane {

std::optional<NodeOfRow> nodeOfItem(HWND tree, HTREEITEM item) {
    if (!item)
        return std::nullopt;
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!TreeView_GetItem(tree, &data))
        return std::nullopt;
    NodeOfRow node{static_cast<int32_t>(data.lParam), false};
    if (HTREEITEM parent = TreeView_GetParent(tree, item)) {
        data.hItem = parent;
        node.pinned = TreeView_GetItem(tree, &data) && data.lParam == kPinGroupRow;
    }
    return node;
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

HTREEITEM itemOfNode(HWND tree, const TreeNodes& shown, NodeOfRow node) {
    const auto place = findNodeOfRow(shown, node.row, node.pinned);
    return place ? itemAt(tree, *place) : nullptr;
}

TreePlace placeOnShow(HWND tree) {
    return {nodeOfItem(tree, TreeView_GetSelection(tree)),
            nodeOfItem(tree, TreeView_GetFirstVisible(tree))};
}

} // namespace morvane
