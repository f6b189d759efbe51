// A search keystroke over 10,000 rows: the folding search view against the
// search view of before (previous_search_view.h), side by side in one run,
// with and without the search index; the index's cost per load; searches in
// kana and of several words.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <string>
#include <vector>

#include "bench/previous_search_view.h"
#include "list/search_index.h"
#include "list/tree_model.h"
#include "text/utf.h"

using namespace morvane;

namespace {

constexpr int kCommands = 10000;

// The rows of the window's keystroke benchmark (bench/form): groups of 50
// commands with Japanese descriptions.
ListRows sampleRows() {
    ListRows rows;
    int32_t key = 0;
    for (int i = 0; i < kCommands; ++i) {
        if (i % 50 == 0)
            rows.push_back(
                {key++, u"グループ" + utf8ToUtf16(std::to_string(i / 50)), u"", u"", u""});
        rows.push_back({key++, u"CMD" + utf8ToUtf16(std::to_string(i * 7919 % kCommands)),
                        u"図形の説明 " + utf8ToUtf16(std::to_string(i)), u"", u""});
    }
    return rows;
}

// Typing "CMD12" and deleting it again, as the window's benchmark does.
const std::vector<std::u16string> kKeystrokes{u"C",    u"CM",  u"CMD", u"CMD1", u"CMD12",
                                              u"CMD1", u"CMD", u"CM",  u"C",    u""};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double millisecondsOf(auto&& build) {
    const auto start = std::chrono::steady_clock::now();
    build();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

// Each iteration is a round: the ten keystrokes through each search view in
// turn, the order of the views turned round every round so that drift of
// the machine's speed hits them alike. Reported per keystroke: the medians
// over the rounds, and the median of the ratios within a round.
void SearchKeystrokeSideBySide(benchmark::State& state) {
    ListRows rows = sampleRows();
    const SearchIndex index(rows);
    RowOrderCache cache;
    sortRows(rows, true, &cache);
    enum { kPrevious, kUnindexed, kIndexed, kViews };
    auto typeKeys = [&](int view) {
        for (const auto& key : kKeystrokes) {
            std::optional<TreeNodes> nodes;
            switch (view) {
            case kPrevious:
                nodes = bench::previousSearchView(rows, key, &cache);
                break;
            case kUnindexed:
                nodes = reorderIntoSearchView(rows, key, &cache);
                break;
            default:
                nodes = reorderIntoSearchView(rows, key, &cache, &index);
                break;
            }
            benchmark::DoNotOptimize(nodes->data());
        }
    };
    std::vector<double> times[kViews];
    std::vector<double> unindexedRatios, indexedRatios;
    int round = 0;
    for (auto _ : state) {
        double roundTimes[kViews];
        for (int k = 0; k < kViews; ++k) {
            const int view = round % 2 ? kViews - 1 - k : k;
            roundTimes[view] = millisecondsOf([&] { typeKeys(view); }) / kKeystrokes.size();
            times[view].push_back(roundTimes[view]);
        }
        unindexedRatios.push_back(roundTimes[kUnindexed] / roundTimes[kPrevious]);
        indexedRatios.push_back(roundTimes[kIndexed] / roundTimes[kPrevious]);
        ++round;
    }
    state.counters["previous_ms"] = median(times[kPrevious]);
    state.counters["unindexed_ms"] = median(times[kUnindexed]);
    state.counters["indexed_ms"] = median(times[kIndexed]);
    state.counters["unindexed_ratio"] = median(unindexedRatios);
    state.counters["indexed_ratio"] = median(indexedRatios);
}
BENCHMARK(SearchKeystrokeSideBySide)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// Once per load of the list.
void SearchIndexBuild(benchmark::State& state) {
    const ListRows rows = sampleRows();
    SearchIndex index;
    for (auto _ : state) {
        index.rebuild(rows);
        benchmark::DoNotOptimize(&index);
    }
}
BENCHMARK(SearchIndexBuild)->Unit(benchmark::kMillisecond);

// Searches that reach beyond ASCII: hiragana over katakana and kanji,
// half-width kana, full-width letters, several words.
void SearchBeyondAscii(benchmark::State& state) {
    ListRows rows = sampleRows();
    const SearchIndex index(rows);
    RowOrderCache cache;
    const std::vector<std::u16string> searches{u"ぐるーぷ", u"ｸﾞﾙｰﾌﾟ", u"ｃｍｄ１", u"図形 cmd1 12",
                                               u"説明\u30001"};
    for (auto _ : state)
        for (const auto& search : searches)
            benchmark::DoNotOptimize(reorderIntoSearchView(rows, search, &cache, &index));
    state.counters["per_search_ms"] = benchmark::Counter(
        static_cast<double>(searches.size()) / 1000.0,
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(SearchBeyondAscii)->Unit(benchmark::kMillisecond);

} // namespace
