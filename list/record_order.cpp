#include "list/record_order.h"

#include <algorithm>
#include <numeric>

namespace morvane {
namespace {

template <class Less> bool isOrdered(const LspRecordArray& records, Less less) {
    for (size_t k = 1; k < records.size(); ++k)
        if (less(records[k], records[k - 1]))
            return false;
    return true;
}

bool rowLess(const TLspRecord& a, const TLspRecord& b) { return a.row < b.row; }
bool cmdLess(const TLspRecord& a, const TLspRecord& b) { return a.cmd < b.cmd; }

// Dense ranks of the keys: equal keys share a rank, order kept.
template <class Less> std::vector<uint32_t> rankBy(const LspRecordArray& records, Less less) {
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

void applyPermutation(LspRecordArray& records, const std::vector<uint32_t>& permutation) {
    LspRecordArray ordered;
    ordered.reserve(records.size());
    for (uint32_t from : permutation)
        ordered.push_back(std::move(records[from]));
    records = std::move(ordered);
}

} // namespace

std::vector<uint32_t> exchangeSortPermutation(const std::vector<uint32_t>& ranks) {
    const size_t n = ranks.size();
    std::vector<uint32_t> key(ranks);
    std::vector<uint32_t> id(n);
    std::iota(id.begin(), id.end(), 0u);
    if (n < 2)
        return id;
    // Pass i leaves the suffix minimum at i. Once key[i] holds it no later
    // exchange of that pass can happen, so the pass stops there; the count of
    // each rank in the suffix tells which rank the minimum is.
    const uint32_t maxRank = *std::max_element(key.begin(), key.end());
    std::vector<uint32_t> remaining(size_t{maxRank} + 1, 0);
    for (uint32_t r : key)
        ++remaining[r];
    uint32_t minimum = 0;
    while (remaining[minimum] == 0)
        ++minimum;
    for (size_t i = 0; i + 1 < n; ++i) {
        uint32_t current = key[i];
        if (current != minimum) {
            for (size_t j = i + 1; j < n; ++j) {
                if (key[j] < current) {
                    std::swap(key[i], key[j]);
                    std::swap(id[i], id[j]);
                    current = key[i];
                    if (current == minimum)
                        break;
                }
            }
        }
        if (--remaining[current] == 0) {
            while (minimum < maxRank && remaining[minimum] == 0)
                ++minimum;
        }
    }
    return id;
}

bool RecordOrderCache::matches(const LspRecordArray& records) const {
    if (records.size() != rows_.size())
        return false;
    for (size_t k = 0; k < records.size(); ++k)
        if (records[k].row != rows_[k] || records[k].cmd != cmds_[k])
            return false;
    return true;
}

void RecordOrderCache::store(const LspRecordArray& records, std::vector<uint32_t> permutation) {
    rows_.clear();
    cmds_.clear();
    rows_.reserve(records.size());
    cmds_.reserve(records.size());
    for (const auto& r : records) {
        rows_.push_back(r.row);
        cmds_.push_back(r.cmd);
    }
    permutation_ = std::move(permutation);
}

void sortLspRecords(LspRecordArray& records, bool byCmd, RecordOrderCache* cache) {
    if (records.size() <= 1)
        return;
    if (!byCmd) {
        // An exchange sort never moves an ordered array, and with distinct
        // rows (always so after a load) any correct sort gives its result.
        if (isOrdered(records, rowLess))
            return;
        auto ranks = rankBy(records, rowLess);
        const bool distinct = *std::max_element(ranks.begin(), ranks.end()) + 1 == ranks.size();
        if (distinct) {
            std::vector<uint32_t> permutation(ranks.size());
            for (uint32_t k = 0; k < ranks.size(); ++k)
                permutation[ranks[k]] = k;
            applyPermutation(records, permutation);
        } else {
            applyPermutation(records, exchangeSortPermutation(ranks));
        }
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
