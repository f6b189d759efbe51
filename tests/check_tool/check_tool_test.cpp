// morvanex-check in-process: each fixture folder under data/ plants one kind
// of fault and must give its findings at their lines; the clean folder none.
// Failures the disk will not give on demand come from fake services; the
// CAD steps from a fake CAD.
#include <gtest/gtest.h>

#include <functional>

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <set>

#include "cad/cad_link.h"
#include "cad_check.h"
#include "cad_list.h"
#include "check_tool.h"
#include "messages.h"
#include "services/services.h"
#include "support/case_name.h"
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

// What the tool finds of the system beyond the files.
struct ToolSystem {
    CadSystem* cad = nullptr;
    CadCatalog* catalog = nullptr;
    bool windowsPaths = false;
    MessageLanguage userLanguage = MessageLanguage::kEnglish;
    // Whether another program holds the hotkey; null: cannot tell.
    const std::function<bool(const Hotkey&)>* hotkeyTaken = nullptr;
    const char16_t* localAppData = u"%LOCALAPPDATA%";
};

ToolRun runTool(const std::vector<std::u16string>& args, PlatformServices& services,
                const ToolSystem& system = {}) {
    ToolRun run;
    const CheckEnvironment environment{u"/no/default/folder",
                                       u'/',
                                       system.windowsPaths,
                                       system.cad,
                                       system.catalog,
                                       system.userLanguage,
                                       {},
                                       system.hotkeyTaken ? *system.hotkeyTaken : nullptr,
                                       system.localAppData};
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
};

class Fixture : public testing::TestWithParam<std::tuple<FixtureCase, const char16_t*>> {};

// The findings expected of a fixture folder in a language: data/FOLDER.LANG.txt,
// the folder written as "F/".
std::string expectedOutput(const char* folder, std::u16string_view language) {
    std::ifstream file(std::filesystem::path(MORVANE_CHECK_DATA_DIR) /
                           (std::string(folder) + "." + utf16ToUtf8(language) + ".txt"),
                       std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The fixture is copied, so the check's probe file never lands in the sources.
TEST_P(Fixture, FindsEachPlantedFaultAtItsLine) {
    const auto& [c, language] = GetParam();
    test::TempDir dir;
    std::filesystem::copy(std::filesystem::path(MORVANE_CHECK_DATA_DIR) / c.folder, dir.path(),
                          std::filesystem::copy_options::recursive);
    const std::string expected = expectedOutput(c.folder, language);
    ASSERT_FALSE(expected.empty()) << "no expected output for " << c.folder;
    const ToolRun run = runTool({dir.folder(), u"--lang", language}, platformServices());
    EXPECT_EQ(withFolderAsF(run.out, dir.folder()), expected);
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(run.err, u"");
    EXPECT_FALSE(dir.exists(u"morvanex-check.probe"));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, Fixture,
    testing::Combine(testing::Values(FixtureCase{"clean", 0}, FixtureCase{"missing_files", 1},
                                     FixtureCase{"list_rows", 0}, FixtureCase{"encoding", 1},
                                     // LF line ends and a lead byte right before one: the
                                     // two lines merge in the launcher, yet every finding
                                     // keeps the line an editor shows.
                                     FixtureCase{"merged_lines", 1}, FixtureCase{"targets", 0},
                                     FixtureCase{"settings", 0}, FixtureCase{"empty_folder", 0},
                                     FixtureCase{"hotkey", 0}),
                     testing::Values(u"en", u"ja")),
    [](const auto& info) {
        return std::string(std::get<0>(info.param).folder) + "_" +
               utf16ToUtf8(std::get<1>(info.param));
    });

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
        return runTool({folder}, services, {.windowsPaths = windowsPaths});
    }
    ToolRun run() { return run(fake.services); }
};

// Only Windows can tell whether another program holds the hotkey: asked
// for a well-formed one, and said when it is taken.
TEST(CheckHotkey, ATakenHotkeyIsAWarningWhereTheSystemCanTell) {
    FakeFolder f;
    f.fake.files.files[f.folder + u"MorvaneX.ini"] = "[Keys]\r\nActivate=ctrl+shift+space\r\n";
    std::vector<Hotkey> asked;
    const std::function<bool(const Hotkey&)> taken = [&](const Hotkey& hotkey) {
        asked.push_back(hotkey);
        return true;
    };
    const ToolRun run =
        runTool({f.folder, u"--lang", u"en"}, f.fake.services, {.hotkeyTaken = &taken});
    EXPECT_EQ(asked, (std::vector<Hotkey>{{kHotkeyCtrl | kHotkeyShift, kVirtualKeySpace}}));
    EXPECT_NE(run.out.find(u"MorvaneX.ini:2: warning: [Keys] Activate=ctrl+shift+space: "
                           u"Ctrl+Shift+Space is held by another program: the launcher has no "
                           u"hotkey"),
              std::u16string::npos)
        << utf16ToUtf8(run.out);
    EXPECT_EQ(run.code, 0);

    // Free, or where nobody can tell: nothing said.
    const std::function<bool(const Hotkey&)> free = [](const Hotkey&) { return false; };
    for (const auto* question : {&free, static_cast<decltype(&free)>(nullptr)}) {
        const ToolRun quiet =
            runTool({f.folder, u"--lang", u"en"}, f.fake.services, {.hotkeyTaken = question});
        EXPECT_EQ(quiet.out.find(u"Activate"), std::u16string::npos) << utf16ToUtf8(quiet.out);
    }
}

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
                  ": error: the folder cannot be written (access denied): new lists and the "
                  "target list cannot be saved\n1 error, 0 warnings\n");
}

struct SettingsPlaceCase {
    const char* name;
    friend void PrintTo(const SettingsPlaceCase& c, std::ostream* os) { *os << c.name; }
    std::string settings;
    bool folderWritable;
    bool fileWritable;
    const char16_t* language;
    std::string out; // with the folder as "F/"
};

class SettingsPlaceNote : public testing::TestWithParam<SettingsPlaceCase> {};

// Which settings file this user gets, said only where it is not the one in
// the folder, and why.
TEST_P(SettingsPlaceNote, SaysWhereThisUsersSettingsAreAndWhy) {
    const auto& c = GetParam();
    FakeFolder f;
    f.fake.files.files[f.folder + u"MorvaneX.ini"] = c.settings;
    if (!c.folderWritable)
        f.fake.files.unwritable.insert(f.folder);
    if (!c.fileWritable)
        f.fake.files.unwritable.insert(f.folder + u"MorvaneX.ini");
    const ToolRun run = runTool({f.folder, u"--lang", c.language}, f.fake.services);
    EXPECT_EQ(withFolderAsF(run.out, f.folder), c.out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsPlaceNote,
    testing::Values(
        SettingsPlaceCase{"writable", "[Form]\r\nLeft=10\r\n", true, true, u"en",
                          "0 errors, 0 warnings\n"},
        SettingsPlaceCase{"another location", "[Settings]\r\nLocation=Shared\r\n", true, true,
                          u"en", "0 errors, 0 warnings\n"},
        SettingsPlaceCase{
            "per user", "[Form]\r\nLeft=10\r\n[Settings]\r\nLocation=PerUser\r\n", true, true,
            u"en",
            "F/MorvaneX.ini:4: note: each user keeps their own settings, as [Settings] "
            "Location=PerUser asks: this user's are in %LOCALAPPDATA%\\MorvaneX\\MorvaneX.ini; "
            "the values it lacks come from this file, which the launcher never writes\n"
            "0 errors, 0 warnings\n"},
        SettingsPlaceCase{
            "file read-only", "[Form]\r\nLeft=10\r\n", true, false, u"en",
            "F/MorvaneX.ini: note: this user cannot write this file: their own settings are in "
            "%LOCALAPPDATA%\\MorvaneX\\MorvaneX.ini; the values it lacks come from this file, "
            "which the launcher never writes\n"
            "0 errors, 0 warnings\n"},
        SettingsPlaceCase{
            "folder read-only", "[Form]\r\nLeft=10\r\n", false, true, u"en",
            "F/MorvaneX.ini: note: this user cannot write this file: their own settings are in "
            "%LOCALAPPDATA%\\MorvaneX\\MorvaneX.ini; the values it lacks come from this file, "
            "which the launcher never writes\n"
            "F/: error: the folder cannot be written (access denied): new lists and the target "
            "list cannot be saved\n"
            "1 error, 0 warnings\n"},
        SettingsPlaceCase{
            "folder read-only ja", "[Form]\r\nLeft=10\r\n", false, true, u"ja",
            "F/MorvaneX.ini: note: この利用者はこのファイルに書き込めません。この利用者の設定は "
            "%LOCALAPPDATA%\\MorvaneX\\MorvaneX.ini に保存されます。そこにない値はこのファイルから"
            "読まれ、このファイルに MorvaneX が書き込むことはありません\n"
            "F/: error: フォルダーに書き込めません（access "
            "denied）。新しいコマンドリストとターゲット "
            "CAD の一覧を保存できません\n"
            "エラー 1 件、警告 0 件\n"}),
    test::CaseName());

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
        std::u16string message;
    };
    const Case cases[] = {
        {{u"--cad"}, u"--cad works on Windows only, where the CAD runs"},
        {{u"--frobnicate"}, u"unknown option --frobnicate"},
        {{dir.folder(), dir.folder()}, u"more than one folder given"},
        {{dir.folder(), u"--progid"}, u"--progid needs a value"},
        {{dir.folder(), u"--progid", u"A.B"}, u"--progid is for --cad"},
        {{dir.folder(), u"--lang"}, u"--lang needs a value"},
        {{dir.folder(), u"--lang", u"fr"}, u"--lang takes ja or en, not fr"},
        {{u"--lang", u"en", dir.folder(), u"--lang", u"ja"}, u"--lang given twice"},
        // In the language asked for, wherever --lang stands.
        {{u"--frobnicate", u"--lang", u"ja"}, u"--frobnicate というオプションはありません"},
        {{u"--lang", u"ja", u"--cad"}, u"--cad は CAD が動く Windows でだけ使えます"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool(c.args, fake.services);
        EXPECT_EQ(run.code, kCheckUsageError) << utf16ToUtf8(c.message);
        EXPECT_TRUE(run.err.starts_with(u"morvanex-check: " + c.message + u"\n"))
            << utf16ToUtf8(run.err);
        EXPECT_EQ(run.out, u"");
    }
    const ToolRun missing = runTool({dir.file(u"nothing-here")}, fake.services);
    EXPECT_EQ(missing.code, kUnreadable);
    EXPECT_NE(missing.out.find(u"nothing-here: error: not a folder"), std::u16string::npos);
}

// The user's language unless --lang says otherwise: findings, summary, usage.
TEST(CheckLanguage, TheUsersLanguageUnlessLangChooses) {
    FakeFolder f;
    const auto summaryOf = [&](std::vector<std::u16string> args, MessageLanguage user) {
        return runTool(args, f.fake.services, {.userLanguage = user}).out;
    };
    const std::u16string ja = u"エラー 0 件、警告 0 件\n", en = u"0 errors, 0 warnings\n";
    EXPECT_EQ(summaryOf({f.folder}, MessageLanguage::kJapanese), ja);
    EXPECT_EQ(summaryOf({f.folder}, MessageLanguage::kEnglish), en);
    EXPECT_EQ(summaryOf({f.folder, u"--lang", u"en"}, MessageLanguage::kJapanese), en);
    EXPECT_EQ(summaryOf({u"--lang", u"ja", f.folder}, MessageLanguage::kEnglish), ja);
    EXPECT_TRUE(
        summaryOf({u"-h"}, MessageLanguage::kJapanese).starts_with(u"使い方: morvanex-check"));
    EXPECT_TRUE(
        summaryOf({u"--help"}, MessageLanguage::kEnglish).starts_with(u"usage: morvanex-check"));

    EXPECT_EQ(languageOfLocale(u"ja_JP.UTF-8"), MessageLanguage::kJapanese);
    EXPECT_EQ(languageOfLocale(u"ja"), MessageLanguage::kJapanese);
    for (const auto* other : {u"C", u"C.UTF-8", u"en_US.UTF-8", u"POSIX", u""})
        EXPECT_EQ(languageOfLocale(other), MessageLanguage::kEnglish) << utf16ToUtf8(other);
}

// Every message has both languages, and the translation takes the same
// arguments: a {n} lost in translation would drop a path or a line number.
TEST(CheckLanguage, EveryMessageHasBothLanguagesWithTheSameArguments) {
    const auto placeholders = [](std::u16string_view text) {
        std::set<char16_t> found;
        for (size_t i = 0; i + 2 < text.size(); ++i)
            if (text[i] == u'{' && text[i + 2] == u'}' && text[i + 1] >= u'1' &&
                text[i + 1] <= u'9')
                found.insert(text[i + 1]);
        return found;
    };
    for (const auto& message : messageTable()) {
        SCOPED_TRACE(utf16ToUtf8(message.english));
        EXPECT_FALSE(message.english.empty());
        EXPECT_FALSE(message.japanese.empty());
        EXPECT_EQ(placeholders(message.english), placeholders(message.japanese));
        if (!message.englishPlural.empty()) {
            EXPECT_EQ(placeholders(message.englishPlural), placeholders(message.english));
        }
    }
    const Messages ja(MessageLanguage::kJapanese);
    EXPECT_EQ(ja(MessageId::DuplicateCommand, {u"\"LINE\"", u"2"}),
              u"コマンド \"LINE\" は 2 行目にもあります");
    const Messages en(MessageLanguage::kEnglish);
    EXPECT_EQ(en.count(MessageId::ErrorCount, 1), u"1 error");
    EXPECT_EQ(en.count(MessageId::ErrorCount, 2), u"2 errors");
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
        EXPECT_EQ(checkCad(u"A.B", cad, MessageLanguage::kEnglish), c.steps);
        // The same steps in Japanese, each in its own words.
        const auto japanese = checkCad(u"A.B", cad, MessageLanguage::kJapanese);
        ASSERT_EQ(japanese.size(), c.steps.size());
        for (size_t i = 0; i < japanese.size(); ++i) {
            EXPECT_EQ(japanese[i].ok, c.steps[i].ok);
            EXPECT_NE(japanese[i].message, c.steps[i].message);
        }
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
    ToolRun run = runTool({f.folder, u"--cad"}, f.fake.services, {.cad = &cad});
    EXPECT_EQ(cad.calls.front(), u"attach BricscadApp.AcadApplication");
    EXPECT_EQ(run.code, kErrorsFound);
    EXPECT_NE(run.out.find(u"cad: error: no document is open"), std::u16string::npos);
    EXPECT_TRUE(run.out.ends_with(u"1 error, 0 warnings\n")) << utf16ToUtf8(run.out);

    FakeCad other;
    run =
        runTool({f.folder, u"--cad", u"--progid", u"Other.App"}, f.fake.services, {.cad = &other});
    EXPECT_EQ(other.calls.front(), u"attach Other.App");
    EXPECT_EQ(run.code, kNoError);
    EXPECT_NE(run.out.find(u"cad: ok: a document is open"), std::u16string::npos);
}

// Where each user keeps their own settings, the CAD checked is the one of
// this user's file, else the folder's.
TEST(CadCheck, ToolChecksThisUsersOwnProgId) {
    FakeFolder f;
    f.fake.files.files[f.folder + u"MorvaneX.ini"] =
        "[Target]\r\nProgID=Department.Cad\r\n[Settings]\r\nLocation=PerUser\r\n";
    FakeCad cad;
    const ToolSystem system{.cad = &cad, .localAppData = u"/home/op/local"};
    ToolRun run = runTool({f.folder, u"--cad", u"--lang", u"en"}, f.fake.services, system);
    EXPECT_EQ(cad.calls.front(), u"attach Department.Cad");
    EXPECT_NE(run.out.find(u"this user's are in /home/op/local\\MorvaneX\\MorvaneX.ini"),
              std::u16string::npos)
        << utf16ToUtf8(run.out);

    cad.calls.clear();
    f.fake.files.files[u"/home/op/local\\MorvaneX\\MorvaneX.ini"] =
        "[Target]\r\nProgID=Own.Cad\r\n";
    run = runTool({f.folder, u"--cad"}, f.fake.services, system);
    EXPECT_EQ(cad.calls.front(), u"attach Own.Cad");
}

// A PC's running object table and classes root, as plain data; it records
// which running objects are asked, for the ProgIDs a list finds.
class FakeCatalog final : public CadCatalog {
  public:
    std::vector<std::u16string> running;
    std::map<std::u16string, LiveMembers> live; // by class id as the table names it
    std::vector<RegisteredProgId> progIds;
    std::map<std::u16string, ClassRegistration> classes;                 // by upper-cased class id
    std::map<std::u16string, std::vector<DescribedInterface>> libraries; // by upper-cased class id
    std::vector<std::u16string> asked;

    std::vector<std::u16string> runningObjects() override { return running; }
    LiveMembers askRunning(std::u16string_view classId) override {
        asked.emplace_back(classId);
        const auto found = live.find(std::u16string(classId));
        return found == live.end() ? LiveMembers{} : found->second;
    }
    std::vector<RegisteredProgId> registeredProgIds() override { return progIds; }
    std::optional<ClassRegistration> classRegistration(std::u16string_view classId) override {
        const auto found = classes.find(std::u16string(classId));
        if (found == classes.end())
            return std::nullopt;
        return found->second;
    }
    std::optional<std::vector<DescribedInterface>>
    typeLibrary(std::u16string_view classId) override {
        const auto found = libraries.find(std::u16string(classId));
        if (found == libraries.end())
            return std::nullopt;
        return found->second;
    }
};

// Class ids of the PC below: two AutoCAD versions, BricsCAD, a CAD too busy
// to answer, a CAD with no type library, Word, an in-process library and a
// viewer whose document cannot take commands.
constexpr std::u16string_view kAcad24 = u"{1111AAAA-0000-0000-0000-000000000024}";
constexpr std::u16string_view kAcad23 = u"{11111111-0000-0000-0000-000000000023}";
constexpr std::u16string_view kBricscad = u"{22222222-0000-0000-0000-000000000000}";
constexpr std::u16string_view kBusy = u"{33333333-0000-0000-0000-000000000000}";
constexpr std::u16string_view kNoLibrary = u"{44444444-0000-0000-0000-000000000000}";
constexpr std::u16string_view kWord = u"{55555555-0000-0000-0000-000000000000}";
constexpr std::u16string_view kInProcess = u"{66666666-0000-0000-0000-000000000000}";
constexpr std::u16string_view kViewer = u"{77777777-0000-0000-0000-000000000000}";

std::vector<DescribedInterface> cadLibrary() {
    return {{u"IAcadApplication", {{u"HWND", u""}, {u"ActiveDocument", u"IAcadDocument"}}},
            {u"IAcadDocument", {{u"SendCommand", u""}, {u"Name", u""}}}};
}

FakeCatalog somePc() {
    FakeCatalog pc;
    const LiveMembers cad{true, true, true, true};
    // AutoCAD 2024 runs; the table writes its class id in lower case.
    pc.running = {u"!{1111aaaa-0000-0000-0000-000000000024}",
                  u"C:\\drawings\\a.dwg",
                  u"!" + std::u16string(kBusy),
                  u"!" + std::u16string(kNoLibrary),
                  u"!" + std::u16string(kWord),
                  u"!VisualStudio.DTE.17.0:1234"};
    pc.live[std::u16string(kAcad24)] = cad;
    pc.live[std::u16string(kBusy)] = LiveMembers{};
    pc.live[std::u16string(kNoLibrary)] = {true, true, true, std::nullopt};
    pc.live[std::u16string(kWord)] = {true, false, true, false};
    pc.progIds = {
        {u"AutoCAD.Application", std::u16string(kAcad24), u"AutoCAD.Application.24",
         u"AutoCAD Application"},
        {u"AutoCAD.Application.24", u"{1111aaaa-0000-0000-0000-000000000024}", u"",
         u"AutoCAD Application"},
        {u"AutoCAD.Application.23", std::u16string(kAcad23), u"", u"AutoCAD Application"},
        {u"BricscadApp.AcadApplication", std::u16string(kBricscad), u"", u"BricsCAD Application"},
        {u"Busy.Cad", std::u16string(kBusy), u"", u""},
        {u"Standin.App", std::u16string(kNoLibrary), u"", u""},
        {u"Word.Application", std::u16string(kWord), u"", u"Microsoft Word Application"},
        {u"InProcess.Cad", std::u16string(kInProcess), u"", u""},
        {u"Viewer.Application", std::u16string(kViewer), u"", u""},
    };
    const auto add = [&](std::u16string_view classId, ClassRegistration registration,
                         std::optional<std::vector<DescribedInterface>> library) {
        pc.classes[std::u16string(classId)] = std::move(registration);
        if (library)
            pc.libraries[std::u16string(classId)] = std::move(*library);
    };
    add(kAcad24, {u"AutoCAD.Application.24", u"AutoCAD.Application", true}, cadLibrary());
    add(kAcad23, {u"AutoCAD.Application.23", u"AutoCAD.Application", true}, cadLibrary());
    // ActiveDocument gives an IDispatch: SendCommand anywhere in the library.
    add(kBricscad, {u"BricscadApp.AcadApplication", u"", true},
        std::vector<DescribedInterface>{
            {u"IAcadApplication", {{u"hwnd", u""}, {u"ActiveDocument", u""}}},
            {u"IAcadDocument", {{u"SendCommand", u""}}}});
    add(kBusy, {u"Busy.Cad", u"", true}, cadLibrary());
    add(kNoLibrary, {u"Standin.App", u"", true}, std::nullopt);
    add(kWord, {u"Word.Application", u"", true},
        std::vector<DescribedInterface>{{u"_Application", {{u"ActiveDocument", u"_Document"}}},
                                        {u"_Document", {{u"Save", u""}}}});
    add(kInProcess, {u"InProcess.Cad", u"", false}, cadLibrary());
    add(kViewer, {u"Viewer.Application", u"", true},
        std::vector<DescribedInterface>{
            {u"IViewer", {{u"HWND", u""}, {u"ActiveDocument", u"IViewerDocument"}}},
            {u"IViewerDocument", {{u"Print", u""}}},
            {u"IViewerConsole", {{u"SendCommand", u""}}}});
    return pc;
}

TEST(CadList, RunningFirstThenInstalledEachProgIdWithWhatItIs) {
    FakeCatalog pc = somePc();
    const ToolRun run =
        runTool({u"--list-cads", u"--lang", u"en"}, platformServices(), {.catalog = &pc});
    EXPECT_EQ(run.code, kNoError);
    EXPECT_EQ(run.err, u"");
    EXPECT_EQ(utf16ToUtf8(run.out),
              "cad: running: AutoCAD.Application: running; version-independent, now "
              "AutoCAD.Application.24 (\"AutoCAD Application\")\n"
              "cad: running: AutoCAD.Application.24: running; this version only (\"AutoCAD "
              "Application\")\n"
              "cad: running: Busy.Cad: running\n"
              "cad: running: Standin.App: running; no document is open, so SendCommand was not "
              "asked\n"
              "cad: installed: AutoCAD.Application.23: installed, not running; this version only "
              "(\"AutoCAD Application\")\n"
              "cad: installed: BricscadApp.AcadApplication: installed, not running (\"BricsCAD "
              "Application\")\n");
    // Only the entries GetActiveObject finds are asked, each once.
    EXPECT_EQ(pc.asked,
              (std::vector<std::u16string>{std::u16string(kAcad24), std::u16string(kBusy),
                                           std::u16string(kNoLibrary), std::u16string(kWord)}));
}

TEST(CadList, JapaneseAndNoneFound) {
    FakeCatalog pc = somePc();
    const ToolRun ja = runTool({u"--list-cads"}, platformServices(),
                               {.catalog = &pc, .userLanguage = MessageLanguage::kJapanese});
    EXPECT_TRUE(ja.out.starts_with(
        u"cad: running: AutoCAD.Application: 起動しています。バージョンに依存しない ProgID です"
        u"（今は AutoCAD.Application.24 を指します）（\"AutoCAD Application\"）\n"))
        << utf16ToUtf8(ja.out);
    EXPECT_NE(ja.out.find(u"cad: installed: BricscadApp.AcadApplication: インストールされて"
                          u"いますが、起動していません（\"BricsCAD Application\"）\n"),
              std::u16string::npos)
        << utf16ToUtf8(ja.out);

    FakeCatalog empty;
    const ToolRun none =
        runTool({u"--list-cads", u"--lang", u"en"}, platformServices(), {.catalog = &empty});
    EXPECT_EQ(none.code, kErrorsFound);
    EXPECT_EQ(none.out, u"cad: note: no CAD found: no running program and no installed ProgID "
                        u"offers HWND, ActiveDocument and the document's SendCommand\n");
}

// --cad without --progid lists the CADs after its steps; with --progid, or
// without --cad, nothing is listed; --list-cads stands alone.
TEST(CadList, ListedByCadWithoutProgIdAndAloneByListCads) {
    FakeFolder f;
    FakeCatalog pc = somePc();
    FakeCad cad;
    const ToolSystem system{.cad = &cad, .catalog = &pc};
    ToolRun run = runTool({f.folder, u"--cad"}, f.fake.services, system);
    const size_t steps = run.out.find(u"cad: ok: a document is open");
    const size_t listed = run.out.find(u"cad: installed: BricscadApp.AcadApplication: ");
    ASSERT_NE(steps, std::u16string::npos) << utf16ToUtf8(run.out);
    ASSERT_NE(listed, std::u16string::npos) << utf16ToUtf8(run.out);
    EXPECT_LT(steps, listed);
    // The list is no finding: it counts neither as an error nor a warning.
    EXPECT_TRUE(run.out.ends_with(u"\n0 errors, 0 warnings\n")) << utf16ToUtf8(run.out);
    EXPECT_EQ(run.code, kNoError);

    for (const auto& args : {std::vector<std::u16string>{f.folder, u"--cad", u"--progid", u"A.B"},
                             std::vector<std::u16string>{f.folder}}) {
        run = runTool(args, f.fake.services, system);
        EXPECT_EQ(run.out.find(u"cad: installed"), std::u16string::npos) << utf16ToUtf8(run.out);
    }

    struct Case {
        std::vector<std::u16string> args;
        ToolSystem system;
        std::u16string message;
    };
    const std::u16string alone = u"--list-cads takes no folder and no other option but --lang "
                                 u"(--cad without --progid lists the CADs too)";
    const Case cases[] = {
        {{u"--list-cads"}, {}, u"--list-cads works on Windows only, where the CAD runs"},
        {{f.folder, u"--list-cads"}, system, alone},
        {{u"--list-cads", u"--cad"}, system, alone},
        {{u"--list-cads", u"--cad", u"--progid", u"A.B"}, system, alone},
    };
    for (const auto& c : cases) {
        run = runTool(c.args, f.fake.services, c.system);
        EXPECT_EQ(run.code, kCheckUsageError);
        EXPECT_TRUE(run.err.starts_with(u"morvanex-check: " + c.message + u"\n"))
            << utf16ToUtf8(run.err);
    }
}

} // namespace
} // namespace morvane
