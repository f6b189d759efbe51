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

TreePlace placeOnShow(HWND tree) {
    return {nodeOfItem(tree, TreeView_GetSelection(tree)),
            nodeOfItem(tree, TreeView_GetFirstVisible(tree))};
}

} // namespace morvane
