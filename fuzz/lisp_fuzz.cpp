// Arbitrary bytes through the whole indexer: decode as a dropped file is
// decoded, clean, locate and index. Only crashes, hangs and sanitizer reports
// count; a UserError for malformed input is an ordinary outcome.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "lisp/comment_block.h"
#include "lisp/defun_locator.h"
#include "lisp/lsp_cleaner.h"
#include "lisp/lsp_index.h"
#include "services/services.h"
#include "text/text_file.h"
#include "text/user_error.h"

using namespace morvane;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto& services = platformServices();
    auto decoded = decodeTextStrictUtf8(bytes);
    const auto text = decoded ? std::move(decoded->text) : decodeText(bytes, services.ansi).text;
    const auto lines = splitLines(text);

    LspLines cleaned, located;
    cleanLspLines(lines, cleaned);
    if (cleaned.size() != lines.size())
        std::abort();
    findDefuns(cleaned, located, true, services.collator);

    CommentBlocks blocks(lines);
    for (size_t s = 0; s <= lines.size() && s < 64; ++s)
        if (blocks.description(s) !=
            chooseDescription(getDefunComment(lines, static_cast<int32_t>(s))))
            std::abort();

    LspLines rows;
    try {
        makeLspIndex(lines, rows, services.collator);
    } catch (const UserError&) {
    }
    return 0;
}
