#pragma once
// Reading and writing the program's text files: the byte-order mark decides
// the encoding, otherwise the ANSI code page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class AnsiCodePage;

enum class TextEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct DecodedText {
    std::u16string text;
    TextEncoding encoding = TextEncoding::Ansi;
};

// The code page unmarked bytes are read in: the ANSI code page, except where
// that is UTF-8 (65001) and the bytes are not valid UTF-8: such files come
// from systems with code page 932, so they are read in 932.
const AnsiCodePage& unmarkedCodePage(std::string_view bytes, const AnsiCodePage& ansi);

// EF BB BF, FF FE, FE FF are tested in that order; the mark is not text.
// Unmarked bytes are read in unmarkedCodePage. The text ends at the first NUL.
DecodedText decodeText(std::string_view bytes, const AnsiCodePage& ansi);

// As decodeText, but an unmarked file must be valid UTF-8 and a UTF-8-marked
// one too; nullopt otherwise.
std::optional<DecodedText> decodeTextStrictUtf8(std::string_view bytes);

// Splits at CR LF, lone CR and lone LF; a final break adds no empty line.
std::vector<std::u16string> splitLines(std::u16string_view text);

// CR LF after every line, the last included, in the given encoding with its
// mark first (none for ANSI).
std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding,
                        const AnsiCodePage& ansi);

} // namespace morvane
