#include "app/command_tree_items.h"

namespace morvane {

std::optional<int32_t> rowOfItem(HWND tree, HTREEITEM item) {
    if (!item)
        return std::nullopt;
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    if (!TreeView_GetItem(tree, &data))
        return std::nullopt;
    return static_cast<int32_t>(data.lParam);
}

std::optional<NodeOfRow> nodeOfItem(HWND tree, HTREEITEM item) {
    const auto row = rowOfItem(tree, item);
    if (!row)
        return std::nullopt;
    NodeOfRow node{*row, false};
    if (HTREEITEM parent = TreeView_GetParent(tree, item))
        node.pinned = rowOfItem(tree, parent) == kPinGroupRow;
    return node;
}

TreePlace placeOnShow(HWND tree) {
    return {nodeOfItem(tree, TreeView_GetSelection(tree)),
            nodeOfItem(tree, TreeView_GetFirstVisible(tree))};
}

} // namespace morvane
