// The row, command and search views as node lists.
#include <gtest/gtest.h>

#include "list/pins.h"
#include "list/search_index.h"
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

ListRows searchRows() {
    return {{0, u"abc", u"ｆｕｌｌ", u"", u""},    {1, u"ABC", u"Ｆｕｌｌ", u"t.lsp", u""},
            {2, u"Abd", u"線", u"", u""},          {3, u"G", u"", u"", u""},
            {4, u"LINE", u"線分を描く", u"", u""}, {5, u"ﾗｲﾝ", u"ﾊﾟｲﾌﾟ ｶﾞｲﾄﾞ", u"", u""},
            {6, u"x", u"A B", u"", u""},           {7, u"😀", u"絵文字", u"", u""}};
}

class SearchView : public testing::TestWithParam<SearchCase> {};

TEST_P(SearchView, FiltersOnTheFoldedDisplayText) {
    auto records = searchRows();
    const SearchIndex index(records);
    for (const SearchIndex* used : {static_cast<const SearchIndex*>(nullptr), &index}) {
        const auto nodes = reorderIntoSearchView(records, GetParam().key, nullptr, used);
        std::vector<int32_t> rows;
        for (const auto& node : *nodes)
            rows.push_back(node.row);
        EXPECT_EQ(rows, GetParam().rows) << (used ? "with the index" : "without the index");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SearchView,
    testing::Values(SearchCase{"empty_key_is_command_view", u"", {1, 2, 4, 0, 6, 7, 5}},
                    SearchCase{"ascii_case_ignored", u"aBc", {1, 0}},
                    SearchCase{"fullwidth_lower_matches_both", u"ｆ", {1, 0}},
                    SearchCase{"fullwidth_capital_matches_both", u"Ｆ", {1, 0}},
                    SearchCase{"ascii_matches_fullwidth", u"full", {1, 0}},
                    SearchCase{"bracket", u"[", {2, 4, 0, 6, 7, 5}}, SearchCase{"brace", u"{", {1}},
                    SearchCase{"blank_matches_all", u" ", {1, 2, 4, 0, 6, 7, 5}},
                    SearchCase{"blanks_alone_match_all", u" \u3000 ", {1, 2, 4, 0, 6, 7, 5}},
                    SearchCase{"blank_at_end_separates_nothing", u"c] ", {0}},
                    SearchCase{"japanese", u"線", {2, 4}},
                    SearchCase{"hiragana_finds_katakana", u"らいん", {5}},
                    SearchCase{"katakana_finds_halfwidth", u"パイプ", {5}},
                    SearchCase{"halfwidth_finds_voiced", u"ｶﾞｲﾄﾞ", {5}},
                    SearchCase{"halfwidth_finds_hiragana_row", u"ｦ描ｸ", {4}},
                    SearchCase{"katakana_finds_hiragana_row", u"ヲ描ク", {4}},
                    SearchCase{"fullwidth_search_finds_ascii_row", u"ｌｉｎｅ", {4}},
                    SearchCase{"two_words_any_order", u"線分 line", {4}},
                    SearchCase{"ideographic_space_separates", u"line\u3000を", {4}},
                    SearchCase{"every_word_needed", u"line ﾊﾟｲﾌﾟ", {}},
                    SearchCase{"words_not_side_by_side", u"[x] b", {6}},
                    SearchCase{"was_one_run_now_two_words", u"a b", {1, 2, 0, 6}},
                    SearchCase{"surrogate_pair", u"😀", {7}}, SearchCase{"no_match", u"zzz", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every keystroke reads the index; reordering the rows must not disturb it,
// and an index left from an earlier list must not change what is found.
TEST(SearchIndexTest, GivesTheSameNodesAsFoldingOnTheSpot) {
    auto records = searchRows();
    SearchIndex index(records);
    reorderIntoRowView(records);
    for (const auto* key : {u"a", u"らいん", u"線 ｌ", u"{", u""})
        EXPECT_EQ(reorderIntoSearchView(records, key, nullptr, &index),
                  reorderIntoSearchView(records, key));
    // A reload: the same keys hold other texts, some of the same length.
    records[0].description = u"ＥＭＰＴＹ";
    records[2].command = u"XYZ";
    records[4].file = u"line.lsp";
    records.push_back({40, u"late", u"added", u"", u""});
    for (const auto* key : {u"full", u"xyz", u"{", u"late", u"abd"})
        EXPECT_EQ(reorderIntoSearchView(records, key, nullptr, &index),
                  reorderIntoSearchView(records, key))
            << testing::PrintToString(std::u16string(key));
    index.rebuild(records);
    const ListRow* late = findRow(records, 40);
    ASSERT_TRUE(late && index.foldedText(*late));
    EXPECT_EQ(*index.foldedText(*late), u"[LATE] ADDED");
}

TEST(SearchIndexTest, HoldsCommandEntriesOnly) {
    const ListRows records{{0, u"G", u"", u"", u""},
                           {1, u"ｌ", u"せん", u"a.lsp", u""},
                           {-5, u"n", u"negative key", u"", u""},
                           {1000000, u"f", u"far key", u"", u""}};
    const SearchIndex index(records);
    EXPECT_FALSE(index.foldedText(records[0]));
    ASSERT_TRUE(index.foldedText(records[1]));
    EXPECT_EQ(*index.foldedText(records[1]), u"{L} セン");
    EXPECT_FALSE(index.foldedText(records[2]));
    EXPECT_FALSE(index.foldedText(records[3])); // folded on the spot instead
}

TEST(TreeModel, FindsRecordsByRowWhateverTheOrder) {
    auto records = sample();
    reorderIntoCommandView(records);
    ASSERT_NE(findRow(records, 4), nullptr);
    EXPECT_EQ(findRow(records, 4)->command, u"Y");
    EXPECT_EQ(findRow(records, 3), nullptr);
}

} // namespace
} // namespace morvane
