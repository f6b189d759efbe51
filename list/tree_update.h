#pragma once
// Few tree changes that turn the nodes on show into the nodes wanted: typing into the search box
// mostly removes or restores a few rows, and a tree control pays for every row it is given again
// (its text is measured anew).
#include <cstddef>
#include <vector>

#include "list/tree_model.h"

namespace morvane {

struct TreeEdit {
    enum Kind { kKeep, kRemove, kInsert };
    Kind kind = kKeep;
    // kKeep, kRemove: the index among the nodes on show; kInsert: among the
    // nodes wanted.
    size_t index = 0;
    // kKeep only: the edits of the kept node's children.
    std::vector<TreeEdit> children;
    // kKeep only: the kept node stands for another row now (its data
    // changes, what it shows does not).
    bool newRow = false;
};

// Edits of one level, in the order of the rows: a kept or removed node is
// the next node on show, an inserted node goes after the last kept or
// inserted one. A node is kept when its text and image are the same, and it
// is a pinned row's node in the pin group on both sides or on neither; its
// data (the row) may differ, which newRow says.
std::vector<TreeEdit> planTreeUpdate(const TreeNodes& shown, const TreeNodes& wanted);

// True when the edits keep every node and every child as it is, data
// included.
bool keepsEverything(const std::vector<TreeEdit>& edits);

// True when refilling the tree is cheaper than carrying the edits out. A
// tree control measures every row it is given, but removing or inserting a
// row among others costs it a few times that (it renumbers the rows after
// it): editing pays only while the rows removed and inserted are fewer than
// about two fifths of the rows wanted.
bool refillIsCheaper(const std::vector<TreeEdit>& edits);

} // namespace morvane
