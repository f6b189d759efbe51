// Reading the lists again after they changed on disk: no error escapes, and
// a file that is not ready or not text is refused rather than shown.
#include <gtest/gtest.h>

#include "list/list_file.h"
#include "services/services.h"
#include "support/case_name.h"
#include "support/fake_services.h"
#include "text/quiet_read.h"

namespace morvane {
namespace {

struct BytesCase {
    const char* name;
    std::string bytes;
    bool valid;
};

class ValidBytes : public testing::TestWithParam<BytesCase> {};

// The ANSI code page of the running platform is 932 (Wine's Japanese locale,
// the POSIX services' table).
TEST_P(ValidBytes, AreTextInTheEncodingTheyAreReadIn) {
    EXPECT_EQ(hasValidBytes(GetParam().bytes, platformServices().ansi), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ValidBytes,
    testing::Values(
        BytesCase{"no bytes", "", true},
        BytesCase{"cp932 text", "\x8d\xec\x90\x7d\tLINE\r\n", true}, // 作図
        BytesCase{"cp932 lead byte cut off at the end", "LINE\t\x8d", false},
        BytesCase{"pair no cp932 character", "LINE\t\x85\x40\r\n", false},
        BytesCase{"lead byte before a space", "LINE\t\x81 \r\n", false},
        BytesCase{"invalid bytes after a NUL are no text", std::string("A\r\n\0\x8d", 5), true},
        BytesCase{"utf-8 mark, valid", "\xef\xbb\xbf\xe7\xb7\x9a\xe5\x88\x86", true},
        BytesCase{"utf-8 mark, sequence cut off",
                  "\xef\xbb\xbf"
                  "A\xe7\xb7",
                  false},
        BytesCase{"utf-8 mark, stray continuation byte",
                  "\xef\xbb\xbf"
                  "A\x80",
                  false},
        BytesCase{"utf-16le whole",
                  std::string("\xff\xfe"
                              "A\0\x4b\x7d",
                              6),
                  true},
        BytesCase{"utf-16le odd byte at the end",
                  std::string("\xff\xfe"
                              "A\0B",
                              5),
                  false},
        BytesCase{"utf-16le pair", std::string("\xff\xfe\x3d\xd8\x00\xde", 6), true},
        BytesCase{"utf-16le lone high surrogate",
                  std::string("\xff\xfe\x3d\xd8"
                              "A\0",
                              6),
                  false},
        BytesCase{"utf-16le lone low surrogate", std::string("\xff\xfe\x00\xde", 4), false},
        BytesCase{"utf-16be whole", std::string("\xfe\xff\0A", 4), true},
        BytesCase{"utf-16be odd byte", std::string("\xfe\xff\0A\0", 5), false}),
    test::CaseName{});

TEST(ValidBytesOnAUtf8System, UnmarkedBytesAreUtf8OrElseCp932) {
    const test::Utf8AnsiCodePage utf8System;
    EXPECT_TRUE(hasValidBytes("\xe7\xb7\x9a\xe5\x88\x86", utf8System)); // UTF-8
    EXPECT_TRUE(hasValidBytes("\x90\xfc\x95\xaa", utf8System));         // 線分 in 932
    EXPECT_FALSE(hasValidBytes("A\x85\x40", utf8System));               // neither
}

const std::u16string kPath = u"C:\\MorvaneX\\MorvaneList.txt";

struct ReadCase {
    const char* name;
    std::optional<std::string> bytes; // nullopt: no file
    bool unreadable;
    QuietReadOutcome outcome;
    size_t lines;
};

class QuietlyRead : public testing::TestWithParam<ReadCase> {};

TEST_P(QuietlyRead, SaysWhyThereIsNothingToShow) {
    const auto& c = GetParam();
    test::FakeServices fake;
    if (c.bytes)
        fake.files.files[kPath] = *c.bytes;
    if (c.unreadable)
        fake.files.unreadable[kPath] = u"used by another process";
    const QuietRead read = readTextQuietly(kPath, fake.services);
    EXPECT_EQ(read.outcome, c.outcome);
    EXPECT_EQ(read.lines.size(), c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Files, QuietlyRead,
    testing::Values(
        ReadCase{"missing", std::nullopt, false, QuietReadOutcome::Missing, 0},
        ReadCase{"held by an editor", std::nullopt, true, QuietReadOutcome::CannotOpen, 0},
        ReadCase{"zero bytes", "", false, QuietReadOutcome::Empty, 0},
        ReadCase{"a mark alone", "\xef\xbb\xbf", false, QuietReadOutcome::Empty, 0},
        ReadCase{"zeros written first", std::string(64, '\0'), false, QuietReadOutcome::Empty, 0},
        ReadCase{"half a character", "G\r\nA\tdo\x8d", false, QuietReadOutcome::InvalidBytes, 0},
        ReadCase{"text", "G\r\nA\tdo\r\n", false, QuietReadOutcome::Read, 2},
        ReadCase{"comment lines only", ";\r\n", false, QuietReadOutcome::Read, 1}),
    test::CaseName{});

TEST(LoadListQuietly, GivesTheRowsOfATextFileAndNothingElse) {
    test::FakeServices fake;
    fake.files.files[kPath] = "\x8d\xec\x90\x7d\r\n;x\r\nLINE\t\x90\xfc\r\n"; // 作図, 線
    const QuietListLoad read = loadMorvaneListQuietly(kPath, fake.services);
    ASSERT_EQ(read.outcome, QuietReadOutcome::Read);
    EXPECT_EQ(read.rows, (ListRows{{0, u"作図", u"", u"", u""}, {2, u"LINE", u"線", u"", u""}}));

    // Where the menu's reload would show the error box or load the
    // garbage, the quiet one says why it gives nothing.
    fake.files.unreadable[kPath] = u"used by another process";
    EXPECT_EQ(loadMorvaneListQuietly(kPath, fake.services).outcome, QuietReadOutcome::CannotOpen);
    fake.files.unreadable.clear();
    fake.files.files[kPath] = "LINE\t\x90";
    const QuietListLoad broken = loadMorvaneListQuietly(kPath, fake.services);
    EXPECT_EQ(broken.outcome, QuietReadOutcome::InvalidBytes);
    EXPECT_TRUE(broken.rows.empty());
}

} // namespace
} // namespace morvane
