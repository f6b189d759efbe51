// What a double-clicked row does, by its file column.
#include <gtest/gtest.h>

#include <set>

#include "cad/row_action.h"

namespace morvane {
namespace {

constexpr char16_t kFolder[] = u"C:\\Apps\\";

struct RowCase {
    const char* name;
    friend void PrintTo(const RowCase& c, std::ostream* os) { *os << c.name; }
    ListRow record;
    std::set<std::u16string> existingFiles;
    RowAction expected;
};

RowAction send(std::u16string text) {
    return {RowAction::Kind::SendCommand, std::move(text), u"", u""};
}
RowAction notFound(std::u16string path) {
    return {RowAction::Kind::ShowNotFound, u"", std::move(path), u""};
}
RowAction start(std::u16string path, std::u16string parameters) {
    return {RowAction::Kind::StartProgram, u"", std::move(path), std::move(parameters)};
}
const RowAction nothing{};

class DecideRowAction : public testing::TestWithParam<RowCase> {};

TEST_P(DecideRowAction, FollowsTheExeColumn) {
    const auto& c = GetParam();
    std::vector<std::u16string> tested;
    const auto exists = [&](std::u16string_view path) {
        tested.emplace_back(path);
        return c.existingFiles.count(std::u16string(path)) > 0;
    };
    EXPECT_EQ(decideRowAction(c.record, kFolder, exists), c.expected);
    // Only a .LSP row looks at the disk, and then once.
    EXPECT_EQ(tested.size(), rowFileExtension(c.record.file) == u".LSP" ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DecideRowAction,
    testing::Values(
        RowCase{"command_row_sends_cmd", {3, u"LINE", u"draw", u"", u""}, {}, send(u"LINE")},
        RowCase{"empty_cmd_sends_nothing", {3, u"", u"draw", u"", u""}, {}, nothing},
        RowCase{"group_row_sends_nothing", {3, u"Group", u"", u"", u""}, {}, nothing},
        RowCase{
            "other_extension_is_ignored", {3, u"N", u"notes", u"notes.txt", u""}, {}, send(u"N")},
        RowCase{"dot_in_folder_is_no_extension",
                {3, u"N", u"n", u"C:\\v1.lsp\\tool", u""},
                {},
                send(u"N")},
        RowCase{"marker_lsp_found_beside_program",
                {3, u"U", u"util", u"Morvane\\util.lsp", u""},
                {u"C:\\Apps\\util.lsp"},
                send(u"(load \"C:\\\\Apps\\\\util.lsp\")(princ)")},
        RowCase{"marker_ignores_the_named_folder",
                {3, u"U", u"util", u"D:\\lisp\\morvane\\Util.Lsp", u""},
                {u"C:\\Apps\\Util.Lsp"},
                send(u"(load \"C:\\\\Apps\\\\Util.Lsp\")(princ)")},
        RowCase{"lsp_found_with_empty_cmt_sends_nothing",
                {3, u"U", u"", u"D:\\u.lsp", u""},
                {u"D:\\u.lsp"},
                nothing},
        RowCase{"lsp_found_with_empty_cmd_still_loads",
                {3, u"", u"c", u"D:\\u.lsp", u""},
                {u"D:\\u.lsp"},
                send(u"(load \"D:\\\\u.lsp\")(princ)")},
        RowCase{"relative_lsp_stays_relative",
                {3, u"R", u"r", u"lib/r.lsp", u""},
                {u"lib/r.lsp"},
                send(u"(load \"lib/r.lsp\")(princ)")},
        RowCase{"missing_lsp_reports_undoubled_path",
                {3, u"L", u"l", u"D:\\lisp\\util.LSP", u""},
                {},
                notFound(u"D:\\lisp\\util.LSP")},
        RowCase{"exe_starts_with_opt",
                {3, u"C", u"calc", u"calc.exe", u"-x 1"},
                {},
                start(u"calc.exe", u"-x 1")},
        RowCase{
            "exe_without_opt", {3, u"C", u"calc", u"calc.EXE", u""}, {}, start(u"calc.EXE", u"")},
        RowCase{"marker_exe_beside_program",
                {3, u"T", u"t", u"x:morvane\\bin\\tool.exe", u"a"},
                {},
                start(u"C:\\Apps\\tool.exe", u"a")}));

struct ResolveCase {
    const char* name;
    friend void PrintTo(const ResolveCase& c, std::ostream* os) { *os << c.name; }
    std::u16string file;
    std::u16string resolved;
};

class ResolveRowFile : public testing::TestWithParam<ResolveCase> {};

TEST_P(ResolveRowFile, UsesTheProgramFolderOnlyForTheMarker) {
    EXPECT_EQ(resolveRowFile(GetParam().file, kFolder), GetParam().resolved);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ResolveRowFile,
    testing::Values(
        ResolveCase{"no_marker_unchanged", u"D:\\lisp\\a.lsp", u"D:\\lisp\\a.lsp"},
        ResolveCase{"marker_any_case", u"mOrVaNe\\a.lsp", u"C:\\Apps\\a.lsp"},
        ResolveCase{"name_after_last_colon", u"MORVANE\\x:a.lsp", u"C:\\Apps\\a.lsp"},
        ResolveCase{"marker_needs_the_backslash", u"Morvane/a.lsp", u"Morvane/a.lsp"},
        ResolveCase{"marker_inside_a_longer_name", u"D:\\XMorvane\\a.lsp", u"C:\\Apps\\a.lsp"},
        ResolveCase{"marker_at_the_end_leaves_the_folder", u"D:\\Morvane\\", u"C:\\Apps\\"}));

TEST(RowFileExtension, TakesTheLastDotOfTheFileName) {
    EXPECT_EQ(rowFileExtension(u"a.b.lsp"), u".LSP");
    EXPECT_EQ(rowFileExtension(u"C:\\x.y\\z"), u"");
    EXPECT_EQ(rowFileExtension(u"C:.lsp"), u".LSP");
    EXPECT_EQ(rowFileExtension(u"name."), u".");
    EXPECT_EQ(rowFileExtension(u""), u"");
    EXPECT_EQ(rowFileExtension(u"f.éxe"), u".éXE"); // only a to z change
}

TEST(FileNotFoundText, IsPathLineFeedAndMessage) {
    EXPECT_EQ(fileNotFoundText(u"D:\\a.lsp"), u"D:\\a.lsp\nファイルが見つかりません．");
}

} // namespace
} // namespace morvane
