#pragma once
// The three views of the command list as nodes, independent of the tree
// control that shows them.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/list_row.h"

namespace morvane {

class RowOrderCache;

enum NodeImage : int { kGroupImage = 0, kCommandImage = 1 };

struct TreeNode {
    std::u16string text;
    int32_t row = -1; // node data: the record's key
    int image = kGroupImage;
    std::vector<TreeNode> children;

    bool operator==(const TreeNode&) const = default;
};

// The nodes to show, top level in order. The first top-level node is the one
// to select; an empty list selects nothing.
using TreeNodes = std::vector<TreeNode>;

// "[" command "] " description, or "{" command "} " description for a row with a file.
std::u16string displayText(const ListRow& record);

// a to z become A to Z; every other code unit stays.
std::u16string foldSearchText(std::u16string_view text);

// Each build reorders records in place (file order for the row view, command
// order for the other two) and returns the nodes. nullopt means the array is
// empty and the tree must be left untouched.
std::optional<TreeNodes> reorderIntoRowView(ListRows& records, RowOrderCache* cache = nullptr);
std::optional<TreeNodes> reorderIntoCommandView(ListRows& records, RowOrderCache* cache = nullptr);
std::optional<TreeNodes> reorderIntoSearchView(ListRows& records, std::u16string_view searchText,
                                               RowOrderCache* cache = nullptr);

// Finds the record with this key, whatever the array's order.
const ListRow* findRow(const ListRows& records, int32_t row);

} // namespace morvane
