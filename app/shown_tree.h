#pragma once
// What the command tree shows, node for node, with the item of each node:
// every build changes only the rows that differ, and finds an item by its
// place without walking the tree. Each message to the tree costs a few
// microseconds, so a ten-thousand-row list must not cost a message per row
// where none is needed.
#include <windows.h>

#include <commctrl.h>

#include <optional>
#include <string>
#include <vector>

#include "list/tree_model.h"
#include "list/view_place.h"

namespace morvane {

struct TreeEdit;

class ShownTree {
  public:
    // The tree changed into nodes: rows that look the same are kept (their
    // row key set anew where it changed), the others removed or inserted,
    // or the tree refilled when that is cheaper; every group expanded, also
    // one the operator has folded. Redraws once, when anything changed. The
    // selection and the scrolling are the caller's.
    void replace(HWND tree, TreeNodes nodes);

    const TreeNodes& nodes() const { return nodes_; }
    // The item at a place of the nodes; nullptr where there is none.
    HTREEITEM itemAt(const NodePlace& place) const;
    // The item that shows node; nullptr when none does.
    HTREEITEM itemOf(NodeOfRow node) const;
    // The top-level items of groups, with their nodes' titles.
    struct Group {
        HTREEITEM item;
        const std::u16string& title;
    };
    std::vector<Group> groups() const;

  private:
    struct Item {
        HTREEITEM item = nullptr;
        std::vector<Item> children;
    };
    static Item insert(HWND tree, HTREEITEM parent, HTREEITEM after, const TreeNode& node);
    static std::vector<Item> applyEdits(HWND tree, HTREEITEM parent,
                                        const std::vector<TreeEdit>& edits, const TreeNodes& wanted,
                                        std::vector<Item>& shown);

    TreeNodes nodes_;
    std::vector<Item> items_; // parallel to nodes_, level for level
};

} // namespace morvane
