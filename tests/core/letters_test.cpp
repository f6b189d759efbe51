#include <gtest/gtest.h>

#include "text/letters.h"

namespace morvane {
namespace {

TEST(Letters, UpperCaseChangesOnlyAsciiLetters) {
    EXPECT_EQ(upperAscii(u"abz{`@AZ"), u"ABZ{`@AZ");
    EXPECT_EQ(upperAscii(u"éｆäß"), u"éｆäß");
}

TEST(Letters, TrimRemovesEveryCodeUpTo32) {
    EXPECT_EQ(trimBlanks(u"\x01\t a b \r\n\x1f"), u"a b");
    EXPECT_EQ(trimBlanks(u"\u3000x\u3000"), u"\u3000x\u3000"); // ideographic space is text
    EXPECT_EQ(trimBlanks(u" \t "), u"");
    EXPECT_TRUE(isBlank(std::u16string(u"\0 \x1f", 3)));
    EXPECT_FALSE(isBlank(u" x"));
}

TEST(Letters, FormatFillsPlaceholdersInTurn) {
    EXPECT_EQ(formatText(u"ファイル %s は開けません。 %s ", {u"C:\\a.txt", u"denied"}),
              u"ファイル C:\\a.txt は開けません。 denied ");
    EXPECT_EQ(formatText(u"(%d) %s", {u"-1"}), u"(-1) %s");
    EXPECT_EQ(toDecimal(-2147483648LL), u"-2147483648");
    EXPECT_EQ(toDecimal(0), u"0");
}

} // namespace
} // namespace morvane
