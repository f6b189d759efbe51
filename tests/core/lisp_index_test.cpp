// The command index builder and its parts: comma lists, argument lists,
// comment blocks, descriptions and the rows they make.
#include <gtest/gtest.h>

#include "lisp/comma_list.h"
#include "lisp/comment_block.h"
#include "lisp/lsp_index.h"
#include "list/list_file.h"
#include "services/services.h"
#include "text/user_error.h"

namespace morvane {
namespace {

using Items = std::vector<std::u16string>;

struct CommaCase {
    const char* name;
    friend void PrintTo(const CommaCase& c, std::ostream* os) { *os << c.name; }
    std::u16string text;
    Items items;
};

class SplitCommaList : public testing::TestWithParam<CommaCase> {};

TEST_P(SplitCommaList, BlanksAndCommasSeparate) {
    const auto views = splitCommaList(GetParam().text);
    EXPECT_EQ(Items(views.begin(), views.end()), GetParam().items);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SplitCommaList,
    testing::Values(
        CommaCase{"empty", u"", {}}, CommaCase{"only_blanks", u" \t ", {}},
        CommaCase{"blanks_separate", u"  a  b ", {u"a", u"b"}},
        CommaCase{"comma_with_blanks_counts_once", u"a , b", {u"a", u"b"}},
        CommaCase{"two_commas_enclose_empty_item", u"a, ,b", {u"a", u"", u"b"}},
        CommaCase{"comma_at_end_adds_empty_item", u"a,", {u"a", u""}},
        CommaCase{"comma_then_blanks_at_end_adds_nothing", u"a, ", {u"a"}},
        CommaCase{"leading_comma_gives_empty_item", u",a", {u"", u"a"}},
        CommaCase{"control_characters_are_blanks",
                  u"a\x01"
                  u"b\x1F"
                  u"c",
                  {u"a", u"b", u"c"}},
        CommaCase{"nul_is_not_a_blank", std::u16string(u"a\0b", 3), {std::u16string(u"a\0b", 3)}},
        CommaCase{"definition_row_gives_six_fields",
                  u"c:Box ,         ,5,0,10,0",
                  {u"c:Box", u"", u"5", u"0", u"10", u"0"}},
        CommaCase{"nested_row_gives_four_fields",
                  u"C:zm2 ,inner ,20,2",
                  {u"C:zm2", u"inner", u"20", u"2"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ArgsCase {
    const char* name;
    friend void PrintTo(const ArgsCase& c, std::ostream* os) { *os << c.name; }
    LspLines cleaned;
    int32_t line, column;
    std::u16string args;
};

class GetDefunArgs : public testing::TestWithParam<ArgsCase> {};

TEST_P(GetDefunArgs, ExtractsTheArgumentItems) {
    const auto& c = GetParam();
    EXPECT_EQ(getDefunArgs(c.cleaned, c.line, c.column), c.args);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, GetDefunArgs,
    testing::Values(
        ArgsCase{"slash_ends_arguments", {u"(defun c:a (x y / z) 1)"}, 0, 0, u"x\r\ny\r\n"},
        ArgsCase{"only_locals_give_nothing", {u"(defun c:Box ( / p1 p2)"}, 0, 0, u""},
        ArgsCase{"empty_list", {u"(defun c:a () 1)"}, 0, 0, u""},
        ArgsCase{"starts_at_column", {u"(a) (defun f (p) p)"}, 0, 4, u"p\r\n"},
        ArgsCase{"commas_separate", {u"(defun a (x,y , z) 1)"}, 0, 0, u"x\r\ny\r\nz\r\n"},
        ArgsCase{"empty_item_between_commas", {u"(defun a (x,,y) 1)"}, 0, 0, u"x\r\n\r\ny\r\n"},
        ArgsCase{"parenthesis_ends_line",
                 {u"(defun C:zm2 (", u"   lo hi", u"   / old)", u"  1)"},
                 0,
                 0,
                 u"lo\r\nhi\r\n"},
        ArgsCase{"start_skips_empty_lines_but_not_blank_ones",
                 {u"(defun a (", u"", u"  ", u"x)"},
                 0,
                 0,
                 u"x\r\n"},
        ArgsCase{"closing_first_on_line_ends_at_line_above",
                 {u"(defun a (x", u"   y", u"", u")", u"1)"},
                 0,
                 0,
                 u"x\r\ny\r\n"},
        ArgsCase{"end_above_start_gives_nothing", {u"(defun a (", u"", u")"}, 0, 0, u""},
        ArgsCase{"third_parenthesis_gives_up", {u"(defun a ((x) y) 1)"}, 0, 0, u""},
        ArgsCase{"lines_run_out", {u"(defun a (x", u"  y"}, 0, 0, u""},
        ArgsCase{"line_past_the_end", {u"(defun a (x) 1)"}, 5, 0, u""}),
    [](const auto& info) { return std::string(info.param.name); });

struct CommentCase {
    const char* name;
    friend void PrintTo(const CommentCase& c, std::ostream* os) { *os << c.name; }
    LspLines source;
    int32_t line;
    std::u16string block;
    std::optional<std::u16string> description;
};

class CommentBlock : public testing::TestWithParam<CommentCase> {};

TEST_P(CommentBlock, CollectsTheBlockAndChoosesItsDescription) {
    const auto& c = GetParam();
    const auto block = getDefunComment(c.source, c.line);
    EXPECT_EQ(block, c.block);
    EXPECT_EQ(chooseDescription(block), c.description);
    CommentBlocks blocks(c.source);
    EXPECT_EQ(blocks.description(static_cast<size_t>(c.line)), c.description);
}

const std::u16string kDef = u"(defun c:a () 1)";

INSTANTIATE_TEST_SUITE_P(
    Rules, CommentBlock,
    testing::Values(
        CommentCase{"first_line_has_none", {kDef}, 0, u"", std::nullopt},
        CommentCase{"empty_line_above", {u";; x y", u"", kDef}, 2, u"", std::nullopt},
        CommentCase{"code_line_above", {u";; x y", u"(a)", kDef}, 2, u"", std::nullopt},
        CommentCase{"worked_example_block",
                    {u";;; drawing tools", u"", u";; ================", u";; Box : draw a box",
                     u";;   from two corners", kDef},
                    5,
                    u"   ================\r\n   Box : draw a box\r\n     from two corners",
                    u"Box : draw a box"},
        CommentCase{"block_reaching_first_line_counts", {u";; top", kDef}, 1, u"   top", u"top"},
        CommentCase{"indented_comment_lines_count", {u"\t  ;; x y  ", kDef}, 1, u"   x y", u"x y"},
        CommentCase{"only_semicolons_skipped", {u";;;;;;;;;;;;", kDef}, 1, u"  ", std::nullopt},
        CommentCase{"only_first_character_skipped",
                    {u";; ------------", u";; x", kDef},
                    2,
                    u"   ------------\r\n   x",
                    std::nullopt},
        CommentCase{"first_character_kept_when_more_follows",
                    {u";; = Title =", kDef},
                    1,
                    u"   = Title =",
                    u"= Title ="},
        CommentCase{"inner_semicolons_removed_blanks_stay",
                    {u";;; Box ;;; draws a box", kDef},
                    1,
                    u"   Box  draws a box",
                    u"Box  draws a box"},
        CommentCase{"letter_case_counts_for_first_character", {u";; aA", kDef}, 1, u"   aA", u"aA"},
        CommentCase{"comment_run_including_definition_line",
                    {u";;;;", u";||;(defun c:a () 1)", u";; later"},
                    2,
                    u"  \r\n  ||(defun c:a () 1)",
                    u"||(defun c:a () 1)"},
        CommentCase{"line_past_the_end_has_none", {u";; x y"}, 3, u"", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct IndexCase {
    const char* name;
    friend void PrintTo(const IndexCase& c, std::ostream* os) { *os << c.name; }
    LspLines source;
    LspLines rows;
};

class MakeLspIndex : public testing::TestWithParam<IndexCase> {};

TEST_P(MakeLspIndex, BuildsOneRowPerCommand) {
    LspLines rows{u"kept"};
    makeLspIndex(GetParam().source, rows, platformServices().collator);
    auto expected = GetParam().rows;
    expected.insert(expected.begin(), u"kept");
    EXPECT_EQ(rows, expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, MakeLspIndex,
    testing::Values(
        IndexCase{"worked_example",
                  {u";;; drawing tools",
                   u"",
                   u";; ================",
                   u";; Box : draw a box",
                   u";;   from two corners",
                   u"(defun c:Box ( / p1 p2)",
                   u"  (setq p1 (getpoint \"\\nFirst corner: \")",
                   u"        p2 (getcorner p1 \"\\nOther corner: \"))",
                   u"  (command \"_.RECTANG\" p1 p2)",
                   u"  (princ)",
                   u")",
                   u"",
                   u"; scale utility",
                   u"(defun my-scale (ent fac / ss)",
                   u"  (* fac 2)",
                   u")",
                   u";-----------------",
                   u"(defun C:zm2 (",
                   u"   lo hi",
                   u"   / old)",
                   u"  (defun inner (x) x)",
                   u"  (command \"_.ZOOM\" lo hi)",
                   u")"},
                  {u"BOX\tBox : draw a box", u"ZM2 LO HI\t..."}},
        IndexCase{"no_definition", {u"(setq a 1)"}, {}},
        IndexCase{"no_command", {u"(defun helper (x) x)"}, {}},
        IndexCase{"ordered_by_name_letter_case_ignored",
                  {u"(defun c:zeta () 1)", u"(defun C:Alpha () 1)", u"(defun c:beta () 1)"},
                  {u"ALPHA\t...", u"BETA\t...", u"ZETA\t..."}},
        IndexCase{"only_a_to_z_become_capitals", {u"(defun c:Zä_b () 1)"}, {u"Zä_B\t..."}},
        IndexCase{"arguments_over_lines_with_commas",
                  {u";; Move things", u"(defun c:mv (a,", u"   b", u"   c / d)", u"  1)"},
                  {u"MV A B C\tMove things"}},
        IndexCase{"comment_on_or_below_definition_line_unused",
                  {u"(defun c:a () ; on the line", u"  ;; below", u"  1)"},
                  {u"A\t..."}},
        IndexCase{"definition_below_code_has_no_description",
                  {u";; words", u"(setq x 1)", u"(defun c:a () 1)"},
                  {u"A\t..."}},
        IndexCase{"name_with_inner_blank_skipped", {u"(defun c:a b (x) 1)"}, {}},
        IndexCase{"bare_prefix_gives_empty_command", {u";; Bare", u"(defun c: () 1)"}, {u"\tBare"}},
        IndexCase{
            "tab_in_description_becomes_blank", {u";; a\tb", u"(defun c:a () 1)"}, {u"A\ta b"}},
        IndexCase{"leading_quote_makes_quoted_field",
                  {u";; \"q\" x", u"(defun c:a () 1)"},
                  {u"A\t\"\"\"q\"\" x\""}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MakeLspIndex, MalformedNestedRowStopsWithIntegerError) {
    const LspLines source{u"(defun x y ()", u" (defun z w () 1)", u")"};
    LspLines rows;
    try {
        makeLspIndex(source, rows, platformServices().collator);
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"'z' is not a valid integer value");
    }
}

TEST(MakeLspIndex, NestedRowPointingPastTheFileIsAnError) {
    const LspLines source{u"(defun c:x y ()", u" (defun 99 0 () 1)", u")"};
    LspLines rows;
    EXPECT_THROW(makeLspIndex(source, rows, platformServices().collator), UserError);
}

struct RoundTripCase {
    const char* name;
    friend void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }
    std::u16string comment;
    std::u16string readBack;
};

class DescriptionRoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(DescriptionRoundTrip, ReadsBackAsTheSameCommandRow) {
    LspLines rows;
    makeLspIndex({u";; " + GetParam().comment, u"(defun c:go (a b) 1)"}, rows,
                 platformServices().collator);
    ASSERT_EQ(rows.size(), 1u);
    const auto record = classifyListLine(rows[0], 4);
    ASSERT_TRUE(record);
    EXPECT_EQ(*record, (ListRow{4, u"GO A B", GetParam().readBack, u"", u""}));
}

INSTANTIATE_TEST_SUITE_P(
    Descriptions, DescriptionRoundTrip,
    testing::Values(RoundTripCase{"plain", u"Draw it", u"Draw it"},
                    RoundTripCase{"tab_inside", u"a\tC:\\x.lsp", u"a C:\\x.lsp"},
                    RoundTripCase{"leading_quote", u"\"q\" x", u"\"q\" x"},
                    RoundTripCase{"leading_quote_and_tab", u"\"a\tb\"\tc.exe", u"\"a b\" c.exe"},
                    RoundTripCase{"inner_quote", u"say \"hi\"", u"say \"hi\""},
                    RoundTripCase{"quoted_word", u"\"a\"", u"\"a\""}),
    [](const auto& info) { return std::string(info.param.name); });

struct IntCase {
    const char* name;
    friend void PrintTo(const IntCase& c, std::ostream* os) { *os << c.name; }
    std::u16string text;
    std::optional<int32_t> value;
};

class RowFieldToInt : public testing::TestWithParam<IntCase> {};

TEST_P(RowFieldToInt, ReadsDecimalOrNamesTheText) {
    const auto& c = GetParam();
    if (c.value) {
        EXPECT_EQ(rowFieldToInt(c.text), *c.value);
        return;
    }
    try {
        rowFieldToInt(c.text);
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"'" + c.text + u"' is not a valid integer value");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, RowFieldToInt,
    testing::Values(IntCase{"zero", u"0", 0}, IntCase{"plain", u"17", 17},
                    IntCase{"signs", u"-3", -3}, IntCase{"plus", u"+4", 4},
                    IntCase{"largest", u"2147483647", 2147483647},
                    IntCase{"smallest", u"-2147483648", -2147483647 - 1},
                    IntCase{"empty", u"", std::nullopt}, IntCase{"sign_only", u"-", std::nullopt},
                    IntCase{"word", u"inner", std::nullopt},
                    IntCase{"trailing_letter", u"1a", std::nullopt},
                    IntCase{"too_large", u"2147483648", std::nullopt},
                    IntCase{"far_too_large", u"99999999999999999999", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace morvane
