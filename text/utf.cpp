#include "text/utf.h"

namespace morvane {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// Decodes one sequence at bytes[i]; returns the code point and its length, or
// a length of 0 when the sequence is invalid.
struct Decoded {
    char32_t cp;
    size_t length;
};

Decoded decodeOne(std::string_view s, size_t i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80)
        return {b0, 1};
    size_t need;
    char32_t cp;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1, cp = b0 & 0x1F, min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2, cp = b0 & 0x0F, min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3, cp = b0 & 0x07, min = 0x10000;
    } else {
        return {0, 0};
    }
    for (size_t k = 1; k <= need; ++k) {
        if (i + k >= s.size())
            return {0, 0};
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80)
            return {0, 0};
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return {0, 0};
    return {cp, need + 1};
}

void appendCodePoint(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

// Length of the maximal invalid prefix to replace by one U+FFFD: the lead byte
// plus the continuation bytes that could still have belonged to it.
size_t invalidLength(std::string_view s, size_t i) {
    size_t k = i + 1;
    while (k < s.size() && k < i + 4 && (static_cast<unsigned char>(s[k]) & 0xC0) == 0x80 &&
           static_cast<unsigned char>(s[i]) >= 0xC0)
        ++k;
    return k - i;
}

} // namespace

std::u16string utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto d = decodeOne(bytes, i);
        if (d.length == 0) {
            out.push_back(kReplacement);
            i += invalidLength(bytes, i);
            continue;
        }
        appendCodePoint(out, d.cp);
        i += d.length;
    }
    return out;
}

std::optional<std::u16string> utf8ToUtf16Strict(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            out.push_back(b);
            ++i;
            continue;
        }
        const auto d = decodeOne(bytes, i);
        if (d.length == 0)
            return std::nullopt;
        appendCodePoint(out, d.cp);
        i += d.length;
    }
    return out;
}

std::string utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        char32_t cp = text[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = kReplacement;
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

std::u16string utf16FromBytes(std::string_view bytes, bool bigEndian) {
    std::u16string out(bytes.size() / 2, u'\0');
    for (size_t k = 0; k < out.size(); ++k) {
        const auto lo = static_cast<unsigned char>(bytes[2 * k + (bigEndian ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(bytes[2 * k + (bigEndian ? 0 : 1)]);
        out[k] = static_cast<char16_t>(lo | (hi << 8));
    }
    return out;
}

std::string utf16ToBytes(std::u16string_view text, bool bigEndian) {
    std::string out(text.size() * 2, '\0');
    for (size_t k = 0; k < text.size(); ++k) {
        const char lo = static_cast<char>(text[k] & 0xFF);
        const char hi = static_cast<char>(text[k] >> 8);
        out[2 * k] = bigEndian ? hi : lo;
        out[2 * k + 1] = bigEndian ? lo : hi;
    }
    return out;
}

} // namespace morvane
