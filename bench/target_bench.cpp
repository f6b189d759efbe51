// Target list: opening the dialog on a long list (read, decode, sorted
// insertion, preselection) and adding a line to it (insert, find, save).
#include <benchmark/benchmark.h>

#include <string>

#include "cad_targets/target_dialog_model.h"
#include "services/services.h"
#include "text/utf.h"

using namespace morvane;

namespace {

constexpr int kLines = 2000;
const std::u16string kPath = u"C:\\MorvaneX\\TargetCAD_APIVersion.txt";

// Files in memory: the bench measures the list, not the disk.
class MemoryFiles final : public FileSystem {
  public:
    std::string bytes;
    bool fileExists(std::u16string_view) const override { return true; }
    bool readFile(std::u16string_view, std::string& out, std::u16string&) const override {
        out = bytes;
        return true;
    }
    bool writeFileAtomic(std::u16string_view, std::string_view in, std::u16string&) override {
        bytes.assign(in);
        return true;
    }
    std::u16string workingCopyPath(std::u16string_view path) override {
        return std::u16string(path) + u".new";
    }
    bool moveFile(std::u16string_view, std::u16string_view, std::u16string&) override {
        return false;
    }
    bool removeFile(std::u16string_view) override { return false; }
    std::optional<FileStamp> fileStamp(std::u16string_view) const override {
        return FileStamp{0, bytes.size()};
    }
    bool canReplaceFile(std::u16string_view) override { return true; }
};

class NoView final : public TargetDialogView {
  public:
    std::u16string nameText() const override { return u"新しい CAD"; }
    std::u16string progIdText() const override { return u"New.Cad.Application"; }
    void setNameText(std::u16string_view) override {}
    void setProgIdText(std::u16string_view) override {}
    void listCleared() override {}
    void lineInserted(int, std::u16string_view) override {}
    void lineRemoved(int) override {}
    void selectionSet(int) override {}
};

// Names in no particular order, the wanted ProgID at the end.
std::string sampleFile() {
    std::u16string text = u"\uFEFF";
    for (int k = 0; k < kLines; ++k) {
        const auto n = std::to_string((k * 7919) % kLines);
        text += utf8ToUtf16("Cad " + n + " 設定\tVendor" + n + ".Application." + n + "\r\n");
    }
    text += u"Wanted\tWanted.Application\r\n";
    return utf16ToUtf8(text);
}

struct Bench {
    MemoryFiles files;
    NoView view;
    PlatformServices services{platformServices().ansi, platformServices().collator, files,
                              platformServices().clock};
    TargetDialogModel model{kPath, services, view};
    Bench() { files.bytes = sampleFile(); }
};

void BM_OpenDialogOnLongList(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        bench.model.load(u"Wanted.Application");
        benchmark::DoNotOptimize(bench.model.list().selected());
    }
}
BENCHMARK(BM_OpenDialogOnLongList)->Unit(benchmark::kMillisecond);

void BM_AddToLongList(benchmark::State& state) {
    Bench bench;
    for (auto _ : state) {
        state.PauseTiming();
        bench.files.bytes = sampleFile();
        bench.model.load(u"none");
        state.ResumeTiming();
        bench.model.addTarget();
    }
}
BENCHMARK(BM_AddToLongList)->Unit(benchmark::kMillisecond);

} // namespace
