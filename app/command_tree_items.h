#pragma once
// The command tree's items and the nodes they show: an item's row (its
// lParam) and whether it stands in the pin group.
#include <windows.h>

#include <commctrl.h>

#include <optional>

#include "list/tree_model.h"
#include "list/view_place.h"

namespace morvane {

// The row an item shows (its data); nullopt for no item.
std::optional<int32_t> rowOfItem(HWND tree, HTREEITEM item);

// The node an item shows: its row, and pinned when its parent is the pin
// group. nullopt for no item.
std::optional<NodeOfRow> nodeOfItem(HWND tree, HTREEITEM item);

// The place on show: the selected item and the first visible one.
TreePlace placeOnShow(HWND tree);

} // namespace morvane
