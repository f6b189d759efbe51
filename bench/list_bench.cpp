// Command list: loading, ordering and the search view at 10,000 rows.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

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
