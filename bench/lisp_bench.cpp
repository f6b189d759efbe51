// Indexer cost over the real corpus and over large synthetic files; all of
// it must grow linearly with the input.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "lisp/dropped_list.h"
#include "lisp/lsp_cleaner.h"
#include "lisp/lsp_index.h"
#include "services/services.h"
#include "text/letters.h"
#include "text/text_file.h"

namespace morvane {
namespace {

std::vector<std::u16string> corpusPaths() {
    std::vector<std::u16string> paths;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(MORVANE_CORPUS_DIR))
        if (entry.is_regular_file() && upperAscii(entry.path().extension().u16string()) == u".LSP")
            paths.push_back(entry.path().u16string());
    std::sort(paths.begin(), paths.end());
    return paths;
}

size_t corpusBytes(const std::vector<std::u16string>& paths) {
    size_t total = 0;
    for (const auto& path : paths)
        total += std::filesystem::file_size(std::filesystem::path(path));
    return total;
}

// Reading and indexing every corpus file, one after the other, as drops do.
void BM_CorpusFileByFile(benchmark::State& state) {
    const auto paths = corpusPaths();
    auto& services = platformServices();
    for (auto _ : state) {
        size_t rows = 0;
        for (const auto& path : paths) {
            LspLines result;
            makeLspIndex(readLspFile(path, services), result, services.collator);
            rows += result.size();
        }
        benchmark::DoNotOptimize(rows);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpusBytes(paths)));
}
BENCHMARK(BM_CorpusFileByFile)->Unit(benchmark::kMillisecond);

// The cleaner alone over the corpus lines, bytes counted as in the files.
void BM_CleanLspLines(benchmark::State& state) {
    const auto paths = corpusPaths();
    LspLines all;
    for (const auto& path : paths)
        for (auto& line : readLspFile(path, platformServices()))
            all.push_back(std::move(line));
    for (auto _ : state) {
        LspLines cleaned;
        cleanLspLines(all, cleaned);
        benchmark::DoNotOptimize(cleaned.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * corpusBytes(paths)));
}
BENCHMARK(BM_CleanLspLines)->Unit(benchmark::kMillisecond);

// 50,000 definitions in 20 MB; smaller counts keep the same density, so the
// times of the runs show whether cost grows linearly.
constexpr size_t kBytesPer50000 = 20u << 20;

std::string definitionText(int n) {
    const auto id = std::to_string(n);
    return ";; ------------------------------------------------------------\n"
           ";; Command " +
           id +
           ": draws a thing; \"quoted\" words (with parens)\n"
           "(defun c:cmd" +
           id +
           " (a b / c d)\n"
           "  (setq c (getpoint \"\\nPick point (" +
           id +
           "): \")) ; comment ( paren\n"
           "  (setq d (list a b \"str;with|chars\"))\n"
           "  ;| block\n"
           "     comment (defun fake () 1) |;\n"
           "  (command \"_.LINE\" c d \"\")\n";
}

// Definitions padded to 20 MB per 50,000; unbalanced puts one definition
// that never closes at the top.
std::string syntheticFile(int definitions, bool unbalanced) {
    const size_t perDefinition = kBytesPer50000 / 50000;
    std::string text;
    text.reserve(perDefinition * static_cast<size_t>(definitions) + 4096);
    if (unbalanced)
        text += "(defun c:broken (a / b)\n  (setq b (list a)\n";
    const std::string filler = "  (setq x (+ 1 2 3 4 5 6 7 8 9))\n";
    for (int n = 0; n < definitions; ++n) {
        text += definitionText(n);
        const size_t goal = perDefinition * static_cast<size_t>(n + 1);
        while (text.size() + filler.size() + 12 < goal)
            text += filler;
        text += "  (princ)\n)\n";
    }
    const char* dump = std::getenv("MORVANE_BENCH_DUMP_DIR");
    if (dump && definitions == 50000) {
        std::ofstream(std::filesystem::path(dump) /
                          (unbalanced ? "synthetic-unbalanced.lsp" : "synthetic.lsp"),
                      std::ios::binary)
            << text;
    }
    return text;
}

// From the file's bytes to the command rows, as a drop does after reading.
void indexSynthetic(benchmark::State& state, bool unbalanced) {
    const auto bytes = syntheticFile(static_cast<int>(state.range(0)), unbalanced);
    size_t rows = 0;
    for (auto _ : state) {
        const auto lines = splitLines(decodeTextStrictUtf8(bytes)->text);
        LspLines result;
        makeLspIndex(lines, result, platformServices().collator);
        rows = result.size();
    }
    state.counters["rows"] = static_cast<double>(rows);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}

void BM_SyntheticDefinitions(benchmark::State& state) {
    indexSynthetic(state, false);
}
void BM_SyntheticUnbalancedAtTop(benchmark::State& state) {
    indexSynthetic(state, true);
}
BENCHMARK(BM_SyntheticDefinitions)->Arg(12500)->Arg(50000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SyntheticUnbalancedAtTop)->Arg(12500)->Arg(50000)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace morvane
