// A dropped LISP file of arbitrary bytes becomes a command list; the list
// written as the program writes it (ANSI, CR LF) and read back by the list
// reader must give exactly the rows built: the group, each command with its
// description, and the load row.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "lisp/dropped_list.h"
#include "list/list_file.h"
#include "text/text_file.h"
#include "text/user_error.h"

using namespace morvane;
using fuzz::require;

namespace {

constexpr std::u16string_view kProgramFolder = u"C:\\MorvaneX\\";
constexpr std::u16string_view kListPath = u"C:\\MorvaneX\\MorvaneList.txt";

std::vector<std::u16string> fieldsOf(std::u16string_view row) {
    std::vector<std::u16string> fields(1);
    for (char16_t c : row) {
        if (c == u'\t')
            fields.emplace_back();
        else
            fields.back().push_back(c);
    }
    return fields;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto& memory = fuzz::memoryServices();
    const auto& ansi = memory.services.ansi;
    fuzz::InputReader input(data, size);
    const uint8_t flags = input.byte();
    // The file lies in the program's folder or elsewhere.
    const std::u16string lspPath =
        (flags & 1 ? std::u16string(kProgramFolder) : std::u16string(u"D:\\lisp\\")) + u"tools.lsp";
    const std::string_view bytes = input.rest();
    auto strict = decodeTextStrictUtf8(bytes);
    const LspLines lines = splitLines(strict ? strict->text : decodeText(bytes, ansi).text);

    LspLines rows;
    try {
        rows = buildDroppedList(lspPath, kProgramFolder, lines, memory.services.collator);
    } catch (const UserError&) {
        return 0;
    }
    if (rows.empty())
        return 0;

    memory.files.files.clear();
    installListFile(kListPath, rows, memory.services);
    ListRows records;
    require(loadMorvaneList(kListPath, memory.services, records));
    size_t next = 0;
    for (size_t i = 0; i < rows.size(); ++i) {
        // What the code page can hold of the row, field by field.
        const auto fields = fieldsOf(ansi.decode(ansi.encode(rows[i])));
        // The list format cannot carry a command whose name begins like a
        // comment, nor a field that begins with a quote, nor an empty
        // description: those rows read back as something else, on Windows
        // too.
        const bool carried =
            !fields[0].starts_with(u'/') && !fields[0].starts_with(u';') &&
            std::none_of(fields.begin(), fields.end(),
                         [](const std::u16string& f) { return f.starts_with(u'"'); }) &&
            (i == 0 || !fields[1].empty());
        if (!carried) {
            while (next < records.size() && records[next].row == static_cast<int32_t>(i))
                ++next;
            continue;
        }
        require(next < records.size());
        const ListRow& record = records[next++];
        require(record.row == static_cast<int32_t>(i));
        if (i == 0) {
            require(fields.size() == 1 && record.command == fields[0] &&
                    record.description.empty());
        } else if (i + 1 == rows.size()) {
            require(fields.size() == 3 && record.command == u"LOAD" &&
                    record.description == fields[1] && record.file == fields[2]);
        } else {
            require(fields.size() == 2 && record.command == fields[0] &&
                    record.description == fields[1] && record.file.empty());
        }
    }
    require(next == records.size());
    return 0;
}
