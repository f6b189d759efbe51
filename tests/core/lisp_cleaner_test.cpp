// The LISP line cleaner: strings, line comments and block comments removed,
// tabs turned into blanks, one output line per source line.
#include <gtest/gtest.h>

#include "lisp/lsp_cleaner.h"

namespace morvane {
namespace {

struct CleanCase {
    const char* name;
    friend void PrintTo(const CleanCase& c, std::ostream* os) { *os << c.name; }
    LspLines source;
    LspLines cleaned;
};

class CleanLines : public testing::TestWithParam<CleanCase> {};

TEST_P(CleanLines, KeepsOnlyCodeOutsideStringsAndComments) {
    LspLines out;
    cleanLspLines(GetParam().source, out);
    EXPECT_EQ(out, GetParam().cleaned);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, CleanLines,
    testing::Values(
        CleanCase{"worked_example",
                  {u";; Draw a box", u"(defun c:Box ( / p1 p2)",
                   u"\t(setq p1 (getpoint \"\\nFirst corner: \")) ; ask",
                   u"  (princ \"a;b \\\"x\\\" |;\")", u") ;| block comment",
                   u"still comment (x) |; (setq y 2)", u"(setq path \"C:\\\\dir\\\\\") (setq z 3)"},
                  {u"", u"(defun c:Box ( / p1 p2)", u" (setq p1 (getpoint )) ", u"  (princ )",
                   u") ", u" (setq y 2)", u"(setq path ) (setq z 3)"}},
        CleanCase{"empty_source", {}, {}},
        CleanCase{"blank_and_comment_lines_stay_as_lines",
                  {u"", u"; c", u"a", u"   "},
                  {u"", u"", u"a", u"   "}},
        CleanCase{"quote_first_on_line_flips_despite_backslash_above",
                  {u"(a \"x\\", u"\"b c"},
                  {u"(a ", u"b c"}},
        CleanCase{"backslash_quote_at_line_start_is_escaped", {u"\\\"x"}, {u"\\x"}},
        CleanCase{"two_backslashes_then_quote_flips", {u"a\\\\\"s\"b"}, {u"a\\\\b"}},
        CleanCase{"three_backslashes_then_quote_flips_too", {u"(p \"a\\\\\\\"b\" c)"}, {u"(p b"}},
        CleanCase{"open_string_swallows_following_lines",
                  {u"(a \"x", u"(b) (c)", u"y\" (d)"},
                  {u"(a ", u"", u" (d)"}},
        CleanCase{"semicolon_last_on_line_ends_it", {u"(a) ;"}, {u"(a) "}},
        CleanCase{"bar_semicolon_outside_block_keeps_bar", {u"a|;b c"}, {u"a|b c"}},
        CleanCase{"block_opens_at_line_end_and_closes_later",
                  {u"(a) ;|", u"(x)", u"|;(b)"},
                  {u"(a) ", u"", u"(b)"}},
        CleanCase{"semicolon_between_bars_opens_block", {u"a |;| b", u"c |; d"}, {u"a |", u" d"}},
        CleanCase{"line_comment_in_block_hides_closing_mark",
                  {u";| x", u"; y |; z", u"w |; v"},
                  {u"", u"", u" v"}},
        CleanCase{"odd_quotes_in_block_hide_closing_mark",
                  {u";| say \" |; (a)", u"\" |; (b)"},
                  {u"", u" (b)"}},
        CleanCase{"tab_in_string_or_comment_dropped",
                  {u"a\t\"\t\"\tb ;\tc", u";|\t|;\tx"},
                  {u"a  b ", u" x"}},
        CleanCase{
            "block_comment_swallows_quotes_of_a_string", {u";| \"a\" |; (b \";\")"}, {u" (b )"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CleanLspLines, AppendsWithoutClearing) {
    LspLines out{u"kept"};
    cleanLspLines({u"a", u"b"}, out);
    EXPECT_EQ(out, (LspLines{u"kept", u"a", u"b"}));
}

} // namespace
} // namespace morvane
