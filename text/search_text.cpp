#include "text/search_text.h"

#include <cstring>
#include <iterator>

namespace morvane {
namespace {

constexpr char16_t kHalfWidthFirst = 0xFF61;
constexpr char16_t kHalfWidthLast = 0xFF9F;
constexpr char16_t kHalfWidthVoicedMark = 0xFF9E;
constexpr char16_t kHalfWidthSemiVoicedMark = 0xFF9F;

// The full-width form of each half-width unit from U+FF61 to U+FF9F; the two
// marks at the end become the spacing marks, for a mark that joins nothing.
constexpr char16_t kFullWidthOf[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB,                         // ｡｢｣､･
    0x30F2,                                                         // ｦ
    0x30A1, 0x30A3, 0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, // ｧｨｩｪｫｬｭｮ
    0x30C3, 0x30FC,                                                 // ｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA,                         // ｱｲｳｴｵ
    0x30AB, 0x30AD, 0x30AF, 0x30B1, 0x30B3,                         // ｶｷｸｹｺ
    0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD,                         // ｻｼｽｾｿ
    0x30BF, 0x30C1, 0x30C4, 0x30C6, 0x30C8,                         // ﾀﾁﾂﾃﾄ
    0x30CA, 0x30CB, 0x30CC, 0x30CD, 0x30CE,                         // ﾅﾆﾇﾈﾉ
    0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB,                         // ﾊﾋﾌﾍﾎ
    0x30DE, 0x30DF, 0x30E0, 0x30E1, 0x30E2,                         // ﾏﾐﾑﾒﾓ
    0x30E4, 0x30E6, 0x30E8,                                         // ﾔﾕﾖ
    0x30E9, 0x30EA, 0x30EB, 0x30EC, 0x30ED,                         // ﾗﾘﾙﾚﾛ
    0x30EF, 0x30F3,                                                 // ﾜﾝ
    0x309B, 0x309C,                                                 // ﾞﾟ
};
static_assert(std::size(kFullWidthOf) == kHalfWidthLast - kHalfWidthFirst + 1);

// The voiced full-width kana for a half-width kana followed by ﾞ, or 0 when
// that kana takes no voiced mark.
constexpr char16_t voicedOf(char16_t halfWidth) {
    if ((halfWidth >= 0xFF76 && halfWidth <= 0xFF84) || // ｶ to ﾄ
        (halfWidth >= 0xFF8A && halfWidth <= 0xFF8E))   // ﾊ to ﾎ
        return static_cast<char16_t>(kFullWidthOf[halfWidth - kHalfWidthFirst] + 1);
    switch (halfWidth) {
    case 0xFF73: // ｳ
        return 0x30F4;
    case 0xFF9C: // ﾜ
        return 0x30F7;
    case 0xFF66: // ｦ
        return 0x30FA;
    default:
        return 0;
    }
}

// The semi-voiced full-width kana for ﾊ to ﾎ followed by ﾟ, or 0.
constexpr char16_t semiVoicedOf(char16_t halfWidth) {
    if (halfWidth >= 0xFF8A && halfWidth <= 0xFF8E)
        return static_cast<char16_t>(kFullWidthOf[halfWidth - kHalfWidthFirst] + 2);
    return 0;
}

// True when first <= c <= last, in one comparison.
constexpr bool within(char16_t c, char16_t first, char16_t last) {
    return static_cast<char16_t>(c - first) <= static_cast<char16_t>(last - first);
}

constexpr char16_t upperAsciiLetter(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 0x20) : c;
}

// The generic find compares unit by unit through the character traits; a
// scan for the first unit and a byte compare of the rest costs a third as
// much, and a keystroke runs it over every row.
bool holds(std::u16string_view text, std::u16string_view term) {
    if (term.size() > text.size())
        return false;
    const char16_t first = term.front();
    const size_t restBytes = (term.size() - 1) * sizeof(char16_t);
    const char16_t* last = text.data() + (text.size() - term.size());
    for (const char16_t* at = text.data(); at <= last; ++at)
        if (*at == first && std::memcmp(at + 1, term.data() + 1, restBytes) == 0)
            return true;
    return false;
}

} // namespace

void foldSearchTextInto(std::u16string& out, std::u16string_view text) {
    // Folding never lengthens a text; joined marks shorten it.
    out.resize(text.size());
    size_t length = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        // Rows are mostly ASCII and kanji: each settled in two comparisons.
        if (c < 0x80) {
            c = upperAsciiLetter(c);
        } else if (c < 0x3000 || within(c, 0x3100, 0xFF00)) {
            // unchanged: kanji and everything else outside the rules
        } else if (c == 0x3000) {
            c = u' ';
        } else if (within(c, 0x3041, 0x3096) || within(c, 0x309D, 0x309E)) {
            c = static_cast<char16_t>(c + 0x60);
        } else if (within(c, 0xFF01, 0xFF5E)) {
            c = upperAsciiLetter(static_cast<char16_t>(c - 0xFEE0));
        } else if (within(c, kHalfWidthFirst, kHalfWidthLast)) {
            const char16_t next = i + 1 < text.size() ? text[i + 1] : 0;
            const char16_t joined = next == kHalfWidthVoicedMark       ? voicedOf(c)
                                    : next == kHalfWidthSemiVoicedMark ? semiVoicedOf(c)
                                                                       : 0;
            if (joined) {
                c = joined;
                ++i;
            } else {
                c = kFullWidthOf[c - kHalfWidthFirst];
            }
        }
        out[length++] = c;
    }
    out.resize(length);
}

std::u16string foldSearchText(std::u16string_view text) {
    std::u16string out;
    foldSearchTextInto(out, text);
    return out;
}

std::vector<std::u16string_view> searchTerms(std::u16string_view foldedSearchText) {
    std::vector<std::u16string_view> terms;
    size_t start = 0;
    while (start < foldedSearchText.size()) {
        if (foldedSearchText[start] == u' ') {
            ++start;
            continue;
        }
        size_t end = foldedSearchText.find(u' ', start);
        if (end == std::u16string_view::npos)
            end = foldedSearchText.size();
        terms.push_back(foldedSearchText.substr(start, end - start));
        start = end;
    }
    return terms;
}

bool holdsEveryTerm(std::u16string_view foldedText, const std::vector<std::u16string_view>& terms) {
    for (const auto term : terms)
        if (!holds(foldedText, term))
            return false;
    return true;
}

} // namespace morvane
