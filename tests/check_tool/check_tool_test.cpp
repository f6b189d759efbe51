// morvanex-check in-process: each fixture folder under data/ plants one kind
// of fault and must give its findings at their lines; the clean folder none.
// Failures the disk will not give on demand come from fake services; the
// CAD steps from a fake CAD.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>

#include "cad/cad_link.h"
#include "cad_check.h"
#include "check_tool.h"
#include "platform/services.h"
#include "support/fake_services.h"
#include "support/temp_dir.h"
#include "text/utf.h"

namespace morvane {
namespace {

struct ToolRun {
    int code = -1;
    std::u16string out;
    std::u16string err;
};

ToolRun runTool(const std::vector<std::u16string>& args, PlatformServices& services,
                CadSystem* cad = nullptr, bool windowsPaths = false) {
    ToolRun run;
    const CheckEnvironment environment{u"/no/default/folder", u'/', windowsPaths, cad};
    run.code = runCheckTool(args, environment, services, run.out, run.err);
    return run;
}

// The output with the checked folder written as "F/".
std::string withFolderAsF(const std::u16string& out, const std::u16string& folder) {
    std::u16string text = out;
    for (size_t at; (at = text.find(folder)) != std::u16string::npos;)
        text.replace(at, folder.size(), u"F/");
    return utf16ToUtf8(text);
}

struct FixtureCase {
    const char* folder;
    friend void PrintTo(const FixtureCase& c, std::ostream* os) { *os << c.folder; }
    int code;
    std::string out;
};

class Fixture : public testing::TestWithParam<FixtureCase> {};

// The fixture is copied, so the check's probe file never lands in the sources.
TEST_P(Fixture, FindsEachPlantedFaultAtItsLine) {
    const auto& c = GetParam();
    test::TempDir dir;
    std::filesystem::copy(std::filesystem::path(MORVANE_CHECK_DATA_DIR) / c.folder, dir.path(),
                          std::filesystem::copy_options::recursive);
    const ToolRun run = runTool({dir.folder()}, platformServices());
    EXPECT_EQ(withFolderAsF(run.out, dir.folder()), c.out);
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(run.err, u"");
    EXPECT_FALSE(dir.exists(u"morvanex-check.probe"));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, Fixture,
    testing::Values(
        FixtureCase{"clean", 0, "0 errors, 0 warnings\n"},
        FixtureCase{
            "missing_files", 1,
            "F/MorvaneList.txt:2: error: LISP file not found: F/missing.lsp; a double-click shows "
            "\"ファイルが見つかりません．\"\n"
            "F/MorvaneList.txt:3: note: C:\\Tools\\other.lsp cannot be checked on this system\n"
            "F/MorvaneList.txt:4: error: program not found: F/gone.exe; a double-click starts "
            "nothing\n"
            "F/MorvaneList.txt:5: note: calc.exe is looked up by Windows when started: not "
            "checked\n"
            "2 errors, 0 warnings\n"},
        FixtureCase{
            "list_rows", 0,
            "F/MorvaneList.txt:2: warning: the third field \"notes.txt\" is neither a .lsp nor an "
            ".exe file: it is ignored\n"
            "F/MorvaneList.txt:3: warning: \"見出し\" has an empty description: it is shown as a "
            "group\n"
            "F/MorvaneList.txt:4: warning: \"説明だけ\" has no command and no file: a double-click "
            "does nothing\n"
            "F/MorvaneList.txt:6: warning: the command \"line\" is also on line 2\n"
            "F/MorvaneList.txt:7: warning: the command \" LINE\" starts or ends with a blank: it "
            "is sent as typed, and many CADs take a space as Enter\n"
            "F/MorvaneList.txt:8: warning: the command \"ARC \" starts or ends with a blank: it "
            "is sent as typed, and many CADs take a space as Enter\n"
            "0 errors, 6 warnings\n"},
        FixtureCase{"encoding", 1,
                    "F/MorvaneList.txt:2: error: bytes not valid in code page 932: the line shows "
                    "as garbage; the line is valid UTF-8: the file was saved as UTF-8 without a "
                    "byte-order mark (save it with one)\n"
                    "F/MorvaneList.txt:3: error: bytes not valid in code page 932: the line shows "
                    "as garbage\n"
                    "2 errors, 0 warnings\n"},
        // LF line ends and a lead byte right before one: the two lines merge
        // in the launcher, yet every finding keeps the line an editor shows.
        FixtureCase{"merged_lines", 1,
                    "F/MorvaneList.txt:3: error: bytes not valid in code page 932: the line shows "
                    "as garbage; its last byte takes the line break with it: the launcher reads "
                    "line 4 as part of this line\n"
                    "F/MorvaneList.txt:3: warning: the third field \"円弧\" is neither a .lsp nor "
                    "an .exe file: it is ignored\n"
                    "F/MorvaneList.txt:5: warning: the command \"LINE\" is also on line 2\n"
                    "1 error, 2 warnings\n"},
        FixtureCase{"targets", 0,
                    "F/TargetCAD_APIVersion.txt:2: warning: no TAB between a name and a ProgID: "
                    "the line names no CAD\n"
                    "F/TargetCAD_APIVersion.txt:3: warning: the name is empty\n"
                    "F/TargetCAD_APIVersion.txt:4: warning: the ProgID is empty\n"
                    "F/TargetCAD_APIVersion.txt:5: warning: the name \"BricsCAD\" is also on "
                    "line 1\n"
                    "0 errors, 4 warnings\n"},
        FixtureCase{"settings", 0,
                    "F/MorvaneX.ini:2: warning: [Form] Left=abc is not a number: the default is "
                    "used instead\n"
                    "F/MorvaneX.ini:4: warning: [Form] Width= is not a number: the default is "
                    "used instead\n"
                    "F/MorvaneX.ini:7: warning: the ProgID \"Unknown.Application\" is not in the "
                    "target list: the caption stays \"Morvane\"\n"
                    "0 errors, 3 warnings\n"},
        FixtureCase{"empty_folder", 0,
                    "F/MorvaneList.txt: warning: there is no command list: the launcher shows no "
                    "commands\n"
                    "F/TargetCAD_APIVersion.txt: note: there is no target list: the caption stays "
                    "\"Morvane\" and the target dialog starts empty\n"
                    "F/MorvaneX.ini: note: there is no settings file: the window opens centred on "
                    "the screen and drives \"BricscadApp.AcadApplication\"\n"
                    "F/MorvaneX.ini: warning: the ProgID \"BricscadApp.AcadApplication\" is not "
                    "in the target list: the caption stays \"Morvane\"\n"
                    "0 errors, 2 warnings\n"}),
    [](const auto& info) { return std::string(info.param.folder); });

// The folder exists on disk; its files come from the fake file system.
struct FakeFolder {
    test::TempDir dir;
    test::FakeServices fake;
    std::u16string folder = dir.folder();

    FakeFolder() {
        fake.files.files[folder + u"MorvaneList.txt"] = "LINE\tline\r\n";
        fake.files.files[folder + u"TargetCAD_APIVersion.txt"] =
            "B\tBricscadApp.AcadApplication\r\n";
        fake.files.files[folder + u"MorvaneX.ini"] = "[Form]\r\nLeft=10\r\n";
    }
    ToolRun run(PlatformServices& services, bool windowsPaths = false) {
        return runTool({folder}, services, nullptr, windowsPaths);
    }
    ToolRun run() { return run(fake.services); }
};

TEST(CheckFailures, UnreadableFileIsExitThreeWithTheLaunchersMessage) {
    FakeFolder f;
    f.fake.files.unreadable[f.folder + u"MorvaneList.txt"] = u"locked";
    const ToolRun run = f.run();
    EXPECT_EQ(run.code, kUnreadable);
    EXPECT_NE(run.out.find(u"MorvaneList.txt: error: ファイル " + f.folder +
                           u"MorvaneList.txt は開けません。 locked "),
              std::u16string::npos)
        << utf16ToUtf8(run.out);
}

TEST(CheckFailures, FolderThatCannotBeWrittenIsAnError) {
    FakeFolder f;
    f.fake.files.unreadable[f.folder + u"morvanex-check.probe"] = u"access denied";
    const ToolRun run = f.run();
    EXPECT_EQ(run.code, kErrorsFound);
    EXPECT_EQ(utf16ToUtf8(run.out),
              utf16ToUtf8(f.folder) +
                  ": error: the folder cannot be written (access denied): settings and new lists "
                  "cannot be saved\n1 error, 0 warnings\n");
}

// Where the ANSI code page is UTF-8, a Shift_JIS list is read in 932 as the
// launcher reads it, and a UTF-8 line in it is then the fault.
TEST(CheckFailures, CodePageOfAUtf8SystemFollowsTheLaunchersReading) {
    FakeFolder f;
    test::Utf8AnsiCodePage utf8System;
    PlatformServices services{utf8System, f.fake.services.collator, f.fake.files, f.fake.clock};
    f.fake.files.files[f.folder + u"MorvaneList.txt"] = "LINE\t\x90\xfc\r\n"; // 線
    EXPECT_EQ(f.run(services).out, u"0 errors, 0 warnings\n");
    f.fake.files.files[f.folder + u"MorvaneList.txt"] = "LINE\t\xe7\xb7\x9a\r\n";
    EXPECT_EQ(f.run(services).out, u"0 errors, 0 warnings\n");
    f.fake.files.files[f.folder + u"MorvaneList.txt"] = "LINE\t\x90\xfc\r\nARC\t\xe7\xb7\x9a\r\n";
    const ToolRun mixed = f.run(services);
    EXPECT_NE(mixed.out.find(u"MorvaneList.txt:2: error: bytes not valid in code page 932"),
              std::u16string::npos)
        << utf16ToUtf8(mixed.out);
}

// The encoding is checked before the rows, yet a file's findings come out in
// line order.
TEST(CheckFailures, FindingsOfAFileComeInLineOrder) {
    FakeFolder f;
    f.fake.files.files[f.folder + u"MorvaneList.txt"] =
        "LINE\ta\r\nLINE\tb\r\nARC\t\xe7\xb7\x9a\r\n";
    const std::string out = utf16ToUtf8(f.run().out);
    const size_t duplicate = out.find("MorvaneList.txt:2: warning");
    const size_t encoding = out.find("MorvaneList.txt:3: error");
    ASSERT_NE(duplicate, std::string::npos) << out;
    ASSERT_NE(encoding, std::string::npos) << out;
    EXPECT_LT(duplicate, encoding) << out;
}

// A present but empty ProgID is taken as it is, not as the default.
TEST(CheckFailures, EmptyProgIdInTheSettingsIsAWarning) {
    FakeFolder f;
    f.fake.files.files[f.folder + u"MorvaneX.ini"] = "[Target]\r\nProgID=\r\n";
    EXPECT_EQ(utf16ToUtf8(f.run().out),
              utf16ToUtf8(f.folder) +
                  "MorvaneX.ini:2: warning: the ProgID is empty: no CAD can be reached\n"
                  "0 errors, 1 warning\n");
}

// On Windows a drive-letter path is checked like any other.
TEST(CheckFailures, WindowsPathsAreCheckedOnWindows) {
    FakeFolder f;
    f.fake.files.files[f.folder + u"MorvaneList.txt"] =
        "A\ta\tC:\\Tools\\a.lsp\r\nB\tb\t\\\\server\\share\\b.lsp\r\n";
    f.fake.files.files[u"\\\\server\\share\\b.lsp"] = "";
    EXPECT_EQ(utf16ToUtf8(f.run(f.fake.services, true).out),
              utf16ToUtf8(f.folder) +
                  "MorvaneList.txt:1: error: LISP file not found: C:\\Tools\\a.lsp; a "
                  "double-click shows \"ファイルが見つかりません．\"\n1 error, 0 warnings\n");
}

TEST(CheckUsage, ErrorsAreExitTwoAndAMissingFolderExitThree) {
    test::FakeServices fake;
    test::TempDir dir;
    struct Case {
        std::vector<std::u16string> args;
        int code;
        std::u16string message;
    };
    const Case cases[] = {
        {{u"--cad"}, kCheckUsageError, u"--cad works on Windows only"},
        {{u"--frobnicate"}, kCheckUsageError, u"unknown option --frobnicate"},
        {{dir.folder(), dir.folder()}, kCheckUsageError, u"more than one folder"},
        {{dir.folder(), u"--progid"}, kCheckUsageError, u"--progid needs a value"},
        {{dir.folder(), u"--progid", u"A.B"}, kCheckUsageError, u"--progid is for --cad"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.args, fake.services);
        EXPECT_EQ(run.code, c.code) << utf16ToUtf8(c.message);
        EXPECT_NE(run.err.find(c.message), std::u16string::npos) << utf16ToUtf8(run.err);
        EXPECT_EQ(run.out, u"");
    }
    const ToolRun missing = runTool({dir.file(u"nothing-here")}, fake.services);
    EXPECT_EQ(missing.code, kUnreadable);
    EXPECT_NE(missing.out.find(u"nothing-here: error: not a folder"), std::u16string::npos);
}

// A CAD as the check sees it: registered or not, running or not, its HWND
// and its document.
class FakeCad final : public CadSystem, public CadAutomation {
  public:
    bool registered = true;
    bool running = true;
    bool elevated = false;
    bool documentOpen = true;
    CadValue hwnd = int64_t{0x1234};
    uint64_t window = 0x1234;
    std::vector<std::u16string> calls;

    CadAutomation& automation() override { return *this; }
    bool isRegistered(std::u16string_view) override { return registered; }
    bool isElevated() override { return elevated; }
    bool isWindow(uint64_t value) override { return value == window; }
    CadObjectPtr attach(std::u16string_view progId) override {
        calls.push_back(u"attach " + std::u16string(progId));
        if (!running)
            throw CadFailure(u"GetActiveObject failed", static_cast<int32_t>(0x800401E3));
        return std::make_unique<Application>(*this);
    }

  private:
    class Document final : public CadObject {
      public:
        explicit Document(FakeCad& cad) : cad_(cad) {}
        CadValue getProperty(std::u16string_view name) override {
            cad_.calls.push_back(u"document get " + std::u16string(name));
            return CadOther{};
        }
        void callMethod(std::u16string_view name, std::u16string_view) override {
            cad_.calls.push_back(u"document call " + std::u16string(name));
        }

      private:
        FakeCad& cad_;
    };
    class Application final : public CadObject {
      public:
        explicit Application(FakeCad& cad) : cad_(cad) {}
        CadValue getProperty(std::u16string_view name) override {
            cad_.calls.push_back(u"get " + std::u16string(name));
            if (name == u"HWND")
                return std::visit(
                    [](const auto& v) -> CadValue {
                        if constexpr (std::is_same_v<std::decay_t<decltype(v)>, CadObjectPtr>)
                            return CadOther{};
                        else
                            return v;
                    },
                    cad_.hwnd);
            if (cad_.documentOpen)
                return std::make_unique<Document>(cad_);
            return CadNull{};
        }
        void callMethod(std::u16string_view name, std::u16string_view) override {
            cad_.calls.push_back(u"call " + std::u16string(name));
        }

      private:
        FakeCad& cad_;
    };
};

TEST(CadCheck, OneLineAStepStoppingWhereTheRestDependsOnIt) {
    struct Case {
        const char* name;
        void (*set)(FakeCad&);
        std::vector<CadStep> steps;
    };
    const std::u16string registered = u"the ProgID \"A.B\" is registered";
    const Case cases[] = {
        {"reachable",
         [](FakeCad&) {},
         {{true, registered},
          {true, u"an instance is running"},
          {true, u"HWND gives its main window 0x1234"},
          {true, u"a document is open (ActiveDocument)"}}},
        {"not_registered",
         [](FakeCad& c) { c.registered = false; },
         {{false, u"the ProgID \"A.B\" is not registered"}}},
        {"not_running",
         [](FakeCad& c) { c.running = false; },
         {{true, registered},
          {false, u"no running instance can be reached: GetActiveObject failed (0x800401E3); "
                  u"this process does not run elevated, and a CAD running at another elevation "
                  u"level cannot be reached by COM, nor by MorvaneX"}}},
        {"not_running_elevated",
         [](FakeCad& c) {
             c.running = false;
             c.elevated = true;
         },
         {{true, registered},
          {false, u"no running instance can be reached: GetActiveObject failed (0x800401E3); "
                  u"this process runs elevated, and a CAD running at another elevation level "
                  u"cannot be reached by COM, nor by MorvaneX"}}},
        {"no_window",
         [](FakeCad& c) { c.window = 1; },
         {{true, registered},
          {true, u"an instance is running"},
          {false, u"HWND gives 0x1234, which is no window: the CAD cannot be brought to the "
                  u"front"},
          {true, u"a document is open (ActiveDocument)"}}},
        {"hwnd_unreadable",
         [](FakeCad& c) { c.hwnd = CadNull{}; },
         {{true, registered},
          {true, u"an instance is running"},
          {false, u"HWND cannot be read: HWND is not a window handle: null"},
          {true, u"a document is open (ActiveDocument)"}}},
        {"no_document",
         [](FakeCad& c) { c.documentOpen = false; },
         {{true, registered},
          {true, u"an instance is running"},
          {true, u"HWND gives its main window 0x1234"},
          {false, u"no document is open (ActiveDocument gives none): commands have nowhere to "
                  u"go"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        FakeCad cad;
        c.set(cad);
        EXPECT_EQ(checkCad(u"A.B", cad), c.steps);
        for (const auto& call : cad.calls)
            EXPECT_EQ(call.find(u"SendCommand"), std::u16string::npos);
    }
}

// --progid wins over the settings' ProgID; the CAD's errors count.
TEST(CadCheck, ToolChecksTheSettingsProgIdUnlessGivenOne) {
    FakeFolder f;
    f.fake.files.files[f.folder + u"MorvaneX.ini"] =
        "[Target]\r\nProgID=BricscadApp.AcadApplication\r\n";
    FakeCad cad;
    cad.documentOpen = false;
    ToolRun run = runTool({f.folder, u"--cad"}, f.fake.services, &cad);
    EXPECT_EQ(cad.calls.front(), u"attach BricscadApp.AcadApplication");
    EXPECT_EQ(run.code, kErrorsFound);
    EXPECT_NE(run.out.find(u"cad: error: no document is open"), std::u16string::npos);
    EXPECT_TRUE(run.out.ends_with(u"1 error, 0 warnings\n")) << utf16ToUtf8(run.out);

    FakeCad other;
    run = runTool({f.folder, u"--cad", u"--progid", u"Other.App"}, f.fake.services, &other);
    EXPECT_EQ(other.calls.front(), u"attach Other.App");
    EXPECT_EQ(run.code, kNoError);
    EXPECT_NE(run.out.find(u"cad: ok: a document is open"), std::u16string::npos);
}

} // namespace
} // namespace morvane
