#pragma once
// The exchange sort's permutation as it was before record lows were found
// stretch by stretch: every pass exchanged item by item to the end of its
// block. Kept only to time the current one against it, side by side in one
// run.
#include <algorithm>
#include <cstdint>
#include <vector>

namespace morvane::bench {

inline std::vector<uint32_t> previousExchangeSortPermutation(const std::vector<uint32_t>& ranks) {
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

} // namespace morvane::bench
