// Decoding and encoding of the program's text files, on byte fixtures, with
// the running platform's ANSI code page (Shift_JIS: CP932 on the host, the
// Wine prefix's code page 932 under Wine).
#include <gtest/gtest.h>

#include "cad_targets/target_file.h"
#include "list/list_file.h"
#include "services/services.h"
#include "support/fake_services.h"
#include "text/text_file.h"
#include "text/utf.h"

namespace morvane {
namespace {

const AnsiCodePage& ansi() {
    return platformServices().ansi;
}

// "日本語" in Shift_JIS and in UTF-8.
const std::string kSjisNihongo = "\x93\xfa\x96\x7b\x8c\xea";
const std::string kUtf8Nihongo = "\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e";

struct DecodeCase {
    const char* name;
    friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
    std::string bytes;
    std::u16string text;
    TextEncoding encoding;
};

class DecodeText : public testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeText, GivesTextAndEncoding) {
    const auto& c = GetParam();
    const auto decoded = decodeText(c.bytes, ansi());
    EXPECT_EQ(decoded.text, c.text);
    EXPECT_EQ(decoded.encoding, c.encoding);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, DecodeText,
    testing::Values(
        DecodeCase{"ansi_shift_jis", kSjisNihongo + "\r\nA", u"日本語\r\nA", TextEncoding::Ansi},
        DecodeCase{"utf8_mark", "\xEF\xBB\xBF" + kUtf8Nihongo, u"日本語", TextEncoding::Utf8},
        DecodeCase{"utf8_without_mark_is_ansi", "abc", u"abc", TextEncoding::Ansi},
        DecodeCase{"utf16le_mark", std::string("\xFF\xFE\xE5\x65\x2C\x67\x9E\x8A", 8), u"日本語",
                   TextEncoding::Utf16LE},
        DecodeCase{"utf16be_mark", std::string("\xFE\xFF\x65\xE5\x67\x2C\x8A\x9E", 8), u"日本語",
                   TextEncoding::Utf16BE},
        DecodeCase{"mark_only", "\xEF\xBB\xBF", u"", TextEncoding::Utf8},
        DecodeCase{"nul_ends_ansi", std::string("ab\0cd", 5), u"ab", TextEncoding::Ansi},
        DecodeCase{"nul_ends_utf8", std::string("\xEF\xBB\xBFx\0y", 6), u"x", TextEncoding::Utf8},
        DecodeCase{"nul_ends_utf16", std::string("\xFF\xFEx\0\0\0y\0", 8), u"x",
                   TextEncoding::Utf16LE},
        DecodeCase{"odd_utf16_byte_dropped", std::string("\xFF\xFEx\0y", 5), u"x",
                   TextEncoding::Utf16LE},
        DecodeCase{"invalid_utf8_after_mark_replaced",
                   "\xEF\xBB\xBF"
                   "a\xFF"
                   "b",
                   u"a\uFFFDb", TextEncoding::Utf8}),
    [](const auto& info) { return std::string(info.param.name); });

struct SplitCase {
    const char* name;
    friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
    std::u16string text;
    std::vector<std::u16string> lines;
};

class SplitLines : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitLines, BreaksAtEveryLineEnd) {
    EXPECT_EQ(splitLines(GetParam().text), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Breaks, SplitLines,
    testing::Values(SplitCase{"empty", u"", {}}, SplitCase{"one_line", u"a", {u"a"}},
                    SplitCase{"final_break_adds_nothing", u"a\r\n", {u"a"}},
                    SplitCase{"crlf_cr_lf", u"a\r\nb\rc\nd", {u"a", u"b", u"c", u"d"}},
                    SplitCase{"lf_cr_is_two_breaks", u"a\n\rb", {u"a", u"", u"b"}},
                    SplitCase{"blank_lines_kept", u"\r\n\r\nx", {u"", u"", u"x"}},
                    SplitCase{"only_break", u"\n", {u""}}, SplitCase{"cr_at_end", u"a\r", {u"a"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EncodeLines, WritesCrLfAfterEveryLineWithTheMark) {
    const std::vector<std::u16string> lines{u"日本語", u"", u"x"};
    EXPECT_EQ(encodeLines(lines, TextEncoding::Ansi, ansi()), kSjisNihongo + "\r\n\r\nx\r\n");
    EXPECT_EQ(encodeLines(lines, TextEncoding::Utf8, ansi()),
              "\xEF\xBB\xBF" + kUtf8Nihongo + "\r\n\r\nx\r\n");
    EXPECT_EQ(encodeLines({u"A"}, TextEncoding::Utf16LE, ansi()), std::string("\xFF\xFE"
                                                                              "A\0\r\0\n\0",
                                                                              8));
    EXPECT_EQ(encodeLines({u"A"}, TextEncoding::Utf16BE, ansi()),
              std::string("\xFE\xFF\0A\0\r\0\n", 8));
    EXPECT_EQ(encodeLines({}, TextEncoding::Utf8, ansi()), "\xEF\xBB\xBF");
    EXPECT_EQ(encodeLines({}, TextEncoding::Ansi, ansi()), "");
}

TEST(EncodeLines, RoundTripsInEveryEncoding) {
    const std::vector<std::u16string> lines{u"名称\tBricscadApp.AcadApplication", u"", u"a b"};
    for (auto encoding : {TextEncoding::Ansi, TextEncoding::Cp932, TextEncoding::Utf8,
                          TextEncoding::Utf16LE, TextEncoding::Utf16BE}) {
        // Code page 932 is read as such only where the ANSI code page is
        // another: here it reads as the ANSI code page it is.
        const auto expected = encoding == TextEncoding::Cp932 ? TextEncoding::Ansi : encoding;
        const auto decoded = decodeText(encodeLines(lines, encoding, ansi()), ansi());
        EXPECT_EQ(splitLines(decoded.text), lines);
        EXPECT_EQ(decoded.encoding, expected);
    }
}

// A system set to use UTF-8 as its ANSI code page reads unmarked UTF-8 as
// UTF-8, and unmarked bytes that are not UTF-8 in code page 932; marked files
// as their mark says.
TEST(DecodeTextOnUtf8System, FallsBackTo932OnlyForUnmarkedInvalidUtf8) {
    const test::Utf8AnsiCodePage utf8System;
    struct Case {
        const char* name;
        std::string bytes;
        std::u16string text;
        unsigned readIn;
    };
    const Case cases[] = {
        {"utf8_without_mark", kUtf8Nihongo + "\r\nA", u"日本語\r\nA", 65001},
        {"shift_jis_without_mark", kSjisNihongo + "\r\nA", u"日本語\r\nA", 932},
        {"ascii", "abc", u"abc", 65001},
        {"shift_jis_before_nul", kSjisNihongo + std::string("\0\xFF", 2), u"日本語", 932},
        {"utf8_before_nul", kUtf8Nihongo + std::string("\0\xFF", 2), u"日本語", 65001},
        {"invalid_utf8_after_mark_replaced", "\xEF\xBB\xBF" + kSjisNihongo.substr(0, 2),
         u"\uFFFD\uFFFD", 65001},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TextEncoding encoding = c.bytes.starts_with("\xEF") ? TextEncoding::Utf8
                                      : c.readIn == 932           ? TextEncoding::Cp932
                                                                  : TextEncoding::Ansi;
        EXPECT_EQ(decodeText(c.bytes, utf8System).text, c.text);
        EXPECT_EQ(decodeText(c.bytes, utf8System).encoding, encoding);
        EXPECT_EQ(encodingOf(c.bytes, utf8System), encoding);
        if (!c.bytes.starts_with("\xEF")) {
            EXPECT_EQ(unmarkedCodePage(c.bytes.substr(0, c.bytes.find('\0')), utf8System).number(),
                      c.readIn);
        }
    }
    // Where the ANSI code page is 932 already, nothing changes.
    EXPECT_EQ(&unmarkedCodePage(kUtf8Nihongo, ansi()), &ansi());
    EXPECT_EQ(encodingOf(kUtf8Nihongo, ansi()), TextEncoding::Ansi);
}

// Where there is no file to read: the ANSI code page, unless that is UTF-8,
// which the PCs with code page 932 cannot read without its mark.
TEST(NewFileEncoding, IsMarkedUtf8OnlyWhereTheAnsiCodePageIsUtf8) {
    EXPECT_EQ(newFileEncoding(ansi()), TextEncoding::Ansi);
    EXPECT_EQ(newFileEncoding(test::Utf8AnsiCodePage()), TextEncoding::Utf8);
}

// Both list files read the fallback; the target list is written back in it.
TEST(DecodeTextOnUtf8System, ListFilesReadAs932AndTargetListWritesItBack) {
    test::FakeServices fake;
    test::Utf8AnsiCodePage utf8System;
    PlatformServices services{utf8System, fake.services.collator, fake.files, fake.clock};
    fake.files.files[u"/f/MorvaneList.txt"] = "\x83\x8d\x81\x5b\x83\x68\tload\r\n";
    ListRows records;
    ASSERT_TRUE(loadMorvaneList(u"/f/MorvaneList.txt", services, records));
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].command, u"ロード");

    fake.files.files[u"/f/targets.txt"] = kSjisNihongo + "\tA.B\r\n";
    TargetListFile targets(u"/f/targets.txt");
    const auto lines = targets.read(services);
    ASSERT_TRUE(lines);
    EXPECT_EQ(*lines, std::vector<std::u16string>{u"日本語\tA.B"});
    targets.write(*lines, services);
    EXPECT_EQ(fake.files.files[u"/f/targets.txt"], kSjisNihongo + "\tA.B\r\n");
}

// Valid as MultiByteToWideChar with MB_ERR_INVALID_CHARS sees it.
TEST(AnsiCodePage, ValidBytesAreCharactersOfTheCodePage) {
    const auto& cp932 = ansi().cp932();
    EXPECT_EQ(cp932.number(), 932u);
    struct Case {
        const char* name;
        std::string bytes;
        bool valid;
    };
    const Case cases[] = {
        {"ascii", "abc\t", true},
        {"shift_jis", kSjisNihongo, true},
        {"half_width_katakana", "\xB1\xB2", true},
        {"middle_dot", "\x81\x45", true},
        {"lead_byte_at_end", kSjisNihongo + "\x93", false},
        {"undefined_pair", "\x85\x40", false},
        {"lead_byte_before_space", "\x81 ", false},
        {"utf8_japanese", "\xe3\x81\x82\xe3\x81", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(cp932.isValid(c.bytes), c.valid);
    }
    const test::Utf8AnsiCodePage utf8System;
    EXPECT_TRUE(utf8System.isValid(kUtf8Nihongo));
    EXPECT_FALSE(utf8System.isValid(kSjisNihongo));
}

TEST(AnsiCodePage, UnrepresentableCharactersBecomeTheDefaultCharacter) {
    EXPECT_EQ(ansi().encode(u"aé한b"), "a??b");
    EXPECT_EQ(ansi().encode(u"ロード"), "\x83\x8d\x81\x5b\x83\x68");
}

struct StrictCase {
    const char* name;
    friend void PrintTo(const StrictCase& c, std::ostream* os) { *os << c.name; }
    std::string bytes;
    bool valid;
};

class StrictUtf8 : public testing::TestWithParam<StrictCase> {};

TEST_P(StrictUtf8, AcceptsOnlyWellFormedUtf8) {
    EXPECT_EQ(decodeTextStrictUtf8(GetParam().bytes).has_value(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, StrictUtf8,
    testing::Values(
        StrictCase{"ascii", "(defun c:x ())", true}, StrictCase{"japanese", kUtf8Nihongo, true},
        StrictCase{"marked", "\xEF\xBB\xBF" + kUtf8Nihongo, true},
        StrictCase{"four_byte", "\xF0\x9F\x98\x80", true},
        StrictCase{"shift_jis", kSjisNihongo, false},
        StrictCase{"marked_but_invalid", "\xEF\xBB\xBF\x93\xfa", false},
        StrictCase{"overlong", "\xC0\xAF", false}, StrictCase{"surrogate", "\xED\xA0\x80", false},
        StrictCase{"beyond_unicode", "\xF4\x90\x80\x80", false},
        StrictCase{"truncated", "\xE6\x97", false}, StrictCase{"lone_continuation", "\x80", false},
        StrictCase{"utf16_marked_is_not_utf8", "\xFF\xFEx\0", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(StrictUtf8, KeepsTheEncodingItFound) {
    EXPECT_EQ(decodeTextStrictUtf8("x")->encoding, TextEncoding::Utf8);
    EXPECT_EQ(decodeTextStrictUtf8(std::string("\xFE\xFF\0x", 4))->text, u"x");
}

TEST(Utf, Utf8RoundTripKeepsSurrogatePairs) {
    const std::u16string text = u"a日😀";
    EXPECT_EQ(utf8ToUtf16(utf16ToUtf8(text)), text);
    EXPECT_EQ(utf16ToUtf8(u"\xD800"), "\xEF\xBF\xBD");
}

} // namespace
} // namespace morvane
