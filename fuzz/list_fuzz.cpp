// Arbitrary bytes through the text decoder, the list-file reader and the views.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "list/list_file.h"
#include "list/tree_model.h"
#include "services/services.h"
#include "text/text_file.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const auto& ansi = platformServices().ansi;
    const auto decoded = decodeText(bytes, ansi);
    if (decoded.text.find(u'\0') != std::u16string::npos)
        std::abort();
    const auto lines = splitLines(decoded.text);

    // Writing and reading again gives back the same lines in the Unicode encodings.
    for (auto encoding : {TextEncoding::Utf8, TextEncoding::Utf16LE}) {
        bool hasSurrogate = false;
        for (const auto& line : lines)
            for (char16_t c : line)
                hasSurrogate |= c >= 0xD800 && c <= 0xDFFF;
        if (hasSurrogate && encoding == TextEncoding::Utf8)
            continue; // unpaired surrogates cannot be written as UTF-8
        if (splitLines(decodeText(encodeLines(lines, encoding, ansi), ansi).text) != lines)
            std::abort();
    }

    auto records = parseListLines(lines);
    for (size_t k = 1; k < records.size(); ++k)
        if (records[k].row <= records[k - 1].row)
            std::abort();
    for (const auto& record : records)
        if (!record.file.empty() && record.description.empty())
            std::abort();
    reorderIntoSearchView(records, u"A");
    const auto rowView = reorderIntoRowView(records);
    if (!records.empty() && !rowView)
        std::abort();
    (void)decodeTextStrictUtf8(bytes);
    return 0;
}
