#include "lisp/comma_list.h"

namespace morvane {
namespace {

constexpr bool isListBlank(char16_t c) {
    return c >= 1 && c <= 32;
}

size_t skipBlanks(std::u16string_view text, size_t i) {
    while (i < text.size() && isListBlank(text[i]))
        ++i;
    return i;
}

} // namespace

std::vector<std::u16string_view> splitCommaList(std::u16string_view text) {
    std::vector<std::u16string_view> items;
    size_t i = skipBlanks(text, 0);
    while (i < text.size()) {
        const size_t start = i;
        while (i < text.size() && text[i] != u',' && !isListBlank(text[i]))
            ++i;
        items.push_back(text.substr(start, i - start));
        i = skipBlanks(text, i);
        if (i < text.size() && text[i] == u',') {
            if (i + 1 == text.size())
                items.emplace_back();
            i = skipBlanks(text, i + 1);
        }
    }
    return items;
}

} // namespace morvane
