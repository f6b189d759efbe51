// The collator against the order CompareStringW gave under Wine in the
// Japanese locale (data/collation_reference.txt, from tools/nls_reference):
// ASCII, Latin-1, kana of both widths with long-vowel and iteration marks,
// full-width forms and the common kanji, alone and in short texts.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "services/services.h"
#include "support/case_name.h"

namespace morvane {
namespace {

std::u16string unitsFromHex(const std::string& hex) {
    std::u16string out;
    for (size_t i = 0; i + 3 < hex.size(); i += 4)
        out.push_back(static_cast<char16_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
    return out;
}

std::string hexOf(std::u16string_view text) {
    std::string out;
    char buffer[8];
    for (char16_t c : text) {
        std::snprintf(buffer, sizeof buffer, "%04X ", static_cast<unsigned>(c));
        out += buffer;
    }
    return out;
}

TEST(Collator, OrdersAsCompareStringW) {
    std::ifstream file(MORVANE_TEST_DATA_DIR "/collation_reference.txt");
    ASSERT_TRUE(file) << "reference missing";
    const auto& collator = platformServices().collator;
    std::u16string previous;
    size_t pairs = 0, wrong = 0;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string tag, hex, relation;
        fields >> tag >> hex >> relation;
        if (tag != "s")
            continue;
        const std::u16string text = unitsFromHex(hex);
        if (pairs++ > 0) {
            const int order = collator.compareIgnoreCase(previous, text);
            const int reverse = collator.compareIgnoreCase(text, previous);
            const bool right =
                relation == "=" ? order == 0 && reverse == 0 : order < 0 && reverse > 0;
            if (!right && ++wrong <= 20)
                ADD_FAILURE() << hexOf(previous) << (relation == "=" ? "= " : "< ") << hexOf(text)
                              << "but compared " << order;
        }
        previous = text;
    }
    EXPECT_GT(pairs, 5000u);
    EXPECT_EQ(wrong, 0u);
}

struct OrderCase {
    const char* name;
    friend void PrintTo(const OrderCase& c, std::ostream* os) { *os << c.name; }
    std::u16string before, after;
};

class CollatorOrder : public testing::TestWithParam<OrderCase> {};

// Cases the reference shows, written out: what each sort level decides.
TEST_P(CollatorOrder, AsWindows) {
    const auto& c = GetParam();
    const auto& collator = platformServices().collator;
    EXPECT_LT(collator.compareIgnoreCase(c.before, c.after), 0);
    EXPECT_GT(collator.compareIgnoreCase(c.after, c.before), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CollatorOrder,
    testing::Values(OrderCase{"accent after letter", u"e", u"\u00E9"},
                    OrderCase{"accent before next letter", u"\u00E9", u"f"},
                    OrderCase{"hyphen only breaks ties", u"ab", u"a-b"},
                    OrderCase{"hyphen later sorts first", u"a-b", u"-ab"},
                    OrderCase{"katakana before hiragana", u"\u30A2", u"\u3042"},
                    OrderCase{"half before full width", u"\uFF71", u"\u30A2"},
                    OrderCase{"small kana first", u"\u3041", u"\u3042"},
                    OrderCase{"long vowel repeats the vowel", u"\u304B\u3042", u"\u304B\u30FC"},
                    OrderCase{"long vowel before next kana", u"\u304B\u30FC", u"\u304B\u3044"},
                    OrderCase{"iteration mark repeats", u"\u3053\u3053", u"\u3053\u309D"},
                    OrderCase{"voiced iteration", u"\u3053\u3054", u"\u3053\u309E"},
                    OrderCase{"digits before letters", u"9", u"a"},
                    OrderCase{"underscore before digits", u"_", u"0"}),
    test::CaseName());

TEST(Collator, IgnoresCaseOnly) {
    const auto& collator = platformServices().collator;
    EXPECT_EQ(collator.compareIgnoreCase(u"Box", u"bOX"), 0);
    EXPECT_EQ(collator.compareIgnoreCase(u"\u00C9", u"\u00E9"), 0);
    EXPECT_NE(collator.compareIgnoreCase(u"A", u"\uFF21"), 0); // width still counts
}

} // namespace
} // namespace morvane
