// morvanex-index in-process: arguments, outputs and exit codes.
#include <gtest/gtest.h>

#include <set>

#include "index_tool.h"
#include "services/services.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"
#include "text/utf.h"

namespace morvane {
namespace {

using Args = std::vector<std::u16string>;

struct Run {
    int code;
    std::string out, err;
};

Run runTool(const Args& args, PlatformServices& services = platformServices()) {
    Run run;
    run.code = runIndexTool(args, services, run.out, run.err);
    return run;
}

struct UsageCase {
    const char* name;
    friend void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }
    Args args;
    std::string message;
};

class UsageErrors : public testing::TestWithParam<UsageCase> {};

TEST_P(UsageErrors, ExitTwoWithUsage) {
    const auto run = runTool(GetParam().args);
    EXPECT_EQ(run.code, kUsageError);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("usage: morvanex-index"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Args, UsageErrors,
    testing::Values(
        UsageCase{"no_file", {}, "no LISP file given"},
        UsageCase{"only_options", {u"--exe-dir", u"d"}, "no LISP file given"},
        UsageCase{"unknown_option", {u"a.lsp", u"--fast"}, "unknown option --fast"},
        UsageCase{"missing_value", {u"a.lsp", u"--out"}, "--out needs a value"},
        UsageCase{"given_twice", {u"--out", u"x", u"--out", u"y", u"a.lsp"}, "--out given twice"}),
    [](const auto& info) { return std::string(info.param.name); });

class IndexTool : public testing::Test {
  protected:
    void SetUp() override {
        dir.write(u"tools.lsp", ";; Draw a box\n(defun c:box (a) 1)\n(defun c:up () 1)\n");
        dir.write(u"線.lsp", "(defun c:ln () 1)\n");
        dir.write(u"plain.lsp", "(defun helper () 1)\n");
        dir.write(u"bad.lsp", "\xEF\xBB\xBF\x90\xfc\n");
        dir.write(u"nested.lsp", "(defun x y ()\n (defun z w () 1)\n)\n");
    }
    std::string path(std::u16string_view name) const { return utf16ToUtf8(dir.file(name)); }

    test::TempDir dir;
};

TEST_F(IndexTool, RowsOfEveryFileInOrderAsUtf8Lines) {
    const auto run = runTool({dir.file(u"線.lsp"), dir.file(u"plain.lsp"), dir.file(u"tools.lsp")});
    EXPECT_EQ(run.code, kRowsProduced);
    EXPECT_EQ(run.out, "線\nLN\t...\nLOAD\tロード 線.lsp\t" + path(u"線.lsp") +
                           "\ntools\nBOX A\tDraw a box\nUP\t...\nLOAD\tロード tools.lsp\t" +
                           path(u"tools.lsp") + "\n");
    EXPECT_EQ(run.err, "");
}

TEST_F(IndexTool, ProgramFolderGivesTheMarker) {
    const auto run = runTool({u"--exe-dir", dir.folder(), dir.file(u"線.lsp")});
    EXPECT_EQ(run.code, kRowsProduced);
    EXPECT_NE(run.out.find("LOAD\tロード 線.lsp\tMorvane\\線.lsp\n"), std::string::npos) << run.out;
}

TEST_F(IndexTool, OutWritesAnAnsiCommandList) {
    const auto run = runTool({dir.file(u"線.lsp"), u"--out", dir.file(u"MorvaneList.txt")});
    EXPECT_EQ(run.code, kRowsProduced);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(dir.read(u"MorvaneList.txt"),
              "\x90\xfc\r\nLN\t...\r\nLOAD\t\x83\x8d\x81\x5b\x83\x68 \x90\xfc.lsp\t" +
                  platformServices().ansi.encode(dir.file(u"線.lsp")) + "\r\n");
}

// --out over an existing list: the old bytes survive under the name a drop
// would give them, a backup already there is left alone, and the message says
// where the old list went.
TEST_F(IndexTool, OutKeepsAnExistingListUnderAFreeBackupName) {
    test::FixedClock clock;
    clock.time = {2025, 7, 17, 14, 30, 5};
    auto& real = platformServices();
    PlatformServices services{real.ansi, real.collator, real.files, clock};
    dir.write(u"Tools.txt", "old list\r\n");
    dir.write(u"Tools20250717143005.txt", "earlier backup\r\n");

    const auto run = runTool({dir.file(u"線.lsp"), u"--out", dir.file(u"Tools.txt")}, services);
    EXPECT_EQ(run.code, kRowsProduced);
    EXPECT_EQ(run.err, "morvanex-index: the old list is kept as " +
                           path(u"Tools20250717143005-1.txt") + "\n");
    EXPECT_EQ(dir.read(u"Tools20250717143005.txt"), "earlier backup\r\n");
    EXPECT_EQ(dir.read(u"Tools20250717143005-1.txt"), "old list\r\n");
    EXPECT_EQ(dir.read(u"Tools.txt").substr(0, 6), "\x90\xfc\r\nLN");
    EXPECT_EQ(dir.fileNames(),
              (std::set<std::u16string>{u"Tools.txt", u"Tools20250717143005.txt",
                                        u"Tools20250717143005-1.txt", u"tools.lsp", u"線.lsp",
                                        u"plain.lsp", u"bad.lsp", u"nested.lsp"}));

    // A first list leaves no backup and says nothing.
    const auto fresh = runTool({dir.file(u"線.lsp"), u"--out", dir.file(u"New.txt")}, services);
    EXPECT_EQ(fresh.code, kRowsProduced);
    EXPECT_EQ(fresh.err, "");
}

// Where the ANSI code page is UTF-8: --out over a list in code page 932
// writes 932 again, a first list is UTF-8 with its mark, and a conversion
// the system refuses fails the run with the old list and the folder as they
// were.
TEST_F(IndexTool, OutOnAUtf8SystemKeepsTheListsEncoding) {
    test::Utf8AnsiCodePage utf8;
    test::FixedClock clock;
    clock.time = {2025, 7, 17, 14, 30, 5};
    auto& real = platformServices();
    PlatformServices services{utf8, real.collator, real.files, clock};
    dir.write(u"Shared.txt", "\x90\xfc\r\n");

    EXPECT_EQ(runTool({dir.file(u"線.lsp"), u"--out", dir.file(u"Shared.txt")}, services).code,
              kRowsProduced);
    EXPECT_TRUE(dir.read(u"Shared.txt").starts_with("\x90\xfc\r\nLN\t...\r\n"));
    EXPECT_EQ(runTool({dir.file(u"線.lsp"), u"--out", dir.file(u"New.txt")}, services).code,
              kRowsProduced);
    EXPECT_TRUE(dir.read(u"New.txt").starts_with("\xEF\xBB\xBF\xE7\xB7\x9A\r\nLN\t...\r\n"));

    utf8.encodeFlags = code_page::kNoBestFitChars;
    dir.write(u"Local.txt", "old\r\n");
    const auto names = dir.fileNames();
    const auto refused = runTool({dir.file(u"線.lsp"), u"--out", dir.file(u"Local.txt")}, services);
    EXPECT_EQ(refused.code, kFileError);
    EXPECT_NE(refused.err.find("を作成できません。"), std::string::npos) << refused.err;
    EXPECT_EQ(dir.read(u"Local.txt"), "old\r\n");
    EXPECT_EQ(dir.fileNames(), names);
}

TEST_F(IndexTool, NoCommandExitsOneAndWritesNothing) {
    const auto run = runTool({dir.file(u"plain.lsp"), u"--out", dir.file(u"MorvaneList.txt")});
    EXPECT_EQ(run.code, kNoCommand);
    EXPECT_FALSE(dir.exists(u"MorvaneList.txt"));
}

TEST_F(IndexTool, UnreadableFileExitsThreeNamingIt) {
    // Missing, undecodable, and read but impossible to index.
    for (const auto* name : {u"missing.lsp", u"bad.lsp", u"nested.lsp"}) {
        const auto run = runTool({dir.file(u"tools.lsp"), dir.file(name)});
        EXPECT_EQ(run.code, kFileError);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(path(name)), std::string::npos) << run.err;
    }
    const auto run = runTool({dir.file(u"tools.lsp"), u"--out", dir.file(u"no/such/dir/x.txt")});
    EXPECT_EQ(run.code, kFileError);
    EXPECT_NE(run.err.find("x.txt"), std::string::npos) << run.err;
}

} // namespace
} // namespace morvane
