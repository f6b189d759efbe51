#include "list/tree_model.h"

#include "list/record_order.h"

namespace morvane {
namespace {

TreeNode entryNode(const TLspRecord& record) {
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

std::u16string displayText(const TLspRecord& record) {
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

std::optional<TreeNodes> makeRowView(LspRecordArray& records, RecordOrderCache* cache) {
    if (records.empty())
        return std::nullopt;
    sortLspRecords(records, false, cache);
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

std::optional<TreeNodes> makeCommandView(LspRecordArray& records, RecordOrderCache* cache) {
    return makeSearchView(records, {}, cache);
}

std::optional<TreeNodes> makeSearchView(LspRecordArray& records, std::u16string_view searchText,
                                        RecordOrderCache* cache) {
    if (records.empty())
        return std::nullopt;
    sortLspRecords(records, true, cache);
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

const TLspRecord* findRecordByRow(const LspRecordArray& records, int32_t row) {
    for (const auto& record : records)
        if (record.row == row)
            return &record;
    return nullptr;
}

} // namespace morvane
