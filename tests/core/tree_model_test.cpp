// The row, command and search views as node lists.
#include <gtest/gtest.h>

#include "list/tree_model.h"

namespace morvane {
namespace {

TreeNode group(std::u16string text, int32_t row, std::vector<TreeNode> children = {}) {
    return TreeNode{std::move(text), row, kGroupImage, std::move(children)};
}
TreeNode entry(std::u16string text, int32_t row) {
    return TreeNode{std::move(text), row, kCommandImage, {}};
}

// Group A, X, Y with a file, group B, Z; plus an entry before the first group.
LspRecordArray sample() {
    return {{0, u"early", u"before groups", u"", u""},
            {1, u"A", u"", u"", u""},
            {2, u"X", u"ex", u"", u""},
            {4, u"Y", u"why", u"y.lsp", u""},
            {5, u"B", u"", u"", u""},
            {6, u"Z", u"zed", u"", u""}};
}

TEST(TreeModel, DisplayTextUsesBracketsOrBraces) {
    EXPECT_EQ(displayText({0, u"BOX", u"draw", u"", u""}), u"[BOX] draw");
    EXPECT_EQ(displayText({0, u"L", u"load", u"a.lsp", u""}), u"{L} load");
    EXPECT_EQ(displayText({0, u"S", u" ", u"", u""}), u"[S]  ");
}

TEST(TreeModel, RowViewNestsEntriesUnderTheirGroups) {
    auto records = sample();
    const auto nodes = makeRowView(records);
    ASSERT_TRUE(nodes);
    EXPECT_EQ(*nodes, (TreeNodes{group(u"A", 1, {entry(u"[X] ex", 2), entry(u"{Y} why", 4)}),
                                 group(u"B", 5, {entry(u"[Z] zed", 6)})}));
}

TEST(TreeModel, RowViewRestoresFileOrder) {
    auto records = sample();
    std::reverse(records.begin(), records.end());
    const auto nodes = makeRowView(records);
    EXPECT_EQ(records, sample());
    EXPECT_EQ(nodes->front().text, u"A");
}

TEST(TreeModel, RowViewWithoutGroupsIsEmptyAndGroupsOnlyHaveNoChildren) {
    LspRecordArray noGroups{{0, u"X", u"x", u"", u""}};
    EXPECT_TRUE(makeRowView(noGroups)->empty());
    LspRecordArray groupsOnly{{0, u"G1", u"", u"", u""}, {1, u"G2", u"", u"", u""}};
    EXPECT_EQ(*makeRowView(groupsOnly), (TreeNodes{group(u"G1", 0), group(u"G2", 1)}));
    EXPECT_TRUE(makeCommandView(groupsOnly)->empty());
}

TEST(TreeModel, EmptyArrayLeavesTheTreeUntouched) {
    LspRecordArray none;
    EXPECT_FALSE(makeRowView(none));
    EXPECT_FALSE(makeCommandView(none));
    EXPECT_FALSE(makeSearchView(none, u"x"));
}

TEST(TreeModel, CommandViewListsEveryEntryInCommandOrder) {
    auto records = sample();
    EXPECT_EQ(*makeCommandView(records),
              (TreeNodes{entry(u"[X] ex", 2), entry(u"{Y} why", 4), entry(u"[Z] zed", 6),
                         entry(u"[early] before groups", 0)}));
    EXPECT_EQ(records[0].command, u"A"); // the array keeps command order
}

struct SearchCase {
    const char* name;
    friend void PrintTo(const SearchCase& c, std::ostream* os) { *os << c.name; }
    std::u16string key;
    std::vector<int32_t> rows;
};

class SearchView : public testing::TestWithParam<SearchCase> {};

TEST_P(SearchView, FiltersOnTheFoldedDisplayText) {
    LspRecordArray records{{0, u"abc", u"ｆｕｌｌ", u"", u""},
                           {1, u"ABC", u"Ｆｕｌｌ", u"t.lsp", u""},
                           {2, u"Abd", u"線", u"", u""},
                           {3, u"G", u"", u"", u""}};
    const auto nodes = makeSearchView(records, GetParam().key);
    std::vector<int32_t> rows;
    for (const auto& node : *nodes)
        rows.push_back(node.row);
    EXPECT_EQ(rows, GetParam().rows);
}

INSTANTIATE_TEST_SUITE_P(Keys, SearchView,
                         testing::Values(SearchCase{"empty_key_is_command_view", u"", {1, 2, 0}},
                                         SearchCase{"ascii_case_ignored", u"aBc", {1, 0}},
                                         SearchCase{"fullwidth_case_kept", u"ｆ", {0}},
                                         SearchCase{"fullwidth_capital", u"Ｆ", {1}},
                                         SearchCase{"bracket", u"[", {2, 0}},
                                         SearchCase{"brace", u"{", {1}},
                                         SearchCase{"blank_matches_all", u" ", {1, 2, 0}},
                                         SearchCase{"blank_counts", u"c] ", {0}},
                                         SearchCase{"japanese", u"線", {2}},
                                         SearchCase{"no_match", u"zzz", {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(TreeModel, FindsRecordsByRowWhateverTheOrder) {
    auto records = sample();
    makeCommandView(records);
    ASSERT_NE(findRecordByRow(records, 4), nullptr);
    EXPECT_EQ(findRecordByRow(records, 4)->command, u"Y");
    EXPECT_EQ(findRecordByRow(records, 3), nullptr);
}

} // namespace
} // namespace morvane
