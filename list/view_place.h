#pragma once
// What the operator sees stays put when the list is read again because its
// file changed: the same view, the same selected row and the same first row
// on show, wherever their lines have moved.
//
// How the main window uses it (app/main_window_live.cpp), on a live reload
// of the command list that gave new rows: it takes the place on show (the
// selected item and the first visible one, each as its row and whether it
// stands in the pin group), keeps the old rows and nodes, builds the nodes
// of the view it showed last from the new rows (reorderIntoView, with the
// search box's text as it is), shows them, and selects and scrolls to what
// findPlaceAgain answers. Selecting never moves the keyboard focus, and the
// search box is not touched, so no change event runs.
#include <cstdint>
#include <optional>
#include <string_view>

#include "list/list_row.h"
#include "list/tree_model.h"

namespace morvane {

class Pins;
class RowOrderCache;
class SearchIndex;

// The three views of the tree: "取得順", "ABC順", and the search results of
// the search box's text.
enum class ListView { FileOrder, CommandOrder, SearchResults };

// The build of that view (reorderIntoRowView, reorderIntoCommandView,
// reorderIntoSearchView); searchText and index count for SearchResults only.
std::optional<TreeNodes> reorderIntoView(ListView view, ListRows& rows,
                                         std::u16string_view searchText,
                                         RowOrderCache* cache = nullptr,
                                         const SearchIndex* index = nullptr,
                                         const Pins* pins = nullptr);

// A node by the row it shows: pinned for the row's node in the pin group
// (its other node stands in its own place); the pin group itself is
// kPinGroupRow.
struct NodeOfRow {
    int32_t row = -1;
    bool pinned = false;

    bool operator==(const NodeOfRow&) const = default;
};

// A place in the tree: the selected node and the first node on show;
// nullopt for none.
struct TreePlace {
    std::optional<NodeOfRow> selected;
    std::optional<NodeOfRow> top;

    bool operator==(const TreePlace&) const = default;
};

// The place among new rows that matches place among the old ones. A row is
// found again by what it is, not by its key, since lines move: a group by
// its title, an entry by its command and its file, and the n-th of several
// such rows (in file order) as the n-th again. A row that is gone, or not
// in the new view (a search no longer finds it, it no longer stands under
// a group), gives way to the next row after it in the old view that is in
// the new one, else to the nearest before it; nullopt when no row of the
// old view is in the new one. oldNodes and newNodes are the views' nodes;
// the rows may be in any order. A pinned node is found again as the pinned
// node of the same row, the pin group as the pin group.
TreePlace findPlaceAgain(const TreePlace& place, const ListRows& oldRows, const TreeNodes& oldNodes,
                         const ListRows& newRows, const TreeNodes& newNodes);

} // namespace morvane
