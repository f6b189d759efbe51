#include "text/text_file.h"

#include "services/services.h"
#include "text/utf.h"

namespace morvane {
namespace {

bool startsWith(std::string_view bytes, std::string_view mark) {
    return bytes.size() >= mark.size() && bytes.substr(0, mark.size()) == mark;
}

const std::string_view kUtf8Mark = "\xEF\xBB\xBF";
const std::string_view kUtf16LEMark = "\xFF\xFE";
const std::string_view kUtf16BEMark = "\xFE\xFF";

void cutAtNul(std::u16string& text) {
    const auto nul = text.find(u'\0');
    if (nul != std::u16string::npos)
        text.resize(nul);
}

std::u16string decodeUtf16Body(std::string_view bytes, TextEncoding encoding) {
    return utf16FromBytes(bytes.substr(2), encoding == TextEncoding::Utf16BE);
}

bool ansiIsUtf8(const AnsiCodePage& ansi) {
    constexpr unsigned kUtf8CodePage = 65001;
    return ansi.number() == kUtf8CodePage;
}

} // namespace

std::optional<TextEncoding> markedEncoding(std::string_view bytes) {
    if (startsWith(bytes, kUtf8Mark))
        return TextEncoding::Utf8;
    if (startsWith(bytes, kUtf16LEMark))
        return TextEncoding::Utf16LE;
    if (startsWith(bytes, kUtf16BEMark))
        return TextEncoding::Utf16BE;
    return std::nullopt;
}

const AnsiCodePage& codePageOf(TextEncoding unmarked, const AnsiCodePage& ansi) {
    return unmarked == TextEncoding::Cp932 ? ansi.cp932() : ansi;
}

TextEncoding unmarkedEncoding(std::string_view bytes, const AnsiCodePage& ansi) {
    return ansiIsUtf8(ansi) && !ansi.isValid(bytes) ? TextEncoding::Cp932 : TextEncoding::Ansi;
}

const AnsiCodePage& unmarkedCodePage(std::string_view bytes, const AnsiCodePage& ansi) {
    return codePageOf(unmarkedEncoding(bytes, ansi), ansi);
}

TextEncoding newFileEncoding(const AnsiCodePage& ansi) {
    return ansiIsUtf8(ansi) ? TextEncoding::Utf8 : TextEncoding::Ansi;
}

TextEncoding encodingOf(std::string_view bytes, const AnsiCodePage& ansi) {
    if (const auto marked = markedEncoding(bytes))
        return *marked;
    return unmarkedEncoding(bytes.substr(0, bytes.find('\0')), ansi);
}

DecodedText decodeText(std::string_view bytes, const AnsiCodePage& ansi) {
    DecodedText result;
    const auto marked = markedEncoding(bytes);
    if (!marked) {
        // Only the part before a NUL byte matters; cutting first keeps the
        // converter away from binary tails.
        const auto body = bytes.substr(0, bytes.find('\0'));
        result.encoding = unmarkedEncoding(body, ansi);
        result.text = codePageOf(result.encoding, ansi).decode(body);
    } else if (*marked == TextEncoding::Utf8) {
        result.text = utf8ToUtf16(bytes.substr(kUtf8Mark.size()));
        result.encoding = *marked;
    } else {
        result.text = decodeUtf16Body(bytes, *marked);
        result.encoding = *marked;
    }
    cutAtNul(result.text);
    return result;
}

std::optional<DecodedText> decodeTextStrictUtf8(std::string_view bytes) {
    DecodedText result;
    const auto marked = markedEncoding(bytes);
    if (marked == TextEncoding::Utf16LE || marked == TextEncoding::Utf16BE) {
        result.text = decodeUtf16Body(bytes, *marked);
        result.encoding = *marked;
    } else {
        const auto body = marked ? bytes.substr(kUtf8Mark.size()) : bytes;
        auto text = utf8ToUtf16Strict(body);
        if (!text)
            return std::nullopt;
        result.text = std::move(*text);
        result.encoding = TextEncoding::Utf8;
    }
    cutAtNul(result.text);
    return result;
}

std::vector<std::u16string> splitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    size_t i = 0;
    while (i < text.size()) {
        const char16_t c = text[i];
        if (c != u'\r' && c != u'\n') {
            ++i;
            continue;
        }
        lines.emplace_back(text.substr(start, i - start));
        i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
        start = i;
    }
    if (start < text.size())
        lines.emplace_back(text.substr(start));
    return lines;
}

std::string encodeLines(const std::vector<std::u16string>& lines, TextEncoding encoding,
                        const AnsiCodePage& ansi) {
    std::u16string joined;
    size_t total = 0;
    for (const auto& line : lines)
        total += line.size() + 2;
    joined.reserve(total);
    for (const auto& line : lines) {
        joined += line;
        joined += u"\r\n";
    }
    switch (encoding) {
    case TextEncoding::Utf8:
        return std::string(kUtf8Mark) + utf16ToUtf8(joined);
    case TextEncoding::Utf16LE:
        return std::string(kUtf16LEMark) + utf16ToBytes(joined, false);
    case TextEncoding::Utf16BE:
        return std::string(kUtf16BEMark) + utf16ToBytes(joined, true);
    case TextEncoding::Ansi:
    case TextEncoding::Cp932:
        break;
    }
    return codePageOf(encoding, ansi).encode(joined);
}

} // namespace morvane
