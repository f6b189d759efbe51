#include "app/shown_tree.h"

#include <utility>

#include "list/tree_update.h"
#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

// Every build shows its groups expanded, also one the user has folded.
void expand(HWND tree, HTREEITEM item) {
    if (!(TreeView_GetItemState(tree, item, TVIS_EXPANDED) & TVIS_EXPANDED))
        TreeView_Expand(tree, item, TVE_EXPAND);
}

void setRow(HWND tree, HTREEITEM item, int32_t row) {
    TVITEMW data{};
    data.mask = TVIF_PARAM;
    data.hItem = item;
    data.lParam = static_cast<LPARAM>(row); // sign-extended
    TreeView_SetItem(tree, &data);
}

} // namespace

ShownTree::Item ShownTree::insert(HWND tree, HTREEITEM parent, HTREEITEM after,
                                  const TreeNode& node) {
    TVINSERTSTRUCTW data{};
    data.hParent = parent;
    data.hInsertAfter = after;
    data.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE;
    data.item.pszText = const_cast<wchar_t*>(wptr(node.text));
    data.item.iImage = node.image;
    data.item.lParam = static_cast<LPARAM>(node.row); // sign-extended
    // A group is expanded as it is made: expanding each afterwards costs the
    // tree two notifications and a recount of its visible rows per group.
    if (!node.children.empty()) {
        data.item.mask |= TVIF_STATE;
        data.item.state = TVIS_EXPANDED;
        data.item.stateMask = TVIS_EXPANDED;
    }
    Item item{TreeView_InsertItem(tree, &data), {}};
    item.children.reserve(node.children.size());
    for (const auto& child : node.children)
        item.children.push_back(insert(tree, item.item, TVI_LAST, child));
    return item;
}

// Carries out one level's edits on the children of parent, whose items are
// shown (taken over by the result where kept).
std::vector<ShownTree::Item> ShownTree::applyEdits(HWND tree, HTREEITEM parent,
                                                   const std::vector<TreeEdit>& edits,
                                                   const TreeNodes& wanted,
                                                   std::vector<Item>& shown) {
    std::vector<Item> result;
    result.reserve(wanted.size());
    HTREEITEM after = TVI_FIRST;
    for (const auto& edit : edits) {
        switch (edit.kind) {
        case TreeEdit::kKeep: {
            const TreeNode& node = wanted[result.size()];
            Item kept = std::move(shown[edit.index]);
            if (edit.newRow)
                setRow(tree, kept.item, node.row);
            kept.children =
                applyEdits(tree, kept.item, edit.children, node.children, kept.children);
            if (!node.children.empty())
                expand(tree, kept.item);
            after = kept.item;
            result.push_back(std::move(kept));
            break;
        }
        case TreeEdit::kRemove:
            TreeView_DeleteItem(tree, shown[edit.index].item);
            break;
        case TreeEdit::kInsert:
            result.push_back(insert(tree, parent, after, wanted[edit.index]));
            after = result.back().item;
            break;
        }
    }
    return result;
}

void ShownTree::replace(HWND tree, TreeNodes nodes) {
    const std::vector<TreeEdit> edits = planTreeUpdate(nodes_, nodes);
    if (keepsEverything(edits)) {
        for (size_t k = 0; k < nodes.size(); ++k)
            if (!nodes[k].children.empty())
                expand(tree, items_[k].item);
    } else {
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        if (refillIsCheaper(edits)) {
            TreeView_DeleteAllItems(tree);
            items_.clear();
            items_.reserve(nodes.size());
            for (const auto& node : nodes)
                items_.push_back(insert(tree, TVI_ROOT, TVI_LAST, node));
        } else {
            items_ = applyEdits(tree, TVI_ROOT, edits, nodes, items_);
        }
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(tree, nullptr, FALSE); // the tree paints its own background
    }
    nodes_ = std::move(nodes);
}

HTREEITEM ShownTree::itemAt(const NodePlace& place) const {
    if (place.top >= items_.size())
        return nullptr;
    const Item& top = items_[place.top];
    if (!place.child)
        return top.item;
    return *place.child < top.children.size() ? top.children[*place.child].item : nullptr;
}

HTREEITEM ShownTree::itemOf(NodeOfRow node) const {
    const auto place = findNodeOfRow(nodes_, node.row, node.pinned);
    return place ? itemAt(*place) : nullptr;
}

std::vector<ShownTree::Group> ShownTree::groups() const {
    std::vector<Group> groups;
    for (size_t k = 0; k < nodes_.size(); ++k)
        if (!nodes_[k].children.empty())
            groups.push_back({items_[k].item, nodes_[k].text});
    return groups;
}

} // namespace morvane
