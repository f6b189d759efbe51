// The flags of Windows' code-page conversions, code page by code page, as
// Microsoft documents them: what the program asks for, and what Windows
// refuses with ERROR_INVALID_FLAGS (Wine refuses nothing, so only these rules
// and the fakes built on them stand for Windows).
#include <gtest/gtest.h>

#include "platform/code_page_flags.h"
#include "support/case_name.h"
#include "support/fake_services.h"

namespace morvane {
namespace {

using namespace code_page;

struct FlagsCase {
    const char* name;
    friend void PrintTo(const FlagsCase& c, std::ostream* os) { *os << c.name; }
    unsigned codePage;
    Flags encode;           // what the program asks WideCharToMultiByte for
    Flags validatingDecode; // and MultiByteToWideChar, when validating
};

class ChosenFlags : public testing::TestWithParam<FlagsCase> {};

TEST_P(ChosenFlags, AreOnesTheCodePageTakes) {
    const auto& c = GetParam();
    EXPECT_EQ(encodeFlags(c.codePage), c.encode);
    EXPECT_EQ(decodeFlags(c.codePage, true), c.validatingDecode);
    EXPECT_EQ(decodeFlags(c.codePage, false), 0u);
    EXPECT_TRUE(encodeTakes(c.codePage, encodeFlags(c.codePage)));
    EXPECT_TRUE(decodeTakes(c.codePage, decodeFlags(c.codePage, true)));
}

INSTANTIATE_TEST_SUITE_P(
    CodePages, ChosenFlags,
    testing::Values(FlagsCase{"shift_jis_932", 932, kNoBestFitChars, kFailOnInvalidBytes},
                    FlagsCase{"western_1252", 1252, kNoBestFitChars, kFailOnInvalidBytes},
                    FlagsCase{"utf8_65001", 65001, 0, kFailOnInvalidBytes},
                    FlagsCase{"gb18030_54936", 54936, 0, kFailOnInvalidBytes},
                    FlagsCase{"hz_gb2312_52936", 52936, 0, kFailOnInvalidBytes},
                    FlagsCase{"iso2022_jp_50220", 50220, 0, 0},
                    FlagsCase{"iso2022_kr_50225", 50225, 0, 0},
                    FlagsCase{"iscii_57002", 57002, 0, 0}, FlagsCase{"iscii_57011", 57011, 0, 0},
                    FlagsCase{"utf7_65000", 65000, 0, 0}, FlagsCase{"symbol_42", 42, 0, 0}),
    test::CaseName());

struct TakesCase {
    const char* name;
    friend void PrintTo(const TakesCase& c, std::ostream* os) { *os << c.name; }
    unsigned codePage;
    Flags flags;
    bool encodeTaken, decodeTaken;
};

class TakenFlags : public testing::TestWithParam<TakesCase> {};

TEST_P(TakenFlags, AsDocumented) {
    const auto& c = GetParam();
    EXPECT_EQ(encodeTakes(c.codePage, c.flags), c.encodeTaken);
    EXPECT_EQ(decodeTakes(c.codePage, c.flags), c.decodeTaken);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TakenFlags,
    testing::Values(
        TakesCase{"no_flag_anywhere", 65001, 0, true, true},
        TakesCase{"no_best_fit_not_with_utf8", 65001, kNoBestFitChars, false, false},
        TakesCase{"utf8_fails_on_invalid_units", 65001, kFailOnInvalidUnits, true, false},
        TakesCase{"utf8_fails_on_invalid_bytes", 65001, kFailOnInvalidBytes, false, true},
        TakesCase{"utf8_not_precomposed", 65001, kPrecomposed, false, false},
        TakesCase{"invalid_units_only_for_utf8_and_gb18030", 932, kFailOnInvalidUnits, false,
                  false},
        TakesCase{"no_best_fit_with_932", 932, kNoBestFitChars, true, false},
        TakesCase{"precomposed_with_932", 932, kPrecomposed, false, true},
        TakesCase{"precomposed_and_composite_exclude", 932, kPrecomposed | 0x02, false, false},
        TakesCase{"unknown_bit", 932, 0x8000, false, false},
        TakesCase{"hz_gb2312_no_flag_when_encoding", 52936, kNoBestFitChars, false, false},
        TakesCase{"utf7_nothing", 65000, kFailOnInvalidBytes, false, false}),
    test::CaseName());

// The fake of a UTF-8 system refuses what Windows refuses, through the same
// rules: the flags the program once asked for every code page fail there.
TEST(Utf8AnsiCodePage, RefusesWhatWindowsRefuses) {
    test::Utf8AnsiCodePage utf8;
    EXPECT_EQ(utf8.encode(u"日本"), "\xe6\x97\xa5\xe6\x9c\xac");
    EXPECT_EQ(utf8.decode("\xe6\x97\xa5"), u"日");
    EXPECT_EQ(utf8.encode(u""), "");
    utf8.encodeFlags = kNoBestFitChars;
    EXPECT_THROW(utf8.encode(u"x"), ConversionError);
    utf8.decodeFlags = kPrecomposed;
    EXPECT_THROW(utf8.decode("x"), ConversionError);
    // MB_ERR_INVALID_CHARS: overlong forms, encoded surrogates, beyond U+10FFFF.
    for (const char* bytes : {"\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xE6\x97"})
        EXPECT_FALSE(utf8.isValid(bytes)) << bytes;
    EXPECT_TRUE(utf8.isValid("\xEF\xBF\xBE")); // a noncharacter is still a character
}

} // namespace
} // namespace morvane
