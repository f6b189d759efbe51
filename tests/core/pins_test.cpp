// Pinned commands: the model, the group "ピン留め" in the views, and the
// settings values they are kept in.
#include <gtest/gtest.h>

#include "list/pins.h"
#include "list/tree_model.h"
#include "support/settings_read_back.h"

namespace morvane {
namespace {

ListRow command(int32_t row, std::u16string cmd, std::u16string description,
                std::u16string file = u"") {
    return ListRow{row, std::move(cmd), std::move(description), std::move(file), u""};
}
ListRow groupRow(int32_t row, std::u16string title) {
    return ListRow{row, std::move(title), u"", u"", u""};
}

// An entry before the first group, group A with LINE, a LISP row and a
// second LINE row (the same command and file), group B with CIRCLE.
ListRows sample() {
    return {command(0, u"EARLY", u"before groups"),
            groupRow(1, u"A"),
            command(2, u"LINE", u"線分"),
            command(3, u"DIM", u"寸法", u"dim.lsp"),
            command(4, u"LINE", u"線分 2"),
            groupRow(5, u"B"),
            command(6, u"CIRCLE", u"円")};
}

TreeNode entry(std::u16string text, int32_t row, bool pinned = false) {
    TreeNode node{std::move(text), row, kCommandImage, {}};
    node.pinned = pinned;
    return node;
}
TreeNode group(std::u16string text, int32_t row, std::vector<TreeNode> children = {}) {
    return TreeNode{std::move(text), row, kGroupImage, std::move(children)};
}
TreeNode pinGroup(std::vector<TreeNode> children) {
    return group(std::u16string(kPinGroupText), kPinGroupRow, std::move(children));
}

std::vector<Pin> pinList(const Pins& pins) {
    return pins.list();
}

TEST(Pins, PinUnpinAndToggleKeepThePinningOrder) {
    const auto rows = sample();
    Pins pins;
    EXPECT_TRUE(pins.pin(rows[6]));
    EXPECT_TRUE(pins.pin(rows[3]));
    EXPECT_TRUE(pins.pin(rows[2]));
    EXPECT_FALSE(pins.pin(rows[2]));
    EXPECT_FALSE(pins.pin(rows[4])) << "the same command and file is the same pin";
    EXPECT_TRUE(pins.isPinned(rows[4]));
    EXPECT_EQ(pinList(pins),
              (std::vector<Pin>{{u"CIRCLE", u""}, {u"DIM", u"dim.lsp"}, {u"LINE", u""}}));

    EXPECT_TRUE(pins.unpin(rows[3]));
    EXPECT_FALSE(pins.unpin(rows[3]));
    EXPECT_FALSE(pins.isPinned(rows[3]));
    EXPECT_TRUE(pins.toggle(rows[3])); // pinned again: now last
    EXPECT_EQ(pinList(pins),
              (std::vector<Pin>{{u"CIRCLE", u""}, {u"LINE", u""}, {u"DIM", u"dim.lsp"}}));
    EXPECT_FALSE(pins.toggle(rows[6]));
    EXPECT_FALSE(pins.isPinned(rows[6]));
    EXPECT_FALSE(pins.toggle(rows[1])) << "a group cannot be pinned";
    EXPECT_EQ(pins.list().size(), 2u);
}

TEST(Pins, AFileFieldMakesAnotherPin) {
    Pins pins;
    pins.pin(command(0, u"DIM", u"寸法", u"dim.lsp"));
    EXPECT_FALSE(pins.isPinned(command(1, u"DIM", u"寸法")));
    EXPECT_FALSE(pins.isPinned(command(1, u"DIM", u"寸法", u"other.lsp")));
    EXPECT_FALSE(pins.isPinned(command(1, u"dim", u"寸法", u"dim.lsp"))) << "case counts";
    EXPECT_TRUE(pins.isPinned(command(1, u"DIM", u"another description", u"dim.lsp")));
}

TEST(Pins, OnlyCommandEntriesThatTheSettingsKeepCanBePinned) {
    EXPECT_TRUE(canPin(command(0, u"LINE", u"線分")));
    EXPECT_TRUE(canPin(command(0, u"L", u"load", u"a.lsp")));
    EXPECT_TRUE(canPin(command(0, u" CIRCLE ", u" ", u"x.exe ")));
    EXPECT_FALSE(canPin(groupRow(0, u"A")));
    EXPECT_FALSE(canPin(command(0, u"", u"no command")));
    EXPECT_FALSE(canPin(command(0, u"A\tB", u"a TAB in the command")));
    EXPECT_FALSE(canPin(command(0, std::u16string(2047, u'x'), u"too long")));
    EXPECT_TRUE(canPin(command(0, std::u16string(2046, u'x'), u"fits")));
}

TEST(Pins, PinnedRowsComeInPinOrderFirstInFileOrderAndMissingOnesWait) {
    auto rows = sample();
    Pins pins(std::vector<Pin>{{u"GONE", u""}, {u"CIRCLE", u""}, {u"LINE", u""}});
    reorderIntoCommandView(rows); // the two LINE rows need not stay in file order

    auto pinned = pinnedRows(rows, pins);
    ASSERT_EQ(pinned.size(), 2u);
    EXPECT_EQ(pinned[0]->row, 6);
    EXPECT_EQ(pinned[1]->row, 2) << "the first of the two LINE rows in the file";

    // A reload without CIRCLE keeps its pin; it shows again when it returns.
    rows.erase(std::remove_if(rows.begin(), rows.end(),
                              [](const ListRow& r) { return r.command == u"CIRCLE"; }),
               rows.end());
    pinned = pinnedRows(rows, pins);
    ASSERT_EQ(pinned.size(), 1u);
    EXPECT_EQ(pinned[0]->row, 2);
    EXPECT_EQ(pins.list().size(), 3u);
    rows.push_back(command(9, u"GONE", u"back again"));
    pinned = pinnedRows(rows, pins);
    ASSERT_EQ(pinned.size(), 2u);
    EXPECT_EQ(pinned[0]->row, 9);
}

TEST(PinGroup, HeadsTheFileOrderView) {
    auto rows = sample();
    Pins pins(std::vector<Pin>{{u"CIRCLE", u""}, {u"EARLY", u""}, {u"DIM", u"dim.lsp"}});
    EXPECT_EQ(
        *reorderIntoRowView(rows, nullptr, &pins),
        (TreeNodes{
            pinGroup({entry(u"[CIRCLE] 円", 6, true), entry(u"[EARLY] before groups", 0, true),
                      entry(u"{DIM} 寸法", 3, true)}),
            group(u"A", 1,
                  {entry(u"[LINE] 線分", 2), entry(u"{DIM} 寸法", 3), entry(u"[LINE] 線分 2", 4)}),
            group(u"B", 5, {entry(u"[CIRCLE] 円", 6)})}));
}

TEST(PinGroup, HeadsTheCommandOrderViewAndTheEmptySearch) {
    auto rows = sample();
    Pins pins(std::vector<Pin>{{u"LINE", u""}, {u"CIRCLE", u""}});
    TreeNodes wanted = *reorderIntoCommandView(rows);
    wanted.insert(wanted.begin(),
                  pinGroup({entry(u"[LINE] 線分", 2, true), entry(u"[CIRCLE] 円", 6, true)}));
    EXPECT_EQ(*reorderIntoCommandView(rows, nullptr, &pins), wanted);
    EXPECT_EQ(*reorderIntoSearchView(rows, u"", nullptr, nullptr, &pins), wanted);
    EXPECT_EQ(wanted[1], entry(u"[CIRCLE] 円", 6)) << "and in its own place";
}

TEST(PinGroup, SearchResultsAreUnchanged) {
    auto rows = sample();
    Pins pins(std::vector<Pin>{{u"LINE", u""}});
    for (const auto* search : {u"line", u"線", u" ", u"zzz"})
        EXPECT_EQ(reorderIntoSearchView(rows, search, nullptr, nullptr, &pins),
                  reorderIntoSearchView(rows, search))
            << testing::PrintToString(std::u16string(search));
}

TEST(PinGroup, NoPinPresentLeavesEveryViewAsWithoutPins) {
    auto rows = sample();
    const Pins none;
    const Pins missing(std::vector<Pin>{{u"GONE", u""}, {u"LINE", u"other.lsp"}});
    for (const Pins* pins : {&none, &missing}) {
        EXPECT_EQ(reorderIntoRowView(rows, nullptr, pins), reorderIntoRowView(rows));
        EXPECT_EQ(reorderIntoCommandView(rows, nullptr, pins), reorderIntoCommandView(rows));
        EXPECT_EQ(reorderIntoSearchView(rows, u"", nullptr, nullptr, pins),
                  reorderIntoSearchView(rows, u""));
    }
    ListRows empty;
    EXPECT_FALSE(reorderIntoRowView(empty, nullptr, &missing));
}

TEST(PinGroup, APinnedRowIsFoundInEitherPlace) {
    auto rows = sample();
    Pins pins(std::vector<Pin>{{u"CIRCLE", u""}});
    const auto nodes = *reorderIntoRowView(rows, nullptr, &pins);
    EXPECT_EQ(findNodeOfRow(nodes, 6, true), (NodePlace{0, 0}));
    EXPECT_EQ(findNodeOfRow(nodes, 6, false), (NodePlace{2, 0}));
    EXPECT_EQ(findNodeOfRow(nodes, 5, false), (NodePlace{2, std::nullopt}));
    EXPECT_EQ(findNodeOfRow(nodes, 2, true), std::nullopt);
    EXPECT_EQ(findNodeOfRow(nodes, kPinGroupRow, false), (NodePlace{0, std::nullopt}));
}

struct RoundTripCase {
    const char* name;
    friend void PrintTo(const RoundTripCase& c, std::ostream* os) { *os << c.name; }
    Pin pin;
    std::u16string value; // as written
};

class PinSettings : public testing::TestWithParam<RoundTripCase> {};

TEST_P(PinSettings, SurviveTheSettingsReader) {
    const Pins pins(std::vector<Pin>{{u"FIRST", u""}, GetParam().pin});
    const SettingsPairs written = pinSettingsValues(pins);
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written[0], (std::pair<std::u16string, std::u16string>{u"1", u"FIRST\t"}));
    EXPECT_EQ(written[1].first, u"2");
    EXPECT_EQ(written[1].second, GetParam().value);
    std::vector<PinSettingProblem> problems;
    EXPECT_EQ(pinsFromSettingsValues(test::asReadBack(written), &problems).list(), pins.list());
    EXPECT_TRUE(problems.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Values, PinSettings,
    testing::Values(
        RoundTripCase{"command_only", {u"LINE", u""}, u"LINE\t"},
        RoundTripCase{"with_file", {u"DIM", u"Morvane\\dim.lsp"}, u"DIM\tMorvane\\dim.lsp"},
        RoundTripCase{
            "blank_inside", {u"A B", u"C:\\My Files\\x.exe"}, u"A B\tC:\\My Files\\x.exe"},
        RoundTripCase{"blank_at_start", {u" CIRCLE", u""}, u"\" CIRCLE\t\""},
        RoundTripCase{"blank_at_end_of_file", {u"X", u"x.exe "}, u"\"X\tx.exe \""},
        RoundTripCase{"ideographic_space_at_end", {u"X", u"y\u3000"}, u"\"X\ty\u3000\""},
        RoundTripCase{"quote_at_start", {u"\"Q\"", u"\"q\""}, u"\"\"Q\"\t\"q\"\""},
        RoundTripCase{"apostrophe_at_start", {u"'Q'", u""}, u"\"'Q'\t\""},
        RoundTripCase{"japanese", {u"線分", u"ﾌｧｲﾙ.lsp"}, u"線分\tﾌｧｲﾙ.lsp"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PinSettingsValues, NumberedInPinOrderWithoutGaps) {
    std::vector<Pin> list;
    for (int k = 0; k < 12; ++k)
        list.push_back({std::u16string{u'C', static_cast<char16_t>(u'a' + k)}, u""});
    const auto pairs = pinSettingsValues(Pins(list));
    ASSERT_EQ(pairs.size(), 12u);
    EXPECT_EQ(pairs[9].first, u"10");
    EXPECT_EQ(pairs[11], (std::pair<std::u16string, std::u16string>{u"12", u"Cl\t"}));
    EXPECT_TRUE(pinSettingsValues(Pins()).empty());
}

TEST(PinSettingsValues, MalformedKeysAndValuesAreSkippedAndSaid) {
    const SettingsPairs pairs{{u"10", u"TEN\t"},        {u"2", u"TWO"},
                              {u"x", u"LETTER\t"},      {u"0", u"ZERO\t"},
                              {u"01", u"LEADING\t"},    {u"-1", u"NEGATIVE\t"},
                              {u"1", u"ONE\ta.lsp"},    {u"2", u"TWO AGAIN\t"},
                              {u"3", u"\tno.lsp"},      {u"4", u""},
                              {u"5", u"ONE\ta.lsp"},    {u"6", u"TAB\tIN\tFILE"},
                              {u"1234567890", u"LONG"}, {u"", u"EMPTY KEY"}};
    std::vector<PinSettingProblem> problems;
    const Pins pins = pinsFromSettingsValues(pairs, &problems);
    EXPECT_EQ(pins.list(),
              (std::vector<Pin>{
                  {u"ONE", u"a.lsp"}, {u"TWO", u""}, {u"TAB", u"IN\tFILE"}, {u"TEN", u""}}));
    using P = PinSettingProblem;
    EXPECT_EQ(problems.size(), 10u);
    auto has = [&](P::Kind kind, std::u16string key) {
        return std::any_of(problems.begin(), problems.end(),
                           [&](const P& p) { return p.kind == kind && p.key == key; });
    };
    for (const auto* key : {u"x", u"0", u"01", u"-1", u"1234567890", u""})
        EXPECT_TRUE(has(P::kKeyNotNumber, key)) << testing::PrintToString(std::u16string(key));
    EXPECT_TRUE(has(P::kKeyRepeated, u"2"));
    EXPECT_TRUE(has(P::kNoCommand, u"3"));
    EXPECT_TRUE(has(P::kNoCommand, u"4"));
    EXPECT_TRUE(has(P::kPinRepeated, u"5"));
    EXPECT_TRUE(pinsFromSettingsValues(pairs).list() == pins.list()) << "problems are optional";
}

TEST(PinSettingsValues, EachProblemIsSaidInBothLanguages) {
    using P = PinSettingProblem;
    for (auto kind : {P::kKeyNotNumber, P::kKeyRepeated, P::kNoCommand, P::kPinRepeated}) {
        const P problem{kind, u"7"};
        const auto japanese = pinSettingProblemText(problem, MessageLanguage::kJapanese);
        const auto english = pinSettingProblemText(problem, MessageLanguage::kEnglish);
        EXPECT_NE(japanese.find(u"7"), std::u16string::npos);
        EXPECT_NE(english.find(u"7"), std::u16string::npos);
        EXPECT_NE(japanese.find(u"："), std::u16string::npos);
        EXPECT_NE(english.find(u": "), std::u16string::npos);
    }
}

} // namespace
} // namespace morvane
