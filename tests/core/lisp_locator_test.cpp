// The DEFUN locator: top-level definitions with their extent, nested ones as
// rows of their own after the outer definition.
#include <gtest/gtest.h>

#include "lisp/defun_locator.h"
#include "services/services.h"

namespace morvane {
namespace {

const std::u16string kFill = u"         ";

struct LocateCase {
    const char* name;
    friend void PrintTo(const LocateCase& c, std::ostream* os) { *os << c.name; }
    LspLines cleaned;
    LspLines rows;
};

class FindDefuns : public testing::TestWithParam<LocateCase> {};

TEST_P(FindDefuns, ReportsDefinitionsAndNestedRows) {
    LspLines out{u"stale"};
    findDefuns(GetParam().cleaned, out, true, platformServices().collator);
    EXPECT_EQ(out, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, FindDefuns,
    testing::Values(
        LocateCase{"worked_example",
                   {u"", u"(defun c:Box ( / p1 p2)", u"  (setq p1 (getpoint ))", u"  (princ)", u")",
                    u"(setq n 0) (DEFUN c:Zm () (command  ) (princ))", u"(defun my-scale (ent fac",
                    u"                 / ss)", u"  (defun inner2 (x) x)", u"  (Defun Inner1 (y) y)",
                    u"  (* fac 2))", u"(defun c:Broken", u"  (princ))"},
                   {u"c:Box ," + kFill + u",1,0,4,0", u"c:Zm ," + kFill + u",5,11,5,45",
                    u"my-scale ," + kFill + u",6,0,10,11", u"my-scale ,Inner1 ,9,2",
                    u"my-scale ,inner2 ,8,2"}},
        LocateCase{"no_definition_clears_output", {u"(setq a 1)"}, {}},
        LocateCase{"any_letter_case", {u"(dEfUn c:a () 1)"}, {u"c:a ," + kFill + u",0,0,0,15"}},
        LocateCase{"blank_after_parenthesis_prevents_match", {u"( defun c:a () 1)"}, {}},
        LocateCase{"tab_after_word_prevents_match", {u"(defun\tc:a () 1)"}, {}},
        LocateCase{"two_blanks_give_leading_blank",
                   {u"(defun  c:a () 1)"},
                   {u" c:a ," + kFill + u",0,0,0,16"}},
        LocateCase{
            "no_blank_before_arguments", {u"(defun c:a() 1)"}, {u"c:a," + kFill + u",0,0,0,14"}},
        LocateCase{"empty_name", {u"(defun () 1)"}, {u"," + kFill + u",0,0,0,11"}},
        LocateCase{"second_definition_on_line_not_found",
                   {u"(defun a () 1) (defun b () 2)"},
                   {u"a ," + kFill + u",0,0,0,13"}},
        LocateCase{"parentheses_left_of_start_not_counted",
                   {u") ) (defun a () 1)"},
                   {u"a ," + kFill + u",0,4,0,17"}},
        LocateCase{"blank_lines_inside_change_nothing",
                   {u"(defun a (x)", u"", u"   ", u"  x", u")"},
                   {u"a ," + kFill + u",0,0,4,0"}},
        LocateCase{"nested_on_first_line_not_reported",
                   {u"(defun a () (defun b () 1)", u"  (defun c () 2))"},
                   {u"a ," + kFill + u",0,0,1,16", u"a ,c ,1,2"}},
        LocateCase{"unbalanced_gives_no_row_and_swallows_later_ones",
                   {u"(defun a (x)", u"  (defun b () 1)", u"(defun c () 2)"},
                   {}},
        LocateCase{"name_needs_parenthesis_on_same_line",
                   {u"(defun c:Broken", u"  (princ))", u"(defun ok () 1)"},
                   {u"ok ," + kFill + u",2,0,2,14"}},
        LocateCase{"only_first_nested_of_a_line",
                   {u"(defun a ()", u" (defun b () 1) (defun c () 2)", u")"},
                   {u"a ," + kFill + u",0,0,2,0", u"a ,b ,1,1"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindDefuns, EmptyInputLeavesOutputAlone) {
    LspLines out{u"kept"};
    findDefuns({}, out, true, platformServices().collator);
    EXPECT_EQ(out, LspLines{u"kept"});
}

TEST(FindDefuns, WithoutFillTheSecondFieldIsEmpty) {
    LspLines out;
    findDefuns({u"(defun c:a () 1)"}, out, false, platformServices().collator);
    EXPECT_EQ(out, LspLines{u"c:a ,,0,0,0,15"});
}

} // namespace
} // namespace morvane
