#include "text/quiet_read.h"

#include <exception>

#include "services/services.h"
#include "text/utf.h"

namespace morvane {
namespace {

constexpr size_t kUtf8MarkSize = 3;
constexpr size_t kUtf16MarkSize = 2;

bool isHighSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool isLowSurrogate(char16_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

bool isWholeUtf16(std::string_view body, bool bigEndian) {
    const std::u16string units = utf16FromBytes(body, bigEndian);
    const size_t end = units.find(u'\0');
    // The text ends at a NUL: what follows it, an odd byte included, is no text.
    if (end == std::u16string::npos && body.size() % 2 != 0)
        return false;
    const size_t length = end == std::u16string::npos ? units.size() : end;
    for (size_t i = 0; i < length; ++i) {
        if (isHighSurrogate(units[i]) && i + 1 < length && isLowSurrogate(units[i + 1])) {
            ++i;
            continue;
        }
        if (isHighSurrogate(units[i]) || isLowSurrogate(units[i]))
            return false;
    }
    return true;
}

std::string_view beforeNul(std::string_view bytes) {
    return bytes.substr(0, bytes.find('\0'));
}

} // namespace

bool hasValidBytes(std::string_view bytes, const AnsiCodePage& ansi) {
    const auto marked = markedEncoding(bytes);
    if (!marked) {
        const auto body = beforeNul(bytes);
        return unmarkedCodePage(body, ansi).isValid(body);
    }
    if (*marked == TextEncoding::Utf8)
        return utf8ToUtf16Strict(beforeNul(bytes.substr(kUtf8MarkSize))).has_value();
    return isWholeUtf16(bytes.substr(kUtf16MarkSize), *marked == TextEncoding::Utf16BE);
}

QuietRead readTextQuietly(std::u16string_view path, const PlatformServices& services) {
    QuietRead result;
    std::string bytes;
    std::u16string reason;
    if (!services.files.readFile(path, bytes, reason)) {
        // Asked only when the read failed: a file there that would not open
        // is worth trying again, no file (or a folder) is not.
        result.outcome = services.files.fileExists(path) ? QuietReadOutcome::CannotOpen
                                                         : QuietReadOutcome::Missing;
        return result;
    }
    if (!hasValidBytes(bytes, services.ansi)) {
        result.outcome = QuietReadOutcome::InvalidBytes;
        return result;
    }
    try {
        auto decoded = decodeText(bytes, services.ansi);
        result.lines = splitLines(decoded.text);
        result.encoding = decoded.encoding;
    } catch (const std::exception&) {
        // A conversion the system refuses is no text either.
        result.outcome = QuietReadOutcome::InvalidBytes;
        return result;
    }
    result.outcome = result.lines.empty() ? QuietReadOutcome::Empty : QuietReadOutcome::Read;
    return result;
}

} // namespace morvane
