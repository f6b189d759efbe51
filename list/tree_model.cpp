#include "list/tree_model.h"

#include "list/row_order.h"

namespace morvane {
namespace {

TreeNode entryNode(const ListRow& record) {
    return TreeNode{displayText(record), record.row, kCommandImage, {}};
}

// Folds into out, reusing its buffer across records.
void foldInto(std::u16string& out, std::u16string_view text) {
    out.assign(text.begin(), text.end());
    for (auto& c : out)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
}

} // namespace

std::u16string displayText(const ListRow& record) {
    const bool brace = !record.file.empty();
    std::u16string text;
    text.reserve(record.command.size() + record.description.size() + 3);
    text += brace ? u'{' : u'[';
    text += record.command;
    text += brace ? u"} " : u"] ";
    text += record.description;
    return text;
}

std::u16string foldSearchText(std::u16string_view text) {
    std::u16string out;
    foldInto(out, text);
    return out;
}

std::optional<TreeNodes> reorderIntoRowView(ListRows& records, RowOrderCache* cache) {
    if (records.empty())
        return std::nullopt;
    sortRows(records, false, cache);
    TreeNodes nodes;
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

std::optional<TreeNodes> reorderIntoCommandView(ListRows& records, RowOrderCache* cache) {
    return reorderIntoSearchView(records, {}, cache);
}

std::optional<TreeNodes> reorderIntoSearchView(ListRows& records, std::u16string_view searchText,
                                               RowOrderCache* cache) {
    if (records.empty())
        return std::nullopt;
    sortRows(records, true, cache);
    const std::u16string key = foldSearchText(searchText);
    TreeNodes nodes;
    std::u16string folded;
    for (const auto& record : records) {
        if (!isCommandEntry(record))
            continue;
        auto node = entryNode(record);
        if (!key.empty()) {
            foldInto(folded, node.text);
            if (folded.find(key) == std::u16string::npos)
                continue;
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

const ListRow* findRow(const ListRows& records, int32_t row) {
    for (const auto& record : records)
        if (record.row == row)
            return &record;
    return nullptr;
}

} // namespace morvane
