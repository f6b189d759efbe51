// The place on show found again after the list was read again: rows by
// what they are, not by the line they stand on.
#include <gtest/gtest.h>

#include <vector>

#include "list/list_file.h"
#include "list/pins.h"
#include "list/view_place.h"
#include "support/case_name.h"

namespace morvane {

void PrintTo(const TreePlace& place, std::ostream* os) {
    const auto node = [](std::optional<NodeOfRow> n) {
        return n ? std::to_string(n->row) + (n->pinned ? " pinned" : "") : std::string("none");
    };
    *os << "{selected " << node(place.selected) << ", top " << node(place.top) << "}";
}

namespace {

using Lines = std::vector<std::u16string>;

// A place of nodes in their own places (no pin), by the rows' keys.
TreePlace at(std::optional<int32_t> selected, std::optional<int32_t> top) {
    TreePlace place;
    if (selected)
        place.selected = NodeOfRow{*selected, false};
    if (top)
        place.top = NodeOfRow{*top, false};
    return place;
}

struct PlaceCase {
    const char* name;
    friend void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }
    ListView view;
    std::u16string searchText;
    Lines oldLines;
    TreePlace oldPlace; // keys are the old lines' indexes
    Lines newLines;
    TreePlace newPlace; // keys are the new lines' indexes
    std::vector<Pin> pins = {};
};

class FindPlaceAgain : public testing::TestWithParam<PlaceCase> {};

TEST_P(FindPlaceAgain, FollowsTheRowsWhereverTheyMoved) {
    const auto& c = GetParam();
    ListRows oldRows = parseListLines(c.oldLines);
    ListRows newRows = parseListLines(c.newLines);
    const Pins pins(c.pins);
    const auto oldNodes = reorderIntoView(c.view, oldRows, c.searchText, nullptr, nullptr, &pins);
    const auto newNodes = reorderIntoView(c.view, newRows, c.searchText, nullptr, nullptr, &pins);
    ASSERT_TRUE(oldNodes && newNodes);
    EXPECT_EQ(findPlaceAgain(c.oldPlace, oldRows, *oldNodes, newRows, *newNodes), c.newPlace);
}

const Lines kList{u"作図", u"LINE\t線分", u"CIRCLE\t円", u"ARC\t円弧"};

// A group of twenty rows, then one row twice and a last one.
Lines manyRowsThenRepeated() {
    Lines lines{u"作図"};
    for (char16_t c = u'A'; c < u'A' + 20; ++c)
        lines.push_back(std::u16string(1, c) + u"\tコマンド");
    lines.insert(lines.end(), {u"X\tx", u"X\tx", u"END\te"});
    return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Reloads, FindPlaceAgain,
    testing::Values(
        PlaceCase{"same list: same place", ListView::FileOrder, u"", kList, at(2, 1), kList,
                  at(2, 1)},
        PlaceCase{"lines inserted above: selection and top move down with their rows",
                  ListView::FileOrder,
                  u"",
                  kList,
                  at(2, 1),
                  {u"; 新しい行", u"", u"作図", u"LINE\t線分", u"CIRCLE\t円", u"ARC\t円弧"},
                  at(4, 3)},
        PlaceCase{"a description changed: still the same row",
                  ListView::FileOrder,
                  u"",
                  kList,
                  at(2, 0),
                  {u"作図", u"LINE\t線分", u"CIRCLE\t円を描く", u"ARC\t円弧"},
                  at(2, 0)},
        PlaceCase{"the selected row removed: the next row after it",
                  ListView::FileOrder,
                  u"",
                  kList,
                  at(2, 0),
                  {u"作図", u"LINE\t線分", u"ARC\t円弧"},
                  at(2, 0)},
        PlaceCase{"the last row removed: the row before it",
                  ListView::FileOrder,
                  u"",
                  kList,
                  at(3, 0),
                  {u"作図", u"LINE\t線分", u"CIRCLE\t円"},
                  at(2, 0)},
        PlaceCase{"the top group removed: its first row still there is on top",
                  ListView::FileOrder,
                  u"",
                  {u"作図", u"LINE\t線分", u"修正", u"MOVE\t移動"},
                  at(3, 0),
                  {u"修正", u"MOVE\t移動"},
                  at(1, 0)},
        PlaceCase{"a group selected: found by its title",
                  ListView::FileOrder,
                  u"",
                  {u"作図", u"LINE\t線分", u"修正", u"MOVE\t移動"},
                  at(2, 2),
                  {u"修正", u"MOVE\t移動", u"作図", u"LINE\t線分"},
                  at(0, 0)},
        PlaceCase{"a group and an entry of the same name are two rows",
                  ListView::FileOrder,
                  u"",
                  {u"LINE", u"LINE\t線分"},
                  at(1, 0),
                  {u"作図", u"LINE\t線分", u"LINE"},
                  at(1, 2)},
        PlaceCase{"one command with two files: the file tells them apart",
                  ListView::FileOrder,
                  u"",
                  {u"読込", u"LOAD\t読み込む\ta.lsp", u"LOAD\t読み込む\tb.lsp"},
                  at(2, 0),
                  {u"読込", u"LOAD\t読み込む\tb.lsp", u"LOAD\t読み込む\ta.lsp"},
                  at(1, 0)},
        PlaceCase{"the same row twice: the second stays the second",
                  ListView::FileOrder,
                  u"",
                  {u"作図", u"LINE\t線分", u"よく使う", u"LINE\t線分"},
                  at(3, 2),
                  {u"新規", u"作図", u"LINE\t線分", u"よく使う", u"LINE\t線分"},
                  at(4, 3)},
        PlaceCase{"an entry moved before the first group: the file view no longer has it",
                  ListView::FileOrder,
                  u"",
                  kList,
                  at(1, 0),
                  {u"LINE\t線分", u"作図", u"CIRCLE\t円", u"ARC\t円弧"},
                  at(2, 1)},
        PlaceCase{"command order: rows found however the order changed",
                  ListView::CommandOrder,
                  u"",
                  kList,
                  at(2, 3),
                  {u"作図", u"BOX\t箱", u"LINE\t線分", u"CIRCLE\t円", u"ARC\t円弧"},
                  at(3, 4)},
        PlaceCase{"command order: a removed row gives way to the next in that order",
                  ListView::CommandOrder,
                  u"",
                  kList,
                  at(2, 3), // CIRCLE selected; ARC on top; order ARC, CIRCLE, LINE
                  {u"作図", u"LINE\t線分", u"ARC\t円弧"},
                  at(1, 2)},
        PlaceCase{"search results: a row the search no longer finds gives way",
                  ListView::SearchResults,
                  u"円",
                  kList,
                  at(2, 3), // shown: ARC 円弧, CIRCLE 円
                  {u"作図", u"LINE\t線分", u"CIRCLE\t丸", u"ARC\t円弧"},
                  at(3, 3)},
        PlaceCase{"search results: a row the search now finds changes nothing",
                  ListView::SearchResults,
                  u"円",
                  kList,
                  at(2, 3),
                  {u"作図", u"LINE\t線分と円", u"CIRCLE\t円", u"ARC\t円弧"},
                  at(2, 3)},
        PlaceCase{"a long walk past a large block of removed rows",
                  ListView::FileOrder,
                  u"",
                  manyRowsThenRepeated(),
                  at(1, 0), // the first of the twenty
                  {u"作図", u"X\tx", u"END\te"},
                  at(1, 0)},
        PlaceCase{"a long walk reaching the second of two same rows",
                  ListView::FileOrder,
                  u"",
                  manyRowsThenRepeated(),
                  at(1, 0),
                  {u"X\tx", u"作図", u"END\te", u"X\tx"}, // the first X under no group
                  at(3, 1)},
        PlaceCase{"a pinned node stays the pinned node, the pin group the pin group",
                  ListView::FileOrder,
                  u"",
                  kList,
                  {NodeOfRow{1, true}, NodeOfRow{kPinGroupRow}},
                  {u"; 新しい行", u"", u"作図", u"LINE\t線分", u"CIRCLE\t円", u"ARC\t円弧"},
                  {NodeOfRow{3, true}, NodeOfRow{kPinGroupRow}},
                  {{u"LINE", u""}}},
        PlaceCase{"the row in its own place stays there, not in the pin group",
                  ListView::CommandOrder,
                  u"",
                  kList,
                  at(1, 1),
                  {u"作図", u"BOX\t箱", u"LINE\t線分", u"CIRCLE\t円", u"ARC\t円弧"},
                  at(2, 2),
                  {{u"LINE", u""}}},
        PlaceCase{"the pinned row gone: the pin group goes, the rows after it stay",
                  ListView::FileOrder,
                  u"",
                  kList,
                  {NodeOfRow{1, true}, NodeOfRow{kPinGroupRow}},
                  {u"作図", u"CIRCLE\t円", u"ARC\t円弧"},
                  at(0, 0),
                  {{u"LINE", u""}}},
        PlaceCase{"nothing of the old view left: no place",
                  ListView::FileOrder,
                  u"",
                  kList,
                  at(2, 0),
                  {u"修正", u"MOVE\t移動"},
                  at(std::nullopt, std::nullopt)},
        PlaceCase{"nothing selected stays nothing selected",
                  ListView::FileOrder,
                  u"",
                  kList,
                  at(std::nullopt, 1),
                  {u"", u"作図", u"LINE\t線分", u"CIRCLE\t円", u"ARC\t円弧"},
                  at(std::nullopt, 2)}),
    test::CaseName{});

TEST(ReorderIntoView, BuildsTheViewItNames) {
    ListRows rows = parseListLines(kList);
    const auto search = reorderIntoView(ListView::SearchResults, rows, u"円");
    ASSERT_TRUE(search);
    ASSERT_EQ(search->size(), 2u);
    EXPECT_EQ((*search)[0].text, u"[ARC] 円弧");
    ASSERT_TRUE(reorderIntoView(ListView::FileOrder, rows, u"円"));
    EXPECT_EQ(rows[0].row, 0) << "file order, the search text counting for nothing";
    const auto commands = reorderIntoView(ListView::CommandOrder, rows, u"円");
    ASSERT_TRUE(commands);
    EXPECT_EQ(commands->size(), 3u);
}

} // namespace
} // namespace morvane
