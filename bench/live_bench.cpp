// A live reload of a 10,000-row command list, short of the redraw: the
// quiet read of the changed file, the nodes of the view on show and the
// place found again among the new rows. The target is that a change shows
// in the tree within a second of the write, of which reload and redraw
// take at most 100 ms; the redraw is the window's and measured there.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "list/list_file.h"
#include "list/row_order.h"
#include "list/view_place.h"
#include "services/services.h"
#include "text/text_file.h"
#include "text/utf.h"

using namespace morvane;

namespace {

constexpr int kRows = 10000;

// Groups of twenty commands with Japanese descriptions, some commands
// loading LISP files; commands repeat, as in lists made from many files.
// shift moves every line down by that many comment lines, as an edit near
// the top of the file does.
std::u16string listText(int shift, int renamed) {
    std::mt19937 random(7);
    std::u16string text;
    for (int k = 0; k < shift; ++k)
        text += u"; 追記した行\r\n";
    for (int k = 0; k < kRows; ++k) {
        if (k % 20 == 0) {
            text += u"グループ" + utf8ToUtf16(std::to_string(k / 20)) + u"\r\n";
            continue;
        }
        auto command = utf8ToUtf16("CMD" + std::to_string(random() % 3000));
        if (k == renamed)
            command += u"_NEW";
        text += command + u"\t" + command + u" を実行します（説明）";
        if (k % 7 == 0)
            text += u"\tMorvane\\tool" + utf8ToUtf16(std::to_string(k % 50)) + u".lsp";
        text += u"\r\n";
    }
    return text;
}

class ListFile {
  public:
    explicit ListFile(const std::u16string& text)
        : path_(std::filesystem::temp_directory_path() / "morvane-live-bench-list.txt") {
        std::ofstream out(path_, std::ios::binary);
        out << platformServices().ansi.encode(text);
    }
    ~ListFile() { std::filesystem::remove(path_); }
    std::u16string path() const { return path_.u16string(); }

  private:
    std::filesystem::path path_;
};

ListRows rowsOf(const std::u16string& text) {
    return parseListLines(splitLines(text));
}

// The place on show before the change: a row deep in the list selected,
// a row a little above it on top.
TreePlace placeIn(const TreeNodes& nodes) {
    std::vector<int32_t> keys;
    for (const auto& node : nodes) {
        keys.push_back(node.row);
        for (const auto& child : node.children)
            keys.push_back(child.row);
    }
    return {NodeOfRow{keys[keys.size() * 2 / 3]}, NodeOfRow{keys[keys.size() * 2 / 3 - 10]}};
}

void QuietLoad(benchmark::State& state) {
    const ListFile file(listText(3, -1));
    for (auto _ : state) {
        auto load = loadMorvaneListQuietly(file.path(), platformServices());
        benchmark::DoNotOptimize(load.rows.data());
    }
}
BENCHMARK(QuietLoad)->Unit(benchmark::kMillisecond);

void FindPlaceAgain(benchmark::State& state) {
    ListRows oldRows = rowsOf(listText(0, -1));
    const auto oldNodes = reorderIntoView(ListView::FileOrder, oldRows, u"");
    ListRows newRows = rowsOf(listText(3, kRows * 2 / 3));
    const auto newNodes = reorderIntoView(ListView::FileOrder, newRows, u"");
    const TreePlace place = placeIn(*oldNodes);
    for (auto _ : state)
        benchmark::DoNotOptimize(findPlaceAgain(place, oldRows, *oldNodes, newRows, *newNodes));
}
BENCHMARK(FindPlaceAgain)->Unit(benchmark::kMillisecond);

// The whole reload short of the redraw, for each view: read, build the
// view's nodes (the command order sorts afresh, as the rows are new) and
// find the place again.
void LiveReload(benchmark::State& state) {
    const auto view = static_cast<ListView>(state.range(0));
    const std::u16string searchText = view == ListView::SearchResults ? u"cmd1" : u"";
    const ListFile file(listText(3, kRows * 2 / 3));
    for (auto _ : state) {
        state.PauseTiming();
        ListRows oldRows = rowsOf(listText(0, -1));
        RowOrderCache cache;
        const auto oldNodes = reorderIntoView(view, oldRows, searchText, &cache);
        const TreePlace place = placeIn(*oldNodes);
        state.ResumeTiming();

        auto load = loadMorvaneListQuietly(file.path(), platformServices());
        const auto newNodes = reorderIntoView(view, load.rows, searchText, &cache);
        benchmark::DoNotOptimize(findPlaceAgain(place, oldRows, *oldNodes, load.rows, *newNodes));
    }
}
BENCHMARK(LiveReload)
    ->Arg(static_cast<int>(ListView::FileOrder))
    ->Arg(static_cast<int>(ListView::CommandOrder))
    ->Arg(static_cast<int>(ListView::SearchResults))
    ->Unit(benchmark::kMillisecond);

} // namespace
