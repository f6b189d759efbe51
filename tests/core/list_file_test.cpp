// The command-list file: fields, line kinds and loading.
#include <gtest/gtest.h>

#include "list/list_file.h"
#include "services/services.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"
#include "text/user_error.h"

namespace morvane {
namespace {

using Fields = std::vector<std::u16string>;

struct FieldCase {
    const char* name;
    friend void PrintTo(const FieldCase& c, std::ostream* os) { *os << c.name; }
    std::u16string line;
    Fields fields;
};

class SplitFields : public testing::TestWithParam<FieldCase> {};

TEST_P(SplitFields, SplitsAtTabsAndReadsQuotes) {
    EXPECT_EQ(splitListFields(GetParam().line), GetParam().fields);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitFields,
    testing::Values(
        FieldCase{"empty_line_has_no_field", u"", {}}, FieldCase{"no_tab", u"  a b ", {u"  a b "}},
        FieldCase{"trailing_tab_adds_empty_field", u"a\t", {u"a", u""}},
        FieldCase{"single_tab", u"\t", {u"", u""}},
        FieldCase{"two_tabs_enclose_empty", u"a\t\tc", {u"a", u"", u"c"}},
        FieldCase{"quoted_with_tab", u"\"a\tb\"\tc", {u"a\tb", u"c"}},
        FieldCase{"doubled_quote", u"\"say \"\"hi\"\"\"\tx", {u"say \"hi\"", u"x"}},
        FieldCase{"empty_quoted", u"\"\"\tx", {u"", u"x"}},
        FieldCase{"unclosed_takes_rest", u"\"a\tb\"\"c", {u"a\tb\"c"}},
        FieldCase{"text_after_closing_quote_is_own_field", u"\"a\"bc\td", {u"a", u"bc", u"d"}},
        FieldCase{"quoted_at_end_then_tab", u"\"a\"\t", {u"a", u""}},
        FieldCase{"quote_inside_field_is_data", u"a\"b\tc", {u"a\"b", u"c"}},
        FieldCase{"spaces_are_data", u" x \t y ", {u" x ", u" y "}}),
    [](const auto& info) { return std::string(info.param.name); });

struct ClassifyCase {
    const char* name;
    friend void PrintTo(const ClassifyCase& c, std::ostream* os) { *os << c.name; }
    std::u16string line;
    bool yields;
    ListRow record; // row is filled in by the test
};

class ClassifyLine : public testing::TestWithParam<ClassifyCase> {};

TEST_P(ClassifyLine, GivesTheRowKind) {
    const auto& c = GetParam();
    const auto record = classifyListLine(c.line, 7);
    ASSERT_EQ(record.has_value(), c.yields);
    if (!c.yields)
        return;
    auto expected = c.record;
    expected.row = 7;
    EXPECT_EQ(*record, expected);
}

ListRow rec(std::u16string command, std::u16string description = {}, std::u16string file = {},
            std::u16string parameters = {}) {
    return ListRow{-1, std::move(command), std::move(description), std::move(file),
                   std::move(parameters)};
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ClassifyLine,
    testing::Values(
        ClassifyCase{"slash_comment", u"/x\ty", false, {}},
        ClassifyCase{"semicolon_comment", u";x\ty", false, {}},
        ClassifyCase{"space_then_semicolon_is_not_comment", u" ;x", true, rec(u" ;x")},
        ClassifyCase{"empty_line", u"", false, {}},
        ClassifyCase{"group_without_tab", u"Draw", true, rec(u"Draw")},
        ClassifyCase{"group_of_spaces", u"   ", true, rec(u"   ")},
        ClassifyCase{"group_trailing_tab", u"G\t", true, rec(u"G")},
        ClassifyCase{"group_single_tab", u"\t", true, rec(u"")},
        ClassifyCase{"group_ignores_third_field", u"G\t\tC:\\a.lsp", true, rec(u"G")},
        ClassifyCase{"command", u"LINE\tdraw a line", true, rec(u"LINE", u"draw a line")},
        ClassifyCase{"command_blank_comment", u"X\t ", true, rec(u"X", u" ")},
        ClassifyCase{"command_empty_cmd", u"\tdesc", true, rec(u"", u"desc")},
        ClassifyCase{"command_third_blank", u"X\td\t   ", true, rec(u"X", u"d")},
        ClassifyCase{"file_row_keeps_spaces", u"L\td\t a.lsp ", true, rec(u"L", u"d", u" a.lsp ")},
        ClassifyCase{"file_row_blank_option", u"C\td\tcalc.exe\t  ", true,
                     rec(u"C", u"d", u"calc.exe")},
        ClassifyCase{"file_row_option_untrimmed", u"C\td\tcalc.exe\t -x \tfifth", true,
                     rec(u"C", u"d", u"calc.exe", u" -x ")},
        ClassifyCase{"quoted_cmd_with_tab", u"\"a\tb\"\tdesc", true, rec(u"a\tb", u"desc")},
        ClassifyCase{"quoted_then_text_counts_as_field", u"\"a\"b\tc", true,
                     rec(u"a", u"b", u"c")}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ParseListLines, RowCountsEveryLine) {
    const auto records = parseListLines({u";comment", u"", u"X\tdesc", u"G"});
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].row, 2);
    EXPECT_EQ(records[0].command, u"X");
    EXPECT_EQ(records[1].row, 3);
}

TEST(LoadMorvaneList, SameRecordsInEveryEncoding) {
    test::TempDir dir;
    // Shift_JIS "描画" and "線を引く" beside their UTF-8 and UTF-16 forms.
    const std::string sjis = "\x95\x60\x89\xe6\r\nLINE\t\x90\xfc\x82\xf0\x88\xf8\x82\xad\r\n";
    const std::u16string text = u"描画\r\nLINE\t線を引く\r\n";
    const ListRows expected{{0, u"描画", u"", u"", u""}, {1, u"LINE", u"線を引く", u"", u""}};
    const std::string utf8 =
        "\xEF\xBB\xBF\xe6\x8f\x8f\xe7\x94\xbb\r\nLINE\t\xe7\xb7\x9a\xe3\x82\x92"
        "\xe5\xbc\x95\xe3\x81\x8f\r\n";
    std::string le = "\xFF\xFE", be = "\xFE\xFF";
    for (char16_t c : text) {
        le += static_cast<char>(c & 0xFF), le += static_cast<char>(c >> 8);
        be += static_cast<char>(c >> 8), be += static_cast<char>(c & 0xFF);
    }
    for (const auto& bytes : {sjis, utf8, le, be}) {
        dir.write(u"MorvaneList.txt", bytes);
        ListRows records;
        EXPECT_TRUE(loadMorvaneList(dir.file(u"MorvaneList.txt"), platformServices(), records));
        EXPECT_EQ(records, expected);
    }
}

TEST(LoadMorvaneList, KeepsRecordsWhenThereIsNothingToRead) {
    test::TempDir dir;
    const ListRows previous{{3, u"OLD", u"kept", u"", u""}};
    const std::vector<std::pair<const char*, std::string>> cases{
        {"empty", ""}, {"only_mark", "\xEF\xBB\xBF"}, {"only_utf16_mark", "\xFF\xFE"}};
    for (const auto& [name, bytes] : cases) {
        SCOPED_TRACE(name);
        dir.write(u"MorvaneList.txt", bytes);
        auto records = previous;
        EXPECT_FALSE(loadMorvaneList(dir.file(u"MorvaneList.txt"), platformServices(), records));
        EXPECT_EQ(records, previous);
    }
    auto records = previous;
    EXPECT_FALSE(loadMorvaneList(dir.file(u"missing.txt"), platformServices(), records));
    std::filesystem::create_directory(dir.path() / "folder.txt");
    EXPECT_FALSE(loadMorvaneList(dir.file(u"folder.txt"), platformServices(), records));
    EXPECT_EQ(records, previous);
}

TEST(LoadMorvaneList, CommentsOnlyEmptiesTheArray) {
    test::TempDir dir;
    dir.write(u"MorvaneList.txt", ";only a comment\r\n\r\n");
    ListRows records{{3, u"OLD", u"x", u"", u""}};
    EXPECT_TRUE(loadMorvaneList(dir.file(u"MorvaneList.txt"), platformServices(), records));
    EXPECT_TRUE(records.empty());
    dir.write(u"MorvaneList.txt", "\r\n");
    records = {{3, u"OLD", u"x", u"", u""}};
    EXPECT_TRUE(loadMorvaneList(dir.file(u"MorvaneList.txt"), platformServices(), records));
    EXPECT_TRUE(records.empty());
}

TEST(LoadMorvaneList, UnreadableFileThrowsBeforeTouchingTheArray) {
    test::FakeServices fake;
    fake.files.unreadable[u"C:\\m\\MorvaneList.txt"] = u"アクセスが拒否されました";
    ListRows records{{0, u"OLD", u"", u"", u""}};
    try {
        loadMorvaneList(u"C:\\m\\MorvaneList.txt", fake.services, records);
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(),
                  u"ファイル C:\\m\\MorvaneList.txt は開けません。 アクセスが拒否されました ");
    }
    EXPECT_EQ(records.size(), 1u);
}

} // namespace
} // namespace morvane
