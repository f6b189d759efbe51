#include "list/search_index.h"

#include <algorithm>
#include <limits>

#include "list/tree_model.h"
#include "text/search_text.h"

namespace morvane {

void SearchIndex::rebuild(const ListRows& rows) {
    texts_.clear();
    byRow_.clear();
    // Row keys are line numbers of the file, a little above the row count at
    // most; keys far beyond it (rows not read from a file) are left to be
    // folded on the spot rather than spread the table thin.
    const size_t keyLimit = rows.size() * 4 + 64;
    int32_t highest = -1;
    size_t length = 0;
    for (const auto& row : rows) {
        if (!isCommandEntry(row) || row.row < 0 || static_cast<size_t>(row.row) >= keyLimit)
            continue;
        highest = std::max(highest, row.row);
        length += 2 * (row.command.size() + row.description.size()) + 3;
    }
    byRow_.resize(static_cast<size_t>(highest + 1));
    texts_.reserve(length);
    std::u16string folded;
    for (const auto& row : rows) {
        if (!isCommandEntry(row) || row.row < 0 || static_cast<size_t>(row.row) > size_t(highest))
            continue;
        foldSearchTextInto(folded, displayText(row));
        const size_t begin = texts_.size();
        if (begin + row.command.size() + row.description.size() + folded.size() >
            std::numeric_limits<uint32_t>::max())
            break;
        texts_ += row.command;
        texts_ += row.description;
        texts_ += folded;
        byRow_[static_cast<size_t>(row.row)] = Entry{static_cast<uint32_t>(begin),
                                                     static_cast<uint32_t>(row.command.size()),
                                                     static_cast<uint32_t>(row.description.size()),
                                                     static_cast<uint32_t>(folded.size()),
                                                     !row.file.empty(),
                                                     true};
    }
}

std::optional<std::u16string_view> SearchIndex::foldedText(const ListRow& row) const {
    if (row.row < 0 || static_cast<size_t>(row.row) >= byRow_.size())
        return std::nullopt;
    const Entry& entry = byRow_[static_cast<size_t>(row.row)];
    if (!entry.indexed || entry.brace == row.file.empty())
        return std::nullopt;
    const std::u16string_view stored(texts_);
    if (stored.substr(entry.begin, entry.commandLength) != row.command ||
        stored.substr(entry.begin + entry.commandLength, entry.descriptionLength) !=
            row.description)
        return std::nullopt;
    return stored.substr(entry.begin + entry.commandLength + entry.descriptionLength,
                         entry.foldedLength);
}

} // namespace morvane
