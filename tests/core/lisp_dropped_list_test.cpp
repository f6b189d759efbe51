// A new command list from a dropped LISP file: reading it, assembling the
// rows, the question, the backup name and putting the list in place.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "lisp/dropped_list.h"
#include "list/list_file.h"
#include "services/services.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"
#include "text/user_error.h"

namespace morvane {
namespace {

std::string utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

// ";; 線を引く" and a command, as Shift_JIS and as UTF-8.
const std::string kSjisSource = ";; \x90\xfc\x82\xf0\x88\xf8\x82\xad\r\n(defun c:ln () 1)\r\n";
const std::string kUtf8Source = ";; \xe7\xb7\x9a\xe3\x82\x92\xe5\xbc\x95\xe3\x81\x8f\r\n"
                                "(defun c:ln () 1)\r\n";
const LspLines kSourceLines{u";; 線を引く", u"(defun c:ln () 1)"};

struct ReadCase {
    const char* name;
    friend void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }
    std::string bytes;
    LspLines lines;
};

class ReadLspFile : public testing::TestWithParam<ReadCase> {};

TEST_P(ReadLspFile, MarkDecidesElseUtf8ElseAnsi) {
    test::TempDir dir;
    dir.write(u"a.lsp", GetParam().bytes);
    EXPECT_EQ(readLspFile(dir.file(u"a.lsp"), platformServices()), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, ReadLspFile,
    testing::Values(ReadCase{"utf8_with_mark", "\xEF\xBB\xBF" + kUtf8Source, kSourceLines},
                    ReadCase{"utf8_without_mark", kUtf8Source, kSourceLines},
                    ReadCase{"shift_jis_through_fallback", kSjisSource, kSourceLines},
                    ReadCase{"utf16_little_endian",
                             utf16Bytes(u";; 線を引く\n(defun c:ln () 1)", false), kSourceLines},
                    ReadCase{"utf16_big_endian",
                             utf16Bytes(u";; 線を引く\r(defun c:ln () 1)\r\n", true), kSourceLines},
                    ReadCase{"ascii", "(a)\n\n(b)\n", {u"(a)", u"", u"(b)"}},
                    ReadCase{"empty", "", {}},
                    ReadCase{
                        "nul_ends_text", std::string("(a)\n(b)\0(c)\n", 12), {u"(a)", u"(b)"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ReadLspFile, MarkedInvalidUtf8FailsBothReadings) {
    test::TempDir dir;
    dir.write(u"a.lsp", "\xEF\xBB\xBF" + kSjisSource);
    EXPECT_THROW(readLspFile(dir.file(u"a.lsp"), platformServices()), UserError);
}

TEST(ReadLspFile, UnreadableFileNamesPathAndReason) {
    test::FakeServices fake;
    fake.files.unreadable[u"C:\\l\\a.lsp"] = u"locked";
    try {
        readLspFile(u"C:\\l\\a.lsp", fake.services);
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"ファイル C:\\l\\a.lsp は開けません。 locked ");
    }
    test::TempDir dir;
    EXPECT_THROW(readLspFile(dir.file(u"missing.lsp"), platformServices()), UserError);
}

TEST(PickDroppedLsp, FirstLspInAnyLetterCase) {
    using Names = std::vector<std::u16string>;
    EXPECT_EQ(pickDroppedLsp(Names{u"C:\\p\\a.png", u"C:\\x\\tools.LSP", u"C:\\b.lsp"}),
              u"C:\\x\\tools.LSP");
    EXPECT_EQ(pickDroppedLsp(Names{u"tools.lsp.bak", u"C:\\d.lsp\\file", u"noext", u"a.ls"}),
              std::nullopt);
    EXPECT_EQ(pickDroppedLsp(Names{u"/home/u/x.Lsp"}), u"/home/u/x.Lsp");
}

struct NameCase {
    const char* name;
    friend void PrintTo(const NameCase& c, std::ostream* os) { *os << c.name; }
    std::u16string path;
    std::u16string groupTitle;
};

class GroupTitle : public testing::TestWithParam<NameCase> {};

TEST_P(GroupTitle, DropsFolderAndLastExtension) {
    EXPECT_EQ(groupTitleOf(GetParam().path), GetParam().groupTitle);
}

INSTANTIATE_TEST_SUITE_P(Paths, GroupTitle,
                         testing::Values(NameCase{"windows_path", u"C:\\lisp\\tools.lsp", u"tools"},
                                         NameCase{"several_stops", u"D:\\my.tools.lsp",
                                                  u"my.tools"},
                                         NameCase{"slashes", u"/home/u/x.lsp", u"x"},
                                         NameCase{"stop_in_folder_only", u"C:\\a.b\\name", u"name"},
                                         NameCase{"bare_name", u"t.lsp", u"t"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct LoadPathCase {
    const char* name;
    friend void PrintTo(const LoadPathCase& c, std::ostream* os) { *os << c.name; }
    std::u16string lspPath, programFolder, loadPath;
};

class LoadPath : public testing::TestWithParam<LoadPathCase> {};

TEST_P(LoadPath, MarkerOnlyForTheProgramFolder) {
    EXPECT_EQ(loadPathFor(GetParam().lspPath, GetParam().programFolder), GetParam().loadPath);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LoadPath,
    testing::Values(LoadPathCase{"program_folder", u"D:\\Tools\\tools.lsp", u"D:\\Tools\\",
                                 u"Morvane\\tools.lsp"},
                    LoadPathCase{"other_folder", u"C:\\lisp\\tools.lsp", u"D:\\Tools\\",
                                 u"C:\\lisp\\tools.lsp"},
                    LoadPathCase{"letter_case_counts", u"D:\\tools\\tools.lsp", u"D:\\Tools\\",
                                 u"D:\\tools\\tools.lsp"},
                    LoadPathCase{"subfolder_is_other", u"D:\\Tools\\sub\\t.lsp", u"D:\\Tools\\",
                                 u"D:\\Tools\\sub\\t.lsp"},
                    LoadPathCase{"posix_folder", u"/opt/mx/t.lsp", u"/opt/mx/", u"Morvane\\t.lsp"},
                    LoadPathCase{"no_folder", u"t.lsp", u"D:\\Tools\\", u"t.lsp"},
                    LoadPathCase{"no_program_folder", u"/t.lsp", u"", u"/t.lsp"}),
    [](const auto& info) { return std::string(info.param.name); });

const LspLines kToolsSource{u";;; drawing tools",
                            u"",
                            u";; ================",
                            u";; Box : draw a box",
                            u";;   from two corners",
                            u"(defun c:Box ( / p1 p2)",
                            u"  (princ)",
                            u")",
                            u";-----------------",
                            u"(defun C:zm2 (",
                            u"   lo hi",
                            u"   / old)",
                            u"  (command \"_.ZOOM\" lo hi)",
                            u")"};

TEST(BuildDroppedList, GroupCommandsAndLoadRow) {
    const auto& collator = platformServices().collator;
    EXPECT_EQ(buildDroppedList(u"C:\\lisp\\tools.lsp", u"D:\\Tools\\", kToolsSource, collator),
              (LspLines{u"tools", u"BOX\tBox : draw a box", u"ZM2 LO HI\t...",
                        u"LOAD\tロード tools.lsp\tC:\\lisp\\tools.lsp"}));
    EXPECT_EQ(
        buildDroppedList(u"D:\\Tools\\tools.lsp", u"D:\\Tools\\", kToolsSource, collator).back(),
        u"LOAD\tロード tools.lsp\tMorvane\\tools.lsp");
    EXPECT_TRUE(buildDroppedList(u"C:\\x.lsp", u"D:\\", {u"(defun f () 1)"}, collator).empty());
}

TEST(ReplaceQuestion, CountsEveryRowButTheGroupRow) {
    EXPECT_EQ(replaceQuestion(4),
              u"3 個のコマンドが検出されました．\nコマンドリストを置き換えますか？\n"
              u"(現在のコマンドリストは日付時刻を追加したファイル名で保存されます)");
    EXPECT_TRUE(replaceQuestion(12).starts_with(u"11 個"));
}

TEST(BackupFileName, FixedWidthLocalTimeStamp) {
    EXPECT_EQ(backupFileName(u"MorvaneList", {2025, 7, 17, 14, 30, 5}),
              u"MorvaneList20250717143005.txt");
    EXPECT_EQ(backupFileName(u"MorvaneList", {999, 1, 2, 3, 4, 5}),
              u"MorvaneList09990102030405.txt");
    EXPECT_EQ(backupFileName(u"MorvaneList", {2025, 12, 31, 23, 59, 59}),
              u"MorvaneList20251231235959.txt");
    EXPECT_EQ(backupFileName(u"図面", {2025, 7, 17, 14, 30, 5}), u"図面20250717143005.txt");
}

TEST(InstallListFile, AnsiWithoutMarkCrLfAfterEveryRow) {
    test::FakeServices fake;
    installListFile(u"D:\\T\\MorvaneList.txt", {u"描画", u"LN\t線を引く", u"a한b"}, fake.services);
    EXPECT_EQ(fake.files.files[u"D:\\T\\MorvaneList.txt"],
              "\x95\x60\x89\xe6\r\nLN\t\x90\xfc\x82\xf0\x88\xf8\x82\xad\r\na?b\r\n");
}

// Fails chosen operations of the fake file system.
class FailingFiles final : public FileSystem {
  public:
    explicit FailingFiles(test::FakeFileSystem& inner) : inner_(inner) {}
    std::u16string failWriteTo, failMoveFrom, failMoveTo;

    bool fileExists(std::u16string_view path) const override { return inner_.fileExists(path); }
    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override {
        return inner_.readFile(path, bytes, reason);
    }
    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override {
        if (path == failWriteTo) {
            reason = u"no room";
            return false;
        }
        return inner_.writeFileAtomic(path, bytes, reason);
    }
    std::u16string workingCopyPath(std::u16string_view path) override {
        return inner_.workingCopyPath(path);
    }
    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override {
        if (from == failMoveFrom || to == failMoveTo) {
            reason = u"denied";
            return false;
        }
        return inner_.moveFile(from, to, reason);
    }
    bool removeFile(std::u16string_view path) override { return inner_.removeFile(path); }
    std::optional<FileStamp> fileStamp(std::u16string_view path) const override {
        return inner_.fileStamp(path);
    }
    bool canReplaceFile(std::u16string_view path) override { return inner_.canReplaceFile(path); }

  private:
    test::FakeFileSystem& inner_;
};

using FileMap = std::map<std::u16string, std::string>;

const std::u16string kFolder = u"D:\\T\\";
const std::u16string kList = u"D:\\T\\MorvaneList.txt";
const std::u16string kStamp = u"D:\\T\\MorvaneList20250717143005";
// The first working copy the fake file system names.
const std::u16string kWorkingCopy = kList + u".~1";
const LspLines kNewRows{u"g", u"A\tnew", u"LOAD\tロード g.lsp\tMorvane\\g.lsp"};
const std::string kNewBytes =
    "g\r\nA\tnew\r\nLOAD\t\x83\x8d\x81\x5b\x83\x68 g.lsp\tMorvane\\g.lsp\r\n";

struct InstallCase {
    const char* name;
    friend void PrintTo(const InstallCase& c, std::ostream* os) { *os << c.name; }
    FileMap before;
    std::u16string failWriteTo, failMoveFrom, failMoveTo;
    bool fails;
    FileMap after;
    std::u16string backupPath;
};

class InstallDroppedList : public testing::TestWithParam<InstallCase> {};

TEST_P(InstallDroppedList, KeepsTheOldListUnderAFreeBackupName) {
    const auto& c = GetParam();
    test::FakeServices fake;
    fake.files.files = c.before;
    fake.clock.time = {2025, 7, 17, 14, 30, 5};
    FailingFiles files(fake.files);
    files.failWriteTo = c.failWriteTo;
    files.failMoveFrom = c.failMoveFrom;
    files.failMoveTo = c.failMoveTo;
    PlatformServices services{fake.services.ansi, fake.services.collator, files, fake.clock};
    if (c.fails) {
        EXPECT_THROW(installDroppedList(kFolder, kNewRows, services), UserError);
    } else {
        const auto installed = installDroppedList(kFolder, kNewRows, services);
        EXPECT_EQ(installed.listPath, kList);
        EXPECT_EQ(installed.backupPath, c.backupPath);
    }
    EXPECT_EQ(fake.files.files, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallDroppedList,
    testing::Values(InstallCase{"no_old_list", {}, u"", u"", u"", false, {{kList, kNewBytes}}, u""},
                    InstallCase{"old_list_moved_to_stamp",
                                {{kList, "old"}},
                                u"",
                                u"",
                                u"",
                                false,
                                {{kList, kNewBytes}, {kStamp + u".txt", "old"}},
                                kStamp + u".txt"},
                    InstallCase{
                        "taken_stamps_get_a_number",
                        {{kList, "old"}, {kStamp + u".txt", "b0"}, {kStamp + u"-1.txt", "b1"}},
                        u"",
                        u"",
                        u"",
                        false,
                        {{kList, kNewBytes},
                         {kStamp + u".txt", "b0"},
                         {kStamp + u"-1.txt", "b1"},
                         {kStamp + u"-2.txt", "old"}},
                        kStamp + u"-2.txt"},
                    InstallCase{"write_fails_nothing_moves",
                                {{kList, "old"}},
                                kWorkingCopy,
                                u"",
                                u"",
                                true,
                                {{kList, "old"}},
                                u""},
                    InstallCase{"backup_move_fails_old_list_stays",
                                {{kList, "old"}},
                                u"",
                                u"",
                                kStamp + u".txt",
                                true,
                                {{kList, "old"}},
                                u""},
                    InstallCase{"final_move_fails_old_list_restored",
                                {{kList, "old"}},
                                u"",
                                kWorkingCopy,
                                u"",
                                true,
                                {{kList, "old"}},
                                u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InstallDroppedList, WriteFailureNamesTheListFile) {
    test::FakeServices fake;
    FailingFiles files(fake.files);
    files.failWriteTo = kWorkingCopy;
    PlatformServices services{fake.services.ansi, fake.services.collator, files, fake.clock};
    try {
        installDroppedList(kFolder, kNewRows, services);
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(), u"ファイル \"" + kList + u"\" を作成できません。no room");
    }
}

TEST(InstallDroppedList, RealFilesFromDropToReload) {
    test::TempDir dir;
    dir.write(u"MorvaneList.txt", "old\r\n");
    dir.write(u"g.lsp", kSjisSource);
    test::FixedClock clock;
    clock.time = {2025, 7, 17, 14, 30, 5};
    auto& real = platformServices();
    PlatformServices services{real.ansi, real.collator, real.files, clock};

    const auto lspPath = dir.file(u"g.lsp");
    const auto rows =
        buildDroppedList(lspPath, dir.folder(), readLspFile(lspPath, services), real.collator);
    installDroppedList(dir.folder(), rows, services);
    installDroppedList(dir.folder(), rows, services); // same second: a numbered backup

    EXPECT_EQ(dir.fileNames(),
              (std::set<std::u16string>{u"MorvaneList.txt", u"MorvaneList20250717143005.txt",
                                        u"MorvaneList20250717143005-1.txt", u"g.lsp"}));
    EXPECT_EQ(dir.read(u"MorvaneList20250717143005.txt"), "old\r\n");
    EXPECT_EQ(dir.read(u"MorvaneList20250717143005-1.txt"), dir.read(u"MorvaneList.txt"));

    ListRows records;
    ASSERT_TRUE(loadMorvaneList(dir.file(u"MorvaneList.txt"), services, records));
    EXPECT_EQ(records, (ListRows{{0, u"g", u"", u"", u""},
                                 {1, u"LN", u"線を引く", u"", u""},
                                 {2, u"LOAD", u"ロード g.lsp", u"Morvane\\g.lsp", u""}}));
}

} // namespace
} // namespace morvane
