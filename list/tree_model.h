#pragma once
// The three views of the command list as nodes, independent of the tree
// control that shows them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/list_row.h"
#include "text/search_text.h"

namespace morvane {

class Pins;
class RowOrderCache;
class SearchIndex;

enum NodeImage : int { kGroupImage = 0, kCommandImage = 1 };

// The pin group's node data. No row has this key, so a double-click or Enter
// on the group finds no row and does nothing, as on any group.
inline constexpr int32_t kPinGroupRow = -1;
inline constexpr std::u16string_view kPinGroupText = u"ピン留め";

struct TreeNode {
    std::u16string text;
    int32_t row = -1; // node data: the record's key
    int image = kGroupImage;
    std::vector<TreeNode> children;
    // A pinned row's node in the pin group. It carries the row's own key, so
    // running it runs the row; the row has a second node, pinned false, in
    // its own place. Only the nodes know the difference: the tree control
    // holds the key alone, and a tree item is a pinned node when its parent's
    // data is kPinGroupRow.
    bool pinned = false;

    bool operator==(const TreeNode&) const = default;
};

// The nodes to show, top level in order. The first top-level node is the one
// to select; an empty list selects nothing.
using TreeNodes = std::vector<TreeNode>;

// "[" command "] " description, or "{" command "} " description for a row with a file.
std::u16string displayText(const ListRow& record);

// Each build reorders records in place (file order for the row view, command
// order for the other two) and returns the nodes. nullopt means the array is
// empty and the tree must be left untouched.
//
// What the window keeps beside its rows (in LauncherState, next to rows and
// rowOrder) and hands to every build; each may be null:
// - cache: the command order, remembered across view switches;
// - pins: the operator's pins. The row and command views, and the search view
//   while the search text is empty, then begin with the group "ピン留め"
//   (data kPinGroupRow), holding a node for each pinned row present, in the
//   order pinned (see pinnedRows). No pin present: no group, the view as
//   without pins;
// - index: each row's folded display text, built once per load. The window
//   rebuilds it right after every load of the rows (start-up, the reload
//   command, an installed drop): searchIndex.rebuild(state.rows). A row the
//   index does not hold as it is now is folded on the spot, so a stale index
//   costs time, never a wrong result.
//
// The window's calls:
//   reorderIntoRowView(rows, &rowOrder, &pins)
//   reorderIntoCommandView(rows, &rowOrder, &pins)
//   reorderIntoSearchView(rows, windowText(searchBox), &rowOrder, &searchIndex, &pins)
std::optional<TreeNodes> reorderIntoRowView(ListRows& records, RowOrderCache* cache = nullptr,
                                            const Pins* pins = nullptr);
std::optional<TreeNodes> reorderIntoCommandView(ListRows& records, RowOrderCache* cache = nullptr,
                                                const Pins* pins = nullptr);
// The command view's entries whose folded display text holds every term of
// the folded search text (foldSearchText, searchTerms): with one term, as
// before folding reached beyond ASCII letter case; a text of blanks alone
// lets every entry through (every display text holds a blank). The pin
// group only while the search text is empty.
std::optional<TreeNodes> reorderIntoSearchView(ListRows& records, std::u16string_view searchText,
                                               RowOrderCache* cache = nullptr,
                                               const SearchIndex* index = nullptr,
                                               const Pins* pins = nullptr);

// Where the node of this row stands: its top-level index, and its index
// among that node's children for a child. pinned chooses between the row's
// node in the pin group and the one in its own place. nullopt when the
// nodes hold no such node. For a window that selects a row again after a
// rebuild (after pinning, say) without landing on its other node.
struct NodePlace {
    size_t top = 0;
    std::optional<size_t> child;
    bool operator==(const NodePlace&) const = default;
};
std::optional<NodePlace> findNodeOfRow(const TreeNodes& nodes, int32_t row, bool pinned);

// Finds the record with this key, whatever the array's order.
const ListRow* findRow(const ListRows& records, int32_t row);

} // namespace morvane
