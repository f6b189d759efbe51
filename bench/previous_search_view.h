#pragma once
// The search view as it was before folding reached beyond ASCII letter case
// and a search took several words: kept only to time a keystroke of the
// current one against it, side by side in one run.
#include <optional>
#include <string_view>

#include "list/row_order.h"
#include "list/tree_model.h"
#include "text/letters.h"

namespace morvane::bench {

inline std::u16string previousDisplayText(const ListRow& record) {
    const bool brace = !record.file.empty();
    std::u16string text;
    text.reserve(record.command.size() + record.description.size() + 3);
    text += brace ? u'{' : u'[';
    text += record.command;
    text += brace ? u"} " : u"] ";
    text += record.description;
    return text;
}

inline std::optional<TreeNodes>
previousSearchView(ListRows& records, std::u16string_view searchText, RowOrderCache* cache) {
    if (records.empty())
        return std::nullopt;
    sortRows(records, true, cache);
    const std::u16string key = upperAscii(searchText);
    TreeNodes nodes;
    std::u16string folded;
    for (const auto& record : records) {
        if (!isCommandEntry(record))
            continue;
        TreeNode node{previousDisplayText(record), record.row, kCommandImage, {}};
        if (!key.empty()) {
            folded.assign(node.text);
            upperAsciiInPlace(folded);
            if (folded.find(key) == std::u16string::npos)
                continue;
        }
        nodes.push_back(std::move(node));
    }
    return nodes;
}

} // namespace morvane::bench
