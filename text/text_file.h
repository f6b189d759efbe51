#pragma once
// Reading and writing the program's text files: the byte-order mark decides
// the encoding, otherwise the ANSI code page.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class AnsiCodePage;

// How a file's text is held. A file is written back in the encoding it was
// read in.
enum class TextEncoding {
    // No mark; the system's ANSI code page.
    Ansi,
    // No mark; code page 932 on a system whose ANSI code page is UTF-8, for
    // the files made on our users' other PCs (see unmarkedEncoding).
    Cp932,
    Utf8,
    Utf16LE,
    Utf16BE,
};

struct DecodedText {
    std::u16string text;
    TextEncoding encoding = TextEncoding::Ansi;
};

// The encoding a byte-order mark at the start of the bytes names (EF BB BF,
// FF FE, FE FF, tested in that order); nullopt for no mark.
std::optional<TextEncoding> markedEncoding(std::string_view bytes);

// The encoding unmarked bytes are read in: the ANSI code page, except where
// that is UTF-8 (65001) and the bytes are not valid UTF-8: such files come
// from systems with code page 932, so they are read, and written back, in
// 932.
TextEncoding unmarkedEncoding(std::string_view bytes, const AnsiCodePage& ansi);

// The code page an unmarked encoding (Ansi or Cp932) is read and written in.
const AnsiCodePage& codePageOf(TextEncoding unmarked, const AnsiCodePage& ansi);

// The code page of unmarkedEncoding.
const AnsiCodePage& unmarkedCodePage(std::string_view bytes, const AnsiCodePage& ansi);

// The encoding a file is given when there is none to read: the ANSI code
// page without a mark, except where that is UTF-8: unmarked UTF-8 shows as
// garbage on the PCs whose code page is 932, so there the file is UTF-8 with
// its mark, which every PC reads.
TextEncoding newFileEncoding(const AnsiCodePage& ansi);

// The encoding the bytes are read in: the mark's, else unmarkedEncoding of
// the bytes before the first NUL.
TextEncoding encodingOf(std::string_view bytes, const AnsiCodePage& ansi);

// EF BB BF, FF FE, FE FF are tested in that order; the mark is not text.
// Unmarked bytes are read in unmarkedCodePage. The text ends at the first NUL.
// Throws ConversionError when the system refuses the conversion.
DecodedText decodeText(std::string_view bytes, const AnsiCodePage& ansi);

// As decodeText, but an unmarked file must be valid UTF-8 and a UTF-8-marked
// one too; nullopt otherwise.
std::optional<DecodedText> decodeTextStrictUtf8(std::string_view bytes);

// Splits at CR LF, lone CR and lone LF; a final break adds no empty line.
std::vector<std::u16string> splitLines(std::u16string_view text);

// CR LF after every line, the last included, in the given encoding with its
// mark first (none for Ansi and Cp932). Throws ConversionError when the
// system refuses the conversion.
std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding,
                        const AnsiCodePage& ansi);

} // namespace morvane
