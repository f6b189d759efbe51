// A target list file of arbitrary bytes, then the dialog's handlers in an
// order the input decides. After every step: the view mirrors the list, the
// selection is a line or -1, the list is sorted while nothing was changed in
// place since it was loaded, and the saved file reads back as the same lines
// with the same encoding mark.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "cad_targets/target_dialog_model.h"
#include "fuzz/fuzz_support.h"
#include "text/text_file.h"
#include "text/user_error.h"

using namespace morvane;
using fuzz::require;

namespace {

constexpr std::u16string_view kListPath = u"/morvane/TargetCAD_APIVersion.txt";

// The dialog's controls, kept as the handlers report them.
class MirrorView final : public TargetDialogView {
  public:
    std::u16string name, progId;
    std::vector<std::u16string> lines;

    std::u16string nameText() const override { return name; }
    std::u16string progIdText() const override { return progId; }
    void setNameText(std::u16string_view text) override { name = text; }
    void setProgIdText(std::u16string_view text) override { progId = text; }
    void listCleared() override { lines.clear(); }
    void lineInserted(int index, std::u16string_view line) override {
        require(index >= 0 && index <= static_cast<int>(lines.size()));
        lines.insert(lines.begin() + index, std::u16string(line));
    }
    void lineRemoved(int index) override {
        require(index >= 0 && index < static_cast<int>(lines.size()));
        lines.erase(lines.begin() + index);
    }
    void selectionSet(int) override {}
};

// An edit's text: what a one-line edit can hold.
std::u16string editText(fuzz::InputReader& input) {
    std::u16string text = input.text();
    std::erase_if(text, [](char16_t c) { return c == u'\0' || c == u'\r' || c == u'\n'; });
    return text;
}

bool sorted(const std::vector<std::u16string>& lines, const TextCollator& collator) {
    for (size_t i = 1; i < lines.size(); ++i)
        if (collator.compareIgnoreCase(lines[i - 1], lines[i]) > 0)
            return false;
    return true;
}

void checkSavedFile(const TargetDialogModel& model, const fuzz::MemoryFileSystem& files,
                    const AnsiCodePage& ansi) {
    const auto found = files.files.find(kListPath);
    if (found == files.files.end())
        return;
    const std::string& bytes = found->second;
    const TextEncoding encoding = model.file().encoding(ansi);
    std::vector<std::u16string> expected = model.list().lines();
    if (encoding == TextEncoding::Ansi || encoding == TextEncoding::Cp932) {
        // Characters the code page lacks are written as its default one; and
        // ANSI bytes that happen to begin like a byte-order mark read back as
        // that encoding, on Windows too.
        const AnsiCodePage& page = encoding == TextEncoding::Cp932 ? ansi.cp932() : ansi;
        for (auto& line : expected)
            line = page.decode(page.encode(line));
        if (bytes.starts_with("\xEF\xBB\xBF") || bytes.starts_with("\xFF\xFE") ||
            bytes.starts_with("\xFE\xFF"))
            return;
    }
    const auto decoded = decodeText(bytes, ansi);
    require(decoded.encoding == encoding);
    require(splitLines(decoded.text) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& memory = fuzz::memoryServices();
    const auto& collator = memory.services.collator;
    fuzz::InputReader input(data, size);
    memory.files.files.clear();
    // Short files and runs of steps: every rule shows on a few lines, and
    // each step checks the whole list.
    const size_t fileSize = input.byte();
    if (input.byte() & 1)
        memory.files.files[std::u16string(kListPath)] = std::string(input.bytes(fileSize));

    MirrorView view;
    TargetDialogModel model(std::u16string(kListPath), memory.services, view);
    bool inLoadedOrder = true; // no line changed in place since the last load
    for (int step = 0; step < 16 && !input.empty(); ++step) {
        const uint8_t op = input.byte();
        bool saved = false;
        const int index = static_cast<int8_t>(input.byte()) % 8;
        try {
            switch (op % 6) {
            case 0: {
                const bool reloads = memory.files.fileExists(kListPath);
                model.load(input.text());
                inLoadedOrder = inLoadedOrder || reloads;
                break;
            }
            case 1: {
                view.name = editText(input);
                view.progId = editText(input);
                const std::u16string line = view.name + u'\t' + view.progId;
                model.addTarget();
                const int selected = model.list().selected();
                require(selected >= 0 &&
                        collator.compareIgnoreCase(model.list().at(selected), line) == 0);
                saved = true;
                break;
            }
            case 2:
                model.deleteTarget();
                saved = true;
                break;
            case 3:
                view.name = editText(input);
                view.progId = editText(input);
                inLoadedOrder = false;
                model.changeTarget();
                saved = true;
                break;
            default:
                model.userSelected(index);
                break;
            }
        } catch (const UserError&) {
            // The list index error of a handler run with nothing selected.
        }
        const auto& list = model.list();
        require(view.lines == list.lines());
        require(list.selected() >= -1 && list.selected() < list.count());
        if (inLoadedOrder)
            require(sorted(list.lines(), collator));
        if (saved)
            checkSavedFile(model, memory.files, memory.services.ansi);
    }
    return 0;
}
