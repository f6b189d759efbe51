#include "list/view_place.h"

#include <algorithm>
#include <vector>

namespace morvane {
namespace {

// What a row is, whatever line it stands on: group or entry, its command
// and its file. Three-way, ordinal.
int compareWhatRowsAre(const ListRow& a, const ListRow& b) {
    if (isGroupRow(a) != isGroupRow(b))
        return isGroupRow(a) ? -1 : 1;
    if (const int c = a.command.compare(b.command))
        return c;
    return a.file.compare(b.file);
}

// The rows' positions, rows that are the same thing together and each such
// run in file order. Flat indexes sorted rather than hash maps filled: the
// maps' thousands of small blocks cost far more than the sort on Windows'
// heap (four times the whole reload's other work, measured under Wine).
std::vector<uint32_t> sameRowsTogether(const ListRows& rows) {
    std::vector<uint32_t> order(rows.size());
    for (uint32_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
        const int c = compareWhatRowsAre(rows[a], rows[b]);
        return c != 0 ? c < 0 : rows[a].row < rows[b].row;
    });
    return order;
}

// For each old row (by position), the key of the same row among the new
// ones, -1 for none: the n-th of a run of the same rows is the n-th again.
std::vector<int32_t> matchRows(const ListRows& oldRows, const ListRows& newRows) {
    const auto oldOrder = sameRowsTogether(oldRows);
    const auto newOrder = sameRowsTogether(newRows);
    std::vector<int32_t> newKey(oldRows.size(), -1);
    size_t i = 0, j = 0;
    while (i < oldOrder.size() && j < newOrder.size()) {
        const ListRow& a = oldRows[oldOrder[i]];
        const ListRow& b = newRows[newOrder[j]];
        const int c = compareWhatRowsAre(a, b);
        if (c == 0)
            newKey[oldOrder[i]] = b.row;
        if (c <= 0)
            ++i;
        if (c >= 0)
            ++j;
    }
    return newKey;
}

// The nodes in the order they are shown, groups before their entries.
void appendNodes(const TreeNodes& nodes, std::vector<NodeOfRow>& shown) {
    for (const auto& node : nodes) {
        shown.push_back({node.row, node.pinned});
        appendNodes(node.children, shown);
    }
}

// Keys are line indexes: small, not negative, a table indexes them.
template <class T> void putAt(std::vector<T>& table, int32_t key, T value, T none) {
    if (key < 0)
        return;
    if (static_cast<size_t>(key) >= table.size())
        table.resize(static_cast<size_t>(key) + 1, none);
    table[static_cast<size_t>(key)] = value;
}

template <class T> T at(const std::vector<T>& table, int32_t key, T none) {
    return key >= 0 && static_cast<size_t>(key) < table.size() ? table[static_cast<size_t>(key)]
                                                               : none;
}

// The n-th row (0-based) among rows that is the same thing as row, and
// -1 when there are fewer.
int32_t keyOfNth(const ListRows& rows, const ListRow& row, size_t n) {
    std::vector<int32_t> keys;
    for (const auto& candidate : rows)
        if (compareWhatRowsAre(candidate, row) == 0)
            keys.push_back(candidate.row);
    if (n >= keys.size())
        return -1;
    std::nth_element(keys.begin(), keys.begin() + static_cast<ptrdiff_t>(n), keys.end());
    return keys[n];
}

class PlaceFinder {
  public:
    PlaceFinder(const ListRows& oldRows, const TreeNodes& oldNodes, const ListRows& newRows,
                const TreeNodes& newNodes)
        : oldRows_(oldRows), newRows_(newRows) {
        for (size_t i = 0; i < oldRows.size(); ++i)
            putAt<int32_t>(oldPosition_, oldRows[i].row, static_cast<int32_t>(i), -1);
        appendNodes(oldNodes, oldOrder_);
        std::vector<NodeOfRow> shown;
        appendNodes(newNodes, shown);
        for (const NodeOfRow& node : shown) {
            if (node.row == kPinGroupRow)
                newPinGroup_ = true;
            else
                putAt<char>(node.pinned ? newPinned_ : newOwn_, node.row, 1, 0);
        }
    }

    std::optional<NodeOfRow> find(std::optional<NodeOfRow> old) {
        if (!old)
            return std::nullopt;
        const auto at = std::find(oldOrder_.begin(), oldOrder_.end(), *old);
        if (at == oldOrder_.end())
            return shownAgain(*old);
        for (auto next = at; next != oldOrder_.end(); ++next)
            if (auto node = shownAgain(*next))
                return node;
        for (auto before = at; before != oldOrder_.begin();)
            if (auto node = shownAgain(*--before))
                return node;
        return std::nullopt;
    }

  private:
    // The node of the old one among the new nodes, when they show it.
    std::optional<NodeOfRow> shownAgain(NodeOfRow old) {
        if (old.row == kPinGroupRow)
            return newPinGroup_ ? std::optional(old) : std::nullopt;
        const int32_t position = at<int32_t>(oldPosition_, old.row, -1);
        if (position < 0)
            return std::nullopt;
        const int32_t key = newKeyOf(static_cast<size_t>(position));
        if (!at<char>(old.pinned ? newPinned_ : newOwn_, key, 0))
            return std::nullopt;
        return NodeOfRow{key, old.pinned};
    }

    // Mostly the selected and the top row are found at once: a few rows are
    // looked up by scanning the rows, and only a longer walk (a large block
    // of rows gone) pays for matching all of them.
    int32_t newKeyOf(size_t position) {
        constexpr int kScans = 16;
        if (scans_ < kScans) {
            ++scans_;
            const ListRow& row = oldRows_[position];
            size_t earlier = 0;
            for (const auto& other : oldRows_)
                if (other.row < row.row && compareWhatRowsAre(other, row) == 0)
                    ++earlier;
            return keyOfNth(newRows_, row, earlier);
        }
        if (newKeyByPosition_.empty())
            newKeyByPosition_ = matchRows(oldRows_, newRows_);
        return newKeyByPosition_[position];
    }

    const ListRows& oldRows_;
    const ListRows& newRows_;
    int scans_ = 0;
    std::vector<int32_t> newKeyByPosition_; // matchRows, once made
    std::vector<int32_t> oldPosition_;      // by old key; -1 for none
    std::vector<NodeOfRow> oldOrder_;
    // The new nodes: the rows in their own place, in the pin group, by key.
    std::vector<char> newOwn_, newPinned_;
    bool newPinGroup_ = false;
};

} // namespace

std::optional<TreeNodes> reorderIntoView(ListView view, ListRows& rows,
                                         std::u16string_view searchText, RowOrderCache* cache,
                                         const SearchIndex* index, const Pins* pins) {
    switch (view) {
    case ListView::FileOrder:
        return reorderIntoRowView(rows, cache, pins);
    case ListView::CommandOrder:
        return reorderIntoCommandView(rows, cache, pins);
    case ListView::SearchResults:
        break;
    }
    return reorderIntoSearchView(rows, searchText, cache, index, pins);
}

TreePlace findPlaceAgain(const TreePlace& place, const ListRows& oldRows, const TreeNodes& oldNodes,
                         const ListRows& newRows, const TreeNodes& newNodes) {
    if (!place.selected && !place.top)
        return {};
    PlaceFinder finder(oldRows, oldNodes, newRows, newNodes);
    return {finder.find(place.selected), finder.find(place.top)};
}

} // namespace morvane
