#pragma once
// In-place ordering of the record array, with exactly the result of an
// exchange sort (for i < j: swap when key[i] > key[j]), ties included.
#include <cstdint>
#include <vector>

#include "list/list_row.h"

namespace morvane {

// Remembers the by-command permutation of the last unsorted array it ordered,
// by the array's commands, so switching back and forth between file order
// and command order, or reading the list again after an edit that kept its
// commands, costs a linear check and a move instead of a fresh sort.
class RowOrderCache {
  public:
    bool matches(const ListRows& records) const;
    void store(const ListRows& records, std::vector<uint32_t> permutation);
    const std::vector<uint32_t>& permutation() const { return permutation_; }

  private:
    std::vector<std::u16string> commands_;
    std::vector<uint32_t> permutation_;
};

// byCommand false: by row ascending; true: by command, ordinal UTF-16 code units.
void sortRows(ListRows& records, bool byCommand, RowOrderCache* cache = nullptr);

// The permutation an exchange sort leaves for these ranks: result[k] is the
// original index of the element that ends at position k. Exposed for tests.
std::vector<uint32_t> exchangeSortPermutation(const std::vector<uint32_t>& ranks);

} // namespace morvane
