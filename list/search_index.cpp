#include "list/search_index.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "list/tree_model.h"
#include "text/search_text.h"

namespace morvane {
namespace {

// Equality alone, by bytes: the ordering compare of char16_t strings goes
// unit by unit, and every row is checked on every keystroke.
bool sameUnits(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0;
}

} // namespace

void SearchIndex::rebuild(const ListRows& rows) {
    entries_.clear();
    texts_.clear();
    entryOfRow_.clear();
    // Row keys are line numbers of the file, a little above the row count at
    // most; keys far beyond it (rows not read from a file) are left to be
    // folded on the spot rather than spread the table thin.
    const size_t keyLimit = rows.size() * 4 + 64;
    std::vector<const ListRow*> indexed;
    int32_t highest = -1;
    size_t length = 0;
    for (const auto& row : rows) {
        if (!isCommandEntry(row) || row.row < 0 || static_cast<size_t>(row.row) >= keyLimit)
            continue;
        indexed.push_back(&row);
        highest = std::max(highest, row.row);
        length += 2 * (row.command.size() + row.description.size()) + 3;
    }
    std::sort(indexed.begin(), indexed.end(), [](const ListRow* a, const ListRow* b) {
        return a->command != b->command ? a->command < b->command : a->row < b->row;
    });
    entryOfRow_.assign(static_cast<size_t>(highest + 1), kNotIndexed);
    entries_.reserve(indexed.size());
    texts_.reserve(length);
    std::u16string folded;
    for (const ListRow* row : indexed) {
        foldSearchTextInto(folded, displayText(*row));
        const size_t begin = texts_.size();
        if (begin + row->command.size() + row->description.size() + folded.size() >
            std::numeric_limits<uint32_t>::max())
            break;
        texts_ += row->command;
        texts_ += row->description;
        texts_ += folded;
        entryOfRow_[static_cast<size_t>(row->row)] = static_cast<uint32_t>(entries_.size());
        entries_.push_back(Entry{static_cast<uint32_t>(begin),
                                 static_cast<uint32_t>(row->command.size()),
                                 static_cast<uint32_t>(row->description.size()),
                                 static_cast<uint32_t>(folded.size()), !row->file.empty()});
    }
}

std::optional<std::u16string_view> SearchIndex::foldedText(const ListRow& row) const {
    if (row.row < 0 || static_cast<size_t>(row.row) >= entryOfRow_.size() ||
        entryOfRow_[static_cast<size_t>(row.row)] == kNotIndexed)
        return std::nullopt;
    const Entry& entry = entries_[entryOfRow_[static_cast<size_t>(row.row)]];
    if (entry.brace == row.file.empty())
        return std::nullopt;
    const std::u16string_view stored(texts_);
    if (!sameUnits(stored.substr(entry.begin, entry.commandLength), row.command) ||
        !sameUnits(stored.substr(entry.begin + entry.commandLength, entry.descriptionLength),
                   row.description))
        return std::nullopt;
    return stored.substr(entry.begin + entry.commandLength + entry.descriptionLength,
                         entry.foldedLength);
}

} // namespace morvane
