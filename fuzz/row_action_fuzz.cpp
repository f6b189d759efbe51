// Arbitrary records and program folders through the row decision. The kind
// follows from the extension alone; a load expression undoubles to the
// resolved path; a folder in "Morvane\" form is replaced by the program's.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "cad/row_action.h"
#include "fuzz/fuzz_support.h"

using namespace morvane;
using fuzz::require;

namespace {

char16_t upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

bool containsMorvaneFolder(std::u16string_view exe) {
    constexpr std::u16string_view name = u"MORVANE\\";
    for (size_t i = 0; i + name.size() <= exe.size(); ++i) {
        size_t k = 0;
        while (k < name.size() && upper(exe[i + k]) == name[k])
            ++k;
        if (k == name.size())
            return true;
    }
    return false;
}

// The inverse of the load expression: the path, or nothing when the text is
// not one (a lone backslash, a missing frame).
std::optional<std::u16string> pathOfLoad(std::u16string_view text) {
    constexpr std::u16string_view head = u"(load \"", tail = u"\")(princ)";
    if (!text.starts_with(head) || !text.ends_with(tail) || text.size() < head.size() + tail.size())
        return std::nullopt;
    const auto doubled = text.substr(head.size(), text.size() - head.size() - tail.size());
    std::u16string path;
    for (size_t i = 0; i < doubled.size(); ++i) {
        path.push_back(doubled[i]);
        if (doubled[i] == u'\\' && (++i == doubled.size() || doubled[i] != u'\\'))
            return std::nullopt;
    }
    return path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader input(data, size);
    const uint8_t flags = input.byte();
    ListRow record;
    record.row = 0;
    record.command = input.text();
    record.description = input.text();
    record.file = input.text();
    record.parameters = input.text();
    const std::u16string folder = input.text();
    std::u16string checked;
    const RowAction action = decideRowAction(record, folder, [&](std::u16string_view path) {
        checked = path;
        return (flags & 1) != 0;
    });

    const std::u16string resolved = resolveRowFile(record.file, folder);
    if (containsMorvaneFolder(record.file)) {
        const size_t cut = record.file.find_last_of(u"\\:");
        require(resolved == folder + record.file.substr(cut + 1));
    } else {
        require(resolved == record.file);
    }

    const std::u16string extension = rowFileExtension(record.file);
    require(extension.empty() ||
            (extension[0] == u'.' && extension.find_first_of(u"\\:") == std::u16string::npos));
    for (char16_t c : extension)
        require(upper(c) == c);

    if (extension == u".LSP") {
        require(checked == resolved);
        if (!(flags & 1)) {
            require(action.kind == RowAction::Kind::ShowNotFound && action.path == resolved);
        } else if (record.description.empty()) {
            require(action.kind == RowAction::Kind::None);
        } else {
            require(action.kind == RowAction::Kind::SendCommand);
            require(pathOfLoad(action.commandText) == resolved);
        }
    } else if (extension == u".EXE") {
        require(action.kind == RowAction::Kind::StartProgram && action.path == resolved &&
                action.parameters == record.parameters);
    } else if (!record.command.empty() && !record.description.empty()) {
        require(action.kind == RowAction::Kind::SendCommand &&
                action.commandText == record.command);
    } else {
        require(action.kind == RowAction::Kind::None);
    }
    return 0;
}
