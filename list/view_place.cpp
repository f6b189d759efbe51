#include "list/view_place.h"

#include <algorithm>
#include <functional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace morvane {
namespace {

// What a row is, whatever line it stands on.
struct RowIdentity {
    bool group = false;
    std::u16string_view command;
    std::u16string_view file;
    uint32_t ordinal = 0; // among the rows with the three above, in file order

    bool operator==(const RowIdentity&) const = default;
};

struct IdentityHash {
    size_t operator()(const RowIdentity& id) const {
        const std::hash<std::u16string_view> text;
        size_t h = text(id.command);
        h = h * 31 + text(id.file);
        h = h * 31 + id.ordinal;
        return h * 2 + (id.group ? 1 : 0);
    }
};

// Each row's identity, in the order of rows; the rows outlive it.
std::vector<RowIdentity> identitiesOf(const ListRows& rows) {
    std::vector<size_t> byKey(rows.size());
    for (size_t i = 0; i < rows.size(); ++i)
        byKey[i] = i;
    std::sort(byKey.begin(), byKey.end(),
              [&](size_t a, size_t b) { return rows[a].row < rows[b].row; });
    std::vector<RowIdentity> identities(rows.size());
    std::unordered_map<RowIdentity, uint32_t, IdentityHash> seen;
    seen.reserve(rows.size());
    for (size_t i : byKey) {
        const ListRow& row = rows[i];
        const RowIdentity withoutOrdinal{isGroupRow(row), row.command, row.file, 0};
        RowIdentity identity = withoutOrdinal;
        identity.ordinal = seen[withoutOrdinal]++;
        identities[i] = identity;
    }
    return identities;
}

// The rows' keys in the order the nodes show them, groups before their
// entries.
void appendKeys(const TreeNodes& nodes, std::vector<int32_t>& keys) {
    for (const auto& node : nodes) {
        keys.push_back(node.row);
        appendKeys(node.children, keys);
    }
}

class PlaceFinder {
  public:
    PlaceFinder(const ListRows& oldRows, const TreeNodes& oldNodes, const ListRows& newRows,
                const TreeNodes& newNodes) {
        const auto oldIdentities = identitiesOf(oldRows);
        oldIdentity_.reserve(oldRows.size());
        for (size_t i = 0; i < oldRows.size(); ++i)
            oldIdentity_.emplace(oldRows[i].row, oldIdentities[i]);
        const auto newIdentities = identitiesOf(newRows);
        newKey_.reserve(newRows.size());
        for (size_t i = 0; i < newRows.size(); ++i)
            newKey_.emplace(newIdentities[i], newRows[i].row);
        appendKeys(oldNodes, oldOrder_);
        std::vector<int32_t> shown;
        appendKeys(newNodes, shown);
        newShown_.insert(shown.begin(), shown.end());
    }

    std::optional<int32_t> find(std::optional<int32_t> oldKey) const {
        if (!oldKey)
            return std::nullopt;
        const auto at = std::find(oldOrder_.begin(), oldOrder_.end(), *oldKey);
        if (at == oldOrder_.end())
            return shownAgain(*oldKey);
        for (auto next = at; next != oldOrder_.end(); ++next)
            if (auto key = shownAgain(*next))
                return key;
        for (auto before = at; before != oldOrder_.begin();)
            if (auto key = shownAgain(*--before))
                return key;
        return std::nullopt;
    }

  private:
    // The new key of the old row, when the new view shows it.
    std::optional<int32_t> shownAgain(int32_t oldKey) const {
        const auto identity = oldIdentity_.find(oldKey);
        if (identity == oldIdentity_.end())
            return std::nullopt;
        const auto key = newKey_.find(identity->second);
        if (key == newKey_.end() || !newShown_.count(key->second))
            return std::nullopt;
        return key->second;
    }

    std::unordered_map<int32_t, RowIdentity> oldIdentity_;
    std::unordered_map<RowIdentity, int32_t, IdentityHash> newKey_;
    std::vector<int32_t> oldOrder_;
    std::unordered_set<int32_t> newShown_;
};

} // namespace

std::optional<TreeNodes> reorderIntoView(ListView view, ListRows& rows,
                                         std::u16string_view searchText, RowOrderCache* cache) {
    switch (view) {
    case ListView::FileOrder:
        return reorderIntoRowView(rows, cache);
    case ListView::CommandOrder:
        return reorderIntoCommandView(rows, cache);
    case ListView::SearchResults:
        break;
    }
    return reorderIntoSearchView(rows, searchText, cache);
}

TreePlace findPlaceAgain(const TreePlace& place, const ListRows& oldRows, const TreeNodes& oldNodes,
                         const ListRows& newRows, const TreeNodes& newNodes) {
    if (!place.selectedRow && !place.topRow)
        return {};
    const PlaceFinder finder(oldRows, oldNodes, newRows, newNodes);
    return {finder.find(place.selectedRow), finder.find(place.topRow)};
}

} // namespace morvane
