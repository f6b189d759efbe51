#include "list/tree_model.h"

#include <algorithm>

#include "list/pins.h"
#include "list/row_order.h"
#include "list/search_index.h"

namespace morvane {
namespace {

TreeNode entryNode(const ListRow& record) {
    return TreeNode{displayText(record), record.row, kCommandImage, {}};
}

// Sized once and copied into: a keystroke builds the text of every row it
// shows.
void displayTextInto(std::u16string& text, const ListRow& record) {
    const bool brace = !record.file.empty();
    text.resize(record.command.size() + record.description.size() + 3);
    char16_t* out = text.data();
    *out++ = brace ? u'{' : u'[';
    out = std::copy(record.command.begin(), record.command.end(), out);
    *out++ = brace ? u'}' : u']';
    *out++ = u' ';
    std::copy(record.description.begin(), record.description.end(), out);
}

// The group "ピン留め" first, when a pinned row is in the list.
void addPinGroup(TreeNodes& nodes, const ListRows& records, const Pins* pins) {
    if (!pins || pins->empty())
        return;
    const auto pinned = pinnedRows(records, *pins);
    if (pinned.empty())
        return;
    TreeNode group{std::u16string(kPinGroupText), kPinGroupRow, kGroupImage, {}};
    for (const ListRow* record : pinned) {
        group.children.push_back(entryNode(*record));
        group.children.back().pinned = true;
    }
    nodes.push_back(std::move(group));
}

} // namespace

std::u16string displayText(const ListRow& record) {
    std::u16string text;
    displayTextInto(text, record);
    return text;
}

std::optional<TreeNodes> reorderIntoRowView(ListRows& records, RowOrderCache* cache,
                                            const Pins* pins) {
    if (records.empty())
        return std::nullopt;
    sortRows(records, false, cache);
    TreeNodes nodes;
    addPinGroup(nodes, records, pins);
    TreeNode* group = nullptr;
    for (const auto& record : records) {
        if (isGroupRow(record)) {
            nodes.push_back(TreeNode{record.command, record.row, kGroupImage, {}});
            group = &nodes.back();
        } else if (group) {
            group->children.push_back(entryNode(record));
        }
    }
    return nodes;
}

std::optional<TreeNodes> reorderIntoCommandView(ListRows& records, RowOrderCache* cache,
                                                const Pins* pins) {
    return reorderIntoSearchView(records, {}, cache, nullptr, pins);
}

std::optional<TreeNodes> reorderIntoSearchView(ListRows& records, std::u16string_view searchText,
                                               RowOrderCache* cache, const SearchIndex* index,
                                               const Pins* pins) {
    if (records.empty())
        return std::nullopt;
    sortRows(records, true, cache);
    const std::u16string key = foldSearchText(searchText);
    const auto terms = searchTerms(key);
    TreeNodes nodes;
    if (searchText.empty())
        addPinGroup(nodes, records, pins);
    std::u16string shown, folded;
    for (const auto& record : records) {
        if (!isCommandEntry(record))
            continue;
        if (terms.empty()) {
            nodes.push_back(entryNode(record));
            continue;
        }
        if (const auto text = index ? index->foldedText(record) : std::nullopt) {
            if (holdsEveryTerm(*text, terms))
                nodes.push_back(entryNode(record));
            continue;
        }
        displayTextInto(shown, record);
        foldSearchTextInto(folded, shown);
        if (holdsEveryTerm(folded, terms))
            nodes.push_back(TreeNode{shown, record.row, kCommandImage, {}});
    }
    return nodes;
}

std::optional<NodePlace> findNodeOfRow(const TreeNodes& nodes, int32_t row, bool pinned) {
    for (size_t top = 0; top < nodes.size(); ++top) {
        if (nodes[top].row == row && nodes[top].pinned == pinned)
            return NodePlace{top, std::nullopt};
        const auto& children = nodes[top].children;
        for (size_t child = 0; child < children.size(); ++child)
            if (children[child].row == row && children[child].pinned == pinned)
                return NodePlace{top, child};
    }
    return std::nullopt;
}

const ListRow* findRow(const ListRows& records, int32_t row) {
    for (const auto& record : records)
        if (record.row == row)
            return &record;
    return nullptr;
}

} // namespace morvane
