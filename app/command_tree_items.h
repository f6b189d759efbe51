#pragma once
// The command tree's items and the nodes they show: an item's row (its
// lParam) and whether it stands in the pin group, and the item of a node.
#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "list/tree_model.h"
#include "list/view_place.h"

namespace morvane {

// The node an item shows: its row, and pinned when its parent is the pin
// group. nullopt for no item.
std::optional<NodeOfRow> nodeOfItem(HWND tree, HTREEITEM item);

// The item at a place of the nodes on show; nullptr when the tree has none
// there.
HTREEITEM itemAt(HWND tree, const NodePlace& place);

// The item that shows node among shown (the nodes the tree holds); nullptr
// when there is none.
HTREEITEM itemOfNode(HWND tree, const TreeNodes& shown, NodeOfRow node);

// The place on show: the selected item and the first visible one.
TreePlace placeOnShow(HWND tree);

} // namespace morvane
