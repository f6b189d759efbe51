#include "list/tree_update.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace morvane {
namespace {

// Nodes that look the same: a row of the tree shows one as well as the
// other, its data changed if need be. When the list is read again after an
// edit, every row below the edit has a new key but mostly the same look.
bool sameNode(const TreeNode& a, const TreeNode& b) {
    return a.image == b.image && a.pinned == b.pinned && a.text == b.text;
}

size_t hashOf(const TreeNode& node) {
    return std::hash<std::u16string>{}(node.text) ^ static_cast<size_t>(node.image) ^
           (size_t{node.pinned} << 8);
}

// How many of each wanted node are still to come, in one flat open-addressed
// table: a build may compare ten thousand rows on every keystroke, and a
// node-per-entry hash map spends most of that time allocating.
class WantedCounts {
  public:
    WantedCounts(const TreeNodes& wanted, size_t first, size_t last) : wanted_(wanted) {
        size_t size = 16;
        while (size < 2 * (last - first))
            size *= 2;
        slots_.assign(size, kEmpty);
        countOf_.assign(wanted.size(), 0);
        for (size_t w = first; w < last; ++w)
            ++countOf_[slotFor(wanted[w], w)];
    }

    bool stillWanted(const TreeNode& node) const {
        const size_t found = find(node);
        return found != kEmpty && countOf_[found] > 0;
    }

    void consume(size_t w) { --countOf_[find(wanted_[w])]; }

  private:
    static constexpr size_t kEmpty = static_cast<size_t>(-1);

    // The wanted index that stands for this node (the first wanted one like
    // it), added when missing.
    size_t slotFor(const TreeNode& node, size_t w) {
        const size_t mask = slots_.size() - 1;
        for (size_t slot = hashOf(node) & mask;; slot = (slot + 1) & mask) {
            if (slots_[slot] == kEmpty)
                return slots_[slot] = w;
            if (sameNode(wanted_[slots_[slot]], node))
                return slots_[slot];
        }
    }

    size_t find(const TreeNode& node) const {
        const size_t mask = slots_.size() - 1;
        for (size_t slot = hashOf(node) & mask;; slot = (slot + 1) & mask) {
            if (slots_[slot] == kEmpty || sameNode(wanted_[slots_[slot]], node))
                return slots_[slot];
        }
    }

    const TreeNodes& wanted_;
    std::vector<size_t> slots_;   // wanted indices, or kEmpty
    std::vector<size_t> countOf_; // by standing wanted index
};

void keep(std::vector<TreeEdit>& edits, const TreeNodes& shown, size_t s, const TreeNodes& wanted,
          size_t w) {
    edits.push_back({TreeEdit::kKeep, s, planTreeUpdate(shown[s].children, wanted[w].children),
                     shown[s].row != wanted[w].row});
}

} // namespace

std::vector<TreeEdit> planTreeUpdate(const TreeNodes& shown, const TreeNodes& wanted) {
    std::vector<TreeEdit> edits;
    edits.reserve(std::max(shown.size(), wanted.size()));
    // The rows both lists begin and end with stay as they are.
    size_t prefix = 0;
    while (prefix < shown.size() && prefix < wanted.size() &&
           sameNode(shown[prefix], wanted[prefix]))
        ++prefix;
    size_t suffix = 0;
    while (suffix < shown.size() - prefix && suffix < wanted.size() - prefix &&
           sameNode(shown[shown.size() - 1 - suffix], wanted[wanted.size() - 1 - suffix]))
        ++suffix;
    for (size_t i = 0; i < prefix; ++i)
        keep(edits, shown, i, wanted, i);

    // Between them, one pass over both lists: a row on show that no wanted
    // node still to come matches goes; one that matches the next wanted node
    // stays; any other wanted node is inserted. Rows that change places are
    // inserted anew and their old rows removed later, which still gives
    // exactly the wanted order.
    const size_t shownEnd = shown.size() - suffix;
    const size_t wantedEnd = wanted.size() - suffix;
    WantedCounts toCome(wanted, prefix, wantedEnd);
    size_t next = prefix;
    for (size_t w = prefix; w < wantedEnd; ++w) {
        while (next < shownEnd && !toCome.stillWanted(shown[next]))
            edits.push_back({TreeEdit::kRemove, next++, {}});
        if (next < shownEnd && sameNode(shown[next], wanted[w]))
            keep(edits, shown, next++, wanted, w);
        else
            edits.push_back({TreeEdit::kInsert, w, {}});
        toCome.consume(w);
    }
    while (next < shownEnd)
        edits.push_back({TreeEdit::kRemove, next++, {}});

    for (size_t i = 0; i < suffix; ++i)
        keep(edits, shown, shownEnd + i, wanted, wantedEnd + i);
    return edits;
}

bool keepsEverything(const std::vector<TreeEdit>& edits) {
    return std::all_of(edits.begin(), edits.end(), [](const TreeEdit& edit) {
        return edit.kind == TreeEdit::kKeep && !edit.newRow && keepsEverything(edit.children);
    });
}

namespace {

struct EditCounts {
    size_t changed = 0; // removed or inserted
    size_t wanted = 0;  // kept or inserted
};

void countEdits(const std::vector<TreeEdit>& edits, EditCounts& counts) {
    for (const auto& edit : edits) {
        counts.changed += edit.kind != TreeEdit::kKeep;
        counts.wanted += edit.kind != TreeEdit::kRemove;
        countEdits(edit.children, counts);
    }
}

} // namespace

bool refillIsCheaper(const std::vector<TreeEdit>& edits) {
    EditCounts counts;
    countEdits(edits, counts);
    return counts.changed * 5 > counts.wanted * 2;
}

} // namespace morvane
