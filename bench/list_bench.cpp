// Command list: loading, ordering and the search view at 10,000 rows.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "bench/previous_exchange_sort.h"
#include "list/list_file.h"
#include "list/row_order.h"
#include "list/tree_model.h"
#include "services/services.h"
#include "text/utf.h"

using namespace morvane;

namespace {

constexpr int kRows = 10000;

// A list of groups of twenty commands with Japanese descriptions; commands
// repeat heavily, as in lists generated from many LISP files.
std::u16string sampleListText(int rows, int distinctCommands) {
    std::mt19937 random(7);
    std::u16string text;
    for (int k = 0; k < rows; ++k) {
        if (k % 20 == 0) {
            text += u"グループ" + utf8ToUtf16(std::to_string(k / 20)) + u"\r\n";
            continue;
        }
        const auto command = utf8ToUtf16("CMD" + std::to_string(random() % distinctCommands));
        text += command + u"\t" + command + u" を実行します（説明）\r\n";
    }
    return text;
}

ListRows sampleRecords(int distinctCommands) {
    return parseListLines([&] {
        std::vector<std::u16string> lines;
        std::u16string text = sampleListText(kRows, distinctCommands);
        size_t start = 0;
        for (size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
            lines.push_back(text.substr(start, end - start));
        return lines;
    }());
}

void LoadListFile(benchmark::State& state) {
    const auto& services = platformServices();
    const auto path = std::filesystem::temp_directory_path() / "morvane-bench-list.txt";
    {
        std::ofstream out(path, std::ios::binary);
        out << services.ansi.encode(sampleListText(kRows, 3000));
    }
    const std::u16string file = path.u16string();
    for (auto _ : state) {
        ListRows records;
        loadMorvaneList(file, services, records);
        benchmark::DoNotOptimize(records.data());
    }
    std::filesystem::remove(path);
}
BENCHMARK(LoadListFile)->Unit(benchmark::kMillisecond);

void FirstSortByCommand(benchmark::State& state) {
    const auto fileOrder = sampleRecords(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        auto records = fileOrder;
        state.ResumeTiming();
        sortRows(records, true);
        benchmark::DoNotOptimize(records.data());
    }
}
BENCHMARK(FirstSortByCommand)->Arg(50)->Arg(3000)->Unit(benchmark::kMillisecond);

// The ranks of a 10,000-row list's commands in file order: few distinct
// commands repeated many times, some repeated a few times, or nearly all
// distinct with a few shared, as in a list made from LISP files with a LOAD
// row each.
std::vector<uint32_t> commandRanks(int distinctCommands) {
    const auto rows = sampleRecords(distinctCommands);
    std::vector<std::u16string> commands;
    for (const auto& row : rows)
        commands.push_back(row.command);
    auto sorted = commands;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<uint32_t> ranks;
    for (const auto& command : commands)
        ranks.push_back(static_cast<uint32_t>(
            std::lower_bound(sorted.begin(), sorted.end(), command) - sorted.begin()));
    return ranks;
}

// The tie order of the command order, the current permutation against the
// previous one in each round, their order turned round every round. Reports
// the medians and the median of the ratios (current / previous).
void ExchangeSortSideBySide(benchmark::State& state) {
    const auto ranks = commandRanks(static_cast<int>(state.range(0)));
    std::vector<double> previous, current, ratios;
    int round = 0;
    for (auto _ : state) {
        double times[2];
        for (int k = 0; k < 2; ++k) {
            const int which = round % 2 ? 1 - k : k;
            const auto start = std::chrono::steady_clock::now();
            const auto permutation = which ? exchangeSortPermutation(ranks)
                                           : bench::previousExchangeSortPermutation(ranks);
            benchmark::DoNotOptimize(permutation.data());
            times[which] =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
        }
        previous.push_back(times[0]);
        current.push_back(times[1]);
        ratios.push_back(times[1] / times[0]);
        ++round;
    }
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        return values[values.size() / 2];
    };
    state.counters["previous_ms"] = median(previous);
    state.counters["current_ms"] = median(current);
    state.counters["ratio"] = median(ratios);
}
BENCHMARK(ExchangeSortSideBySide)
    ->Arg(50)
    ->Arg(3000)
    ->Arg(9000)
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond);

void SearchViewInCommandOrder(benchmark::State& state) {
    auto records = sampleRecords(3000);
    sortRows(records, true);
    for (auto _ : state) {
        auto nodes = reorderIntoSearchView(records, u"cmd1");
        benchmark::DoNotOptimize(nodes->data());
    }
}
BENCHMARK(SearchViewInCommandOrder)->Unit(benchmark::kMillisecond);

void RowThenSearchWithCache(benchmark::State& state) {
    auto records = sampleRecords(3000);
    RowOrderCache cache;
    for (auto _ : state) {
        benchmark::DoNotOptimize(reorderIntoRowView(records, &cache));
        benchmark::DoNotOptimize(reorderIntoSearchView(records, u"cmd1", &cache));
    }
}
BENCHMARK(RowThenSearchWithCache)->Unit(benchmark::kMillisecond);

} // namespace
