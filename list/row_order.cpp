#include "list/row_order.h"

#include <algorithm>
#include <cstdint>
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

namespace {

// The exchange sort of ranks, ties included, as the permutation it leaves.
// Pass i exchanges item i with every later one of lower rank: it carries the
// running minimum along the suffix, so the items it exchanges with are the
// suffix's strict record lows below the carried rank, and each of them moves
// one record low to the right. Once item i holds the suffix's lowest rank no
// later exchange of that pass can happen, so the pass stops after the
// stretch it is in; the count of each rank left in the suffix tells which
// rank that is. Both ways through a stretch are branch-free, as exchanges
// are unpredictable: where the last stretch held many record lows they are
// found first with a running minimum and then exchanged, which keeps the
// scan short; where it held few, exchanging as the scan goes costs less.
std::vector<uint32_t> exchangeSortWithTies(std::vector<uint32_t> rank) {
    const size_t n = rank.size();
    std::vector<uint32_t> index(n);
    std::iota(index.begin(), index.end(), 0u);
    const uint32_t maxRank = *std::max_element(rank.begin(), rank.end());
    std::vector<uint32_t> remaining(size_t{maxRank} + 1, 0);
    for (uint32_t r : rank)
        ++remaining[r];
    uint32_t minimum = 0;
    while (remaining[minimum] == 0)
        ++minimum;
    constexpr size_t kStretch = 64;
    uint32_t lows[kStretch];
    size_t lastLows = kStretch;
    for (size_t i = 0; i + 1 < n; ++i) {
        uint32_t carriedRank = rank[i], carriedIndex = index[i];
        for (size_t j = i + 1; j < n && carriedRank != minimum;) {
            const size_t end = std::min(n, j + kStretch);
            size_t count = 0;
            if (lastLows < 2) {
                for (size_t k = j; k < end; ++k) {
                    const uint32_t x = rank[k], xIndex = index[k];
                    const bool lower = x < carriedRank;
                    count += lower;
                    rank[k] = lower ? carriedRank : x;
                    index[k] = lower ? carriedIndex : xIndex;
                    carriedRank = lower ? x : carriedRank;
                    carriedIndex = lower ? xIndex : carriedIndex;
                }
            } else {
                uint32_t lowest = carriedRank;
                for (size_t k = j; k < end; ++k) {
                    const uint32_t x = rank[k];
                    lows[count] = static_cast<uint32_t>(k);
                    count += x < lowest;
                    lowest = x < lowest ? x : lowest;
                }
                for (size_t q = 0; q < count; ++q) {
                    std::swap(rank[lows[q]], carriedRank);
                    std::swap(index[lows[q]], carriedIndex);
                }
            }
            lastLows = count;
            j = end;
        }
        rank[i] = carriedRank;
        index[i] = carriedIndex;
        if (--remaining[carriedRank] == 0) {
            while (minimum < maxRank && remaining[minimum] == 0)
                ++minimum;
        }
    }
    return index;
}

} // namespace

std::vector<uint32_t> exchangeSortPermutation(const std::vector<uint32_t>& ranks) {
    const size_t n = ranks.size();
    if (n == 0)
        return {};
    // The highest rank that two items share. An item of a higher rank never
    // takes part in an exchange that decides the order of items of that
    // rank or lower (those exchanges are among items of lower ranks), and
    // all such items end after them in rank order; with no rank shared at
    // all, any correct sort gives the result.
    std::vector<uint32_t> count(*std::max_element(ranks.begin(), ranks.end()) + size_t{1}, 0);
    for (uint32_t r : ranks)
        ++count[r];
    size_t highestShared = count.size();
    for (size_t r = count.size(); r-- > 0;)
        if (count[r] > 1) {
            highestShared = r;
            break;
        }
    std::vector<uint32_t> permutation;
    permutation.reserve(n);
    if (highestShared < count.size()) {
        std::vector<uint32_t> tiedPart, original;
        for (uint32_t k = 0; k < n; ++k)
            if (ranks[k] <= highestShared) {
                tiedPart.push_back(ranks[k]);
                original.push_back(k);
            }
        for (uint32_t k : exchangeSortWithTies(std::move(tiedPart)))
            permutation.push_back(original[k]);
    }
    // The rest, one item a rank, in rank order.
    std::vector<uint32_t> itemOfRank(count.size(), 0);
    for (uint32_t k = 0; k < n; ++k)
        if (highestShared == count.size() || ranks[k] > highestShared)
            itemOfRank[ranks[k]] = k;
    for (size_t r = highestShared == count.size() ? 0 : highestShared + 1; r < count.size(); ++r)
        if (count[r])
            permutation.push_back(itemOfRank[r]);
    return permutation;
}

// The exchange sort looks at the commands alone, so its permutation holds
// for any rows with the same commands in the same order: also for the list
// read again after an edit that moved lines or changed only descriptions.
bool RowOrderCache::matches(const ListRows& records) const {
    if (records.size() != commands_.size())
        return false;
    for (size_t k = 0; k < records.size(); ++k)
        if (records[k].command != commands_[k])
            return false;
    return true;
}

void RowOrderCache::store(const ListRows& records, std::vector<uint32_t> permutation) {
    commands_.clear();
    commands_.reserve(records.size());
    for (const auto& r : records)
        commands_.push_back(r.command);
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
