#include "list/row_order.h"

#include <algorithm>
#include <numeric>

namespace morvane {
namespace {

template <class Less> bool isOrdered(const ListRows& records, Less less) {
    for (size_t k = 1; k < records.size(); ++k)
        if (less(records[k], records[k - 1]))
            return false;
    return true;
}

bool rowLess(const ListRow& a, const ListRow& b) {
    return a.row < b.row;
}
bool cmdLess(const ListRow& a, const ListRow& b) {
    return a.command < b.command;
}

// Dense ranks of the keys: equal keys share a rank, order kept.
template <class Less> std::vector<uint32_t> rankBy(const ListRows& records, Less less) {
    std::vector<uint32_t> order(records.size());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](uint32_t a, uint32_t b) { return less(records[a], records[b]); });
    std::vector<uint32_t> ranks(records.size());
    uint32_t rank = 0;
    for (size_t k = 0; k < order.size(); ++k) {
        if (k > 0 && less(records[order[k - 1]], records[order[k]]))
            ++rank;
        ranks[order[k]] = rank;
    }
    return ranks;
}

void applyPermutation(ListRows& records, const std::vector<uint32_t>& permutation) {
    ListRows ordered;
    ordered.reserve(records.size());
    for (uint32_t from : permutation)
        ordered.push_back(std::move(records[from]));
    records = std::move(ordered);
}

} // namespace

std::vector<uint32_t> exchangeSortPermutation(const std::vector<uint32_t>& ranks) {
    const size_t n = ranks.size();
    if (n > 0 && *std::max_element(ranks.begin(), ranks.end()) + 1 == n) {
        // Distinct keys: no tie to order, any correct sort gives the result.
        std::vector<uint32_t> permutation(n);
        for (uint32_t k = 0; k < n; ++k)
            permutation[ranks[k]] = k;
        return permutation;
    }
    // Each element is its rank in the high half and its original index in the
    // low half, so one exchange moves both; only the rank is compared.
    std::vector<uint64_t> item(n);
    for (size_t k = 0; k < n; ++k)
        item[k] = (uint64_t{ranks[k]} << 32) | k;
    // Pass i exchanges item i with every later one of lower rank: it carries
    // the running minimum along the suffix. Once item i holds the suffix's
    // lowest rank no later exchange of that pass can happen, so the pass stops
    // at the next block boundary; the count of each rank left in the suffix
    // tells which rank that is. The inner loop is branch-free because
    // exchanges are frequent and unpredictable.
    constexpr size_t kBlock = 64;
    const uint32_t maxRank = n ? *std::max_element(ranks.begin(), ranks.end()) : 0;
    std::vector<uint32_t> remaining(size_t{maxRank} + 1, 0);
    for (uint32_t r : ranks)
        ++remaining[r];
    uint32_t minimum = 0;
    while (n && remaining[minimum] == 0)
        ++minimum;
    for (size_t i = 0; i + 1 < n; ++i) {
        uint64_t carried = item[i];
        for (size_t j = i + 1; j < n && (carried >> 32) != minimum;) {
            const size_t blockEnd = std::min(n, j + kBlock);
            for (; j < blockEnd; ++j) {
                const uint64_t x = item[j];
                const bool lower = (x >> 32) < (carried >> 32);
                item[j] = lower ? carried : x;
                carried = lower ? x : carried;
            }
        }
        item[i] = carried;
        const auto rank = static_cast<uint32_t>(carried >> 32);
        if (--remaining[rank] == 0) {
            while (minimum < maxRank && remaining[minimum] == 0)
                ++minimum;
        }
    }
    std::vector<uint32_t> permutation(n);
    for (size_t k = 0; k < n; ++k)
        permutation[k] = static_cast<uint32_t>(item[k]);
    return permutation;
}

bool RowOrderCache::matches(const ListRows& records) const {
    if (records.size() != rows_.size())
        return false;
    for (size_t k = 0; k < records.size(); ++k)
        if (records[k].row != rows_[k] || records[k].command != commands_[k])
            return false;
    return true;
}

void RowOrderCache::store(const ListRows& records, std::vector<uint32_t> permutation) {
    rows_.clear();
    commands_.clear();
    rows_.reserve(records.size());
    commands_.reserve(records.size());
    for (const auto& r : records) {
        rows_.push_back(r.row);
        commands_.push_back(r.command);
    }
    permutation_ = std::move(permutation);
}

void sortRows(ListRows& records, bool byCommand, RowOrderCache* cache) {
    if (records.size() <= 1)
        return;
    if (!byCommand) {
        // An exchange sort never moves an ordered array, and with distinct
        // rows (always so after a load) any correct sort gives its result.
        if (isOrdered(records, rowLess))
            return;
        applyPermutation(records, exchangeSortPermutation(rankBy(records, rowLess)));
        return;
    }
    if (isOrdered(records, cmdLess))
        return;
    if (cache && cache->matches(records)) {
        applyPermutation(records, cache->permutation());
        return;
    }
    auto permutation = exchangeSortPermutation(rankBy(records, cmdLess));
    if (cache)
        cache->store(records, permutation);
    applyPermutation(records, permutation);
}

} // namespace morvane
