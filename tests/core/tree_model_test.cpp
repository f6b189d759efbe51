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
ListRows sample() {
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
    const auto nodes = reorderIntoRowView(records);
    ASSERT_TRUE(nodes);
    EXPECT_EQ(*nodes, (TreeNodes{group(u"A", 1, {entry(u"[X] ex", 2), entry(u"{Y} why", 4)}),
                                 group(u"B", 5, {entry(u"[Z] zed", 6)})}));
}

TEST(TreeModel, RowViewRestoresFileOrder) {
    auto records = sample();
    std::reverse(records.begin(), records.end());
    const auto nodes = reorderIntoRowView(records);
    EXPECT_EQ(records, sample());
    EXPECT_EQ(nodes->front().text, u"A");
}

TEST(TreeModel, RowViewWithoutGroupsIsEmptyAndGroupsOnlyHaveNoChildren) {
    ListRows noGroups{{0, u"X", u"x", u"", u""}};
    EXPECT_TRUE(reorderIntoRowView(noGroups)->empty());
    ListRows groupsOnly{{0, u"G1", u"", u"", u""}, {1, u"G2", u"", u"", u""}};
    EXPECT_EQ(*reorderIntoRowView(groupsOnly), (TreeNodes{group(u"G1", 0), group(u"G2", 1)}));
    EXPECT_TRUE(reorderIntoCommandView(groupsOnly)->empty());
}

TEST(TreeModel, EmptyArrayLeavesTheTreeUntouched) {
    ListRows none;
    EXPECT_FALSE(reorderIntoRowView(none));
    EXPECT_FALSE(reorderIntoCommandView(none));
    EXPECT_FALSE(reorderIntoSearchView(none, u"x"));
}

TEST(TreeModel, CommandViewListsEveryEntryInCommandOrder) {
    auto records = sample();
    EXPECT_EQ(*reorderIntoCommandView(records),
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
    ListRows records{{0, u"abc", u"ｆｕｌｌ", u"", u""},
                     {1, u"ABC", u"Ｆｕｌｌ", u"t.lsp", u""},
                     {2, u"Abd", u"線", u"", u""},
                     {3, u"G", u"", u"", u""}};
    const auto nodes = reorderIntoSearchView(records, GetParam().key);
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
    reorderIntoCommandView(records);
    ASSERT_NE(findRow(records, 4), nullptr);
    EXPECT_EQ(findRow(records, 4)->command, u"Y");
    EXPECT_EQ(findRow(records, 3), nullptr);
}

} // namespace
} // namespace morvane
