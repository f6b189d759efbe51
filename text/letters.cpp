#include "text/letters.h"

namespace morvane {

std::u16string upperAscii(std::u16string_view text) {
    std::u16string out(text);
    upperAsciiInPlace(out);
    return out;
}

bool equalIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
    const auto upper = [](char16_t c) -> char16_t { return c >= u'a' && c <= u'z' ? c - 32 : c; };
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (upper(a[i]) != upper(b[i]))
            return false;
    return true;
}

void upperAsciiInPlace(std::u16string& text) {
    for (auto& c : text)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
}

std::u16string_view trimBlanks(std::u16string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlankCode(text[begin]))
        ++begin;
    while (end > begin && isBlankCode(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool isBlank(std::u16string_view text) {
    return trimBlanks(text).empty();
}

std::u16string formatText(std::u16string_view pattern,
                          std::initializer_list<std::u16string_view> args) {
    std::u16string out;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == u'%' && i + 1 < pattern.size() &&
            (pattern[i + 1] == u's' || pattern[i + 1] == u'd') && next != args.end()) {
            out += *next++;
            ++i;
            continue;
        }
        out.push_back(pattern[i]);
    }
    return out;
}

std::u16string toDecimal(long long value) {
    const bool negative = value < 0;
    unsigned long long magnitude = negative ? 0ULL - static_cast<unsigned long long>(value)
                                            : static_cast<unsigned long long>(value);
    std::u16string digits;
    do {
        digits.insert(digits.begin(), static_cast<char16_t>(u'0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    if (negative)
        digits.insert(digits.begin(), u'-');
    return digits;
}

} // namespace morvane
