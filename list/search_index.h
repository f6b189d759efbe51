#pragma once
// Each row's display text folded once per load of the list, so a keystroke
// in the search box folds only what was typed: with ten thousand rows the
// folding would otherwise be most of a keystroke's work.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/list_row.h"

namespace morvane {

// The window owns one beside its rows (LauncherState::searchIndex) and calls
// rebuild(rows) after every load that replaces them; reordering the rows
// needs nothing, as the texts are found by row key. Reading the index checks
// that the row still reads as it did when indexed, so an index left from an
// earlier load is slow, never wrong.
class SearchIndex {
  public:
    SearchIndex() = default;
    explicit SearchIndex(const ListRows& rows) { rebuild(rows); }

    void rebuild(const ListRows& rows);

    // The folded display text of this command entry (foldSearchText of
    // displayText), or nullopt when the index does not hold the row as it
    // is: not a command entry, not indexed, or changed since.
    std::optional<std::u16string_view> foldedText(const ListRow& row) const;

  private:
    // The row's command, description and folded display text stand one after
    // the other in texts_ from begin.
    struct Entry {
        uint32_t begin = 0;
        uint32_t commandLength = 0;
        uint32_t descriptionLength = 0;
        uint32_t foldedLength = 0;
        bool brace = false;
    };
    static constexpr uint32_t kNotIndexed = UINT32_MAX;
    // Entries and texts in command order, the order a search walks the rows
    // in: read one after the other, they stay in the processor's cache.
    std::vector<Entry> entries_;
    std::u16string texts_;
    std::vector<uint32_t> entryOfRow_; // by row key: an index into entries_
};

} // namespace morvane
