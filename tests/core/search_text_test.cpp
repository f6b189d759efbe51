// Folding of the search text and of the rows' shown texts, and the terms of
// a search of several words.
#include <gtest/gtest.h>

#include <random>

#include "text/letters.h"
#include "text/search_text.h"

namespace morvane {
namespace {

struct FoldCase {
    const char* name;
    friend void PrintTo(const FoldCase& c, std::ostream* os) { *os << c.name; }
    std::u16string text;
    std::u16string folded;
};

class Folding : public testing::TestWithParam<FoldCase> {};

TEST_P(Folding, GivesTheFoldedText) {
    EXPECT_EQ(foldSearchText(GetParam().text), GetParam().folded);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, Folding,
    testing::Values(FoldCase{"ascii_letters_to_capitals", u"abz AZ @[`{~", u"ABZ AZ @[`{~"},
                    FoldCase{"fullwidth_ascii_to_ascii", u"ｌｉｎｅ！０９［］～", u"LINE!09[]~"},
                    FoldCase{"fullwidth_range_ends", u"\uFF01\uFF5E\uFF00\uFF5F",
                             u"!~\uFF00\uFF5F"},
                    FoldCase{"ideographic_space_to_space", u"線\u3000分", u"線 分"},
                    FoldCase{"halfwidth_katakana", u"ﾗｲﾝｦｧｯｰ", u"ラインヲァッー"},
                    FoldCase{"halfwidth_punctuation", u"｡｢｣､･", u"。「」、・"},
                    FoldCase{"voiced_mark_joins", u"ｶﾞｷﾞｻﾞﾀﾞﾄﾞﾊﾞﾎﾞ", u"ガギザダドバボ"},
                    FoldCase{"semi_voiced_mark_joins", u"ﾊﾟﾋﾟﾌﾟﾍﾟﾎﾟ", u"パピプペポ"},
                    FoldCase{"vu_wa_wo_voiced", u"ｳﾞﾜﾞｦﾞ", u"ヴヷヺ"},
                    FoldCase{"mark_after_kana_without_voicing", u"ｱﾞﾝﾟｶﾟ", u"ア゛ン゜カ゜"},
                    FoldCase{"lone_marks_become_spacing_marks", u"ﾞﾟxﾞ", u"゛゜X゛"},
                    FoldCase{"mark_after_fullwidth_kana_stays_alone", u"カﾞ", u"カ゛"},
                    FoldCase{"mark_joins_only_the_kana_before_it", u"ｶﾞﾞ", u"ガ゛"},
                    FoldCase{"mark_at_text_start_and_end", u"ﾞｶ", u"゛カ"},
                    FoldCase{"hiragana_to_katakana", u"らいんぁゔゕゖ", u"ラインァヴヵヶ"},
                    FoldCase{"hiragana_iteration_marks", u"ゝゞ", u"ヽヾ"},
                    FoldCase{"hiragana_range_ends", u"\u3040\u3041\u3096\u3097\u309F",
                             u"\u3040\u30A1\u30F6\u3097\u309F"},
                    FoldCase{"katakana_and_kanji_unchanged", u"ラインヴ線分ヽ", u"ラインヴ線分ヽ"},
                    FoldCase{"accented_and_greek_case_kept", u"éαΑ", u"éαΑ"},
                    FoldCase{"surrogate_pairs_untouched", u"a\U0001F600ｶ\U00020BB7",
                             u"A\U0001F600カ\U00020BB7"},
                    FoldCase{"lone_surrogates_untouched", u"\xD800ｶ\xDC00", u"\xD800カ\xDC00"},
                    FoldCase{"mixed_widths", u"ＣＩＲＣＬＥ ｴﾝを描く\u3000ﾃﾞｨﾒﾝｼｮﾝ",
                             u"CIRCLE エンヲ描ク ディメンション"}),
    [](const auto& info) { return std::string(info.param.name); });

struct TermsCase {
    const char* name;
    friend void PrintTo(const TermsCase& c, std::ostream* os) { *os << c.name; }
    std::u16string search;
    std::vector<std::u16string> terms;
};

class Terms : public testing::TestWithParam<TermsCase> {};

TEST_P(Terms, AreTheRunsBetweenBlanks) {
    const std::u16string folded = foldSearchText(GetParam().search);
    const auto terms = searchTerms(folded);
    EXPECT_EQ(std::vector<std::u16string>(terms.begin(), terms.end()), GetParam().terms);
}

INSTANTIATE_TEST_SUITE_P(
    Searches, Terms,
    testing::Values(TermsCase{"empty", u"", {}}, TermsCase{"one_word", u"line", {u"LINE"}},
                    TermsCase{"two_words", u"line 線", {u"LINE", u"線"}},
                    TermsCase{
                        "ideographic_space_separates", u"らいん\u3000せん", {u"ライン", u"セン"}},
                    TermsCase{"blanks_at_ends_and_runs", u"  a \u3000 b  ", {u"A", u"B"}},
                    TermsCase{"blanks_alone", u" \u3000 ", {}},
                    TermsCase{"tab_is_not_a_separator", u"a\tb", {u"A\tB"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SearchTerms, EveryTermAnywhereInAnyOrder) {
    const std::u16string text = u"[LINE] 線分ヲ描ク";
    auto holds = [&](std::u16string search) {
        const std::u16string folded = foldSearchText(search);
        return holdsEveryTerm(text, searchTerms(folded));
    };
    EXPECT_TRUE(holds(u"line 線分"));
    EXPECT_TRUE(holds(u"線分 line"));
    EXPECT_TRUE(holds(u"lin ine")); // terms may overlap
    EXPECT_TRUE(holds(u"ｌｉｎｅ\u3000を描く"));
    EXPECT_TRUE(holds(u"   "));
    EXPECT_FALSE(holds(u"line circle"));
    EXPECT_FALSE(holds(u"line] 線分x"));
}

// Random texts drawn from the characters the rules touch, their neighbours
// and plain ones.
std::u16string randomText(std::mt19937& random, size_t maxLength) {
    static const std::u16string alphabet =
        u"aAzZ09 !~[]{}`@\u3000\uFF01\uFF5E\uFF00\uFF5F\uFF21\uFF41\uFF61\uFF65\uFF66\uFF70"
        u"\uFF71\uFF73\uFF76\uFF84\uFF8A\uFF8E\uFF9C\uFF9D\uFF9E\uFF9F\uFFA0\u3040\u3041"
        u"\u3094\u3096\u3097\u3099\u309B\u309C\u309D\u309E\u309F\u30A1\u30AB\u30AC\u30FC"
        u"\u7DDA\xD83D\xDE00\xD800\xDC00\u00E9\u0430";
    std::u16string text(random() % (maxLength + 1), u' ');
    for (auto& c : text)
        c = alphabet[random() % alphabet.size()];
    return text;
}

TEST(SearchFolding, FoldingAFoldedTextChangesNothing) {
    std::mt19937 random(30);
    for (int k = 0; k < 20000; ++k) {
        const std::u16string text = randomText(random, 12);
        const std::u16string once = foldSearchText(text);
        ASSERT_EQ(foldSearchText(once), once) << testing::PrintToString(text);
        ASSERT_LE(once.size(), text.size());
    }
}

// Before folding reached beyond ASCII, a row matched when its text in
// capitals held the search text in capitals.
bool previousMatch(std::u16string_view text, std::u16string_view search) {
    return upperAscii(text).find(upperAscii(search)) != std::u16string::npos;
}

TEST(SearchFolding, AsciiSearchOverAsciiTextMatchesAsBefore) {
    std::mt19937 random(31);
    auto asciiText = [&](size_t maxLength) {
        static const std::u16string alphabet = u"abAB[]{} -_.\t~";
        std::u16string text(random() % (maxLength + 1), u' ');
        for (auto& c : text)
            c = alphabet[random() % alphabet.size()];
        return text;
    };
    for (int k = 0; k < 20000; ++k) {
        const std::u16string text = asciiText(16);
        const std::u16string search = asciiText(4);
        const std::u16string foldedSearch = foldSearchText(search);
        const auto terms = searchTerms(foldedSearch);
        const bool matched = holdsEveryTerm(foldSearchText(text), terms);
        if (search.find(u' ') == std::u16string::npos) {
            ASSERT_EQ(matched, previousMatch(text, search))
                << testing::PrintToString(text) << " " << testing::PrintToString(search);
        } else {
            // Several words: each of them as a search of its own.
            bool every = true;
            for (auto term : terms)
                every = every && previousMatch(text, term);
            ASSERT_EQ(matched, every);
        }
    }
}

} // namespace
} // namespace morvane
