// Dropping LISP files on the real main window: which file counts, the
// question, what is written, the backups, the error box and the tree.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <regex>
#include <thread>

#include "app/main_window.h"
#include "drop/drop_handle.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/window_base.h"

namespace morvane {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::u16string>;

constexpr std::u16string_view kYes = u"はい(&Y)";
constexpr std::u16string_view kNo = u"いいえ(&N)";
constexpr std::u16string_view kOk = u"OK";

// The source of the indexer's worked example: two commands.
constexpr std::string_view kToolsLsp = ";;; drawing tools\r\n"
                                       "\r\n"
                                       ";; ================\r\n"
                                       ";; Box : draw a box\r\n"
                                       ";;   from two corners\r\n"
                                       "(defun c:Box ( / p1 p2)\r\n"
                                       "  (command \"_.RECTANG\" p1 p2)\r\n"
                                       ")\r\n"
                                       "; scale utility\r\n"
                                       "(defun my-scale (ent fac / ss) (* fac 2))\r\n"
                                       ";-----------------\r\n"
                                       "(defun C:zm2 (\r\n"
                                       "   lo hi\r\n"
                                       "   / old)\r\n"
                                       "  (command \"_.ZOOM\" lo hi)\r\n"
                                       ")\r\n";

// One command, to tell files apart by their group row.
constexpr std::string_view kOneCommandLsp = ";; one\n(defun c:one () 1)\n";

// The list the program folder holds before each drop, and its row view.
constexpr std::string_view kOldList = "Old\r\nA\tfirst\r\n";
const Lines kOldTree{u"Old", u"  [A] first"};

std::string ansiBytes(std::u16string_view text) {
    return platformServices().ansi.encode(text);
}

std::wstring className(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return name;
}

std::u16string upperAsciiText(std::u16string text) {
    for (auto& c : text)
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - u'a' + u'A');
    return text;
}

std::string stampText(const SYSTEMTIME& t) {
    char text[20];
    std::snprintf(text, sizeof text, "%04u%02u%02u%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour,
                  t.wMinute, t.wSecond);
    return text;
}

// "yyyymmddhhnnss" of the local time now.
std::string localStamp() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return stampText(t);
}

// The same, `seconds` after a moment.
std::u16string localStampAt(FILETIME moment, int seconds) {
    ULARGE_INTEGER ticks{};
    ticks.LowPart = moment.dwLowDateTime;
    ticks.HighPart = moment.dwHighDateTime;
    ticks.QuadPart += static_cast<ULONGLONG>(seconds) * 10'000'000;
    const FILETIME later{ticks.LowPart, ticks.HighPart};
    FILETIME local{};
    SYSTEMTIME t{};
    FileTimeToLocalFileTime(&later, &local);
    FileTimeToSystemTime(&local, &t);
    const auto text = stampText(t);
    return std::u16string(text.begin(), text.end());
}

// ---------------------------------------------------------------------------
// Message boxes seen and answered from a second thread.

struct SeenBox {
    std::u16string caption;
    std::u16string text;
    Lines buttons;
    std::u16string defaultButton;
    bool topmost = false;
};

HWND findVisibleBox(DWORD thread) {
    HWND found = nullptr;
    EnumThreadWindows(
        thread,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            if (className(hwnd) != L"#32770" || !IsWindowVisible(hwnd))
                return TRUE;
            *reinterpret_cast<HWND*>(lp) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<HWND> childrenOfClass(HWND parent, const wchar_t* wanted) {
    struct Search {
        const wchar_t* wanted;
        std::vector<HWND> found;
    } search{wanted, {}};
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lp);
            if (_wcsicmp(className(hwnd).c_str(), s.wanted) == 0)
                s.found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

SeenBox readBox(HWND box) {
    SeenBox seen;
    seen.caption = windowText(box);
    seen.topmost = (GetWindowLongPtrW(box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    for (HWND label : childrenOfClass(box, L"Static"))
        if ((GetWindowLongPtrW(label, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
            seen.text += windowText(label);
    const LRESULT defaultId = SendMessageW(box, DM_GETDEFID, 0, 0);
    for (HWND button : childrenOfClass(box, L"Button")) {
        seen.buttons.push_back(windowText(button));
        if (HIWORD(defaultId) == DC_HASDEFID && GetDlgCtrlID(button) == LOWORD(defaultId))
            seen.defaultButton = seen.buttons.back();
    }
    return seen;
}

// Answers every message box of the UI thread while it lives: presses the
// button captioned `answer`, or "OK" in a box without one, the way a user
// would (BM_CLICK). An empty answer closes the box by its close box.
class BoxAnswerer {
  public:
    BoxAnswerer(DWORD uiThread, std::u16string answer)
        : uiThread_(uiThread), answer_(std::move(answer)), thread_([this] { run(); }) {}
    ~BoxAnswerer() { stop(); }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // The boxes seen, in order; call once the drop has been handled.
    std::vector<SeenBox> stop() {
        if (thread_.joinable()) {
            stopping_ = true;
            thread_.join();
        }
        return seen_;
    }

  private:
    void run() {
        while (!stopping_) {
            HWND box = findVisibleBox(uiThread_);
            if (!box) {
                Sleep(2);
                continue;
            }
            seen_.push_back(readBox(box));
            answer(box);
            waitUntilGone(box);
        }
    }

    void answer(HWND box) const {
        if (answer_.empty()) {
            PostMessageW(box, WM_CLOSE, 0, 0);
            return;
        }
        for (std::u16string_view wanted : {std::u16string_view(answer_), kOk})
            for (HWND button : childrenOfClass(box, L"Button"))
                if (windowText(button) == wanted) {
                    SendMessageW(button, BM_CLICK, 0, 0);
                    return;
                }
    }

    // A box that does not close would hang the UI thread: close it so the
    // test fails instead of waiting forever.
    static void waitUntilGone(HWND box) {
        for (int i = 0; i < 2500 && IsWindow(box) && IsWindowVisible(box); ++i)
            Sleep(2);
        if (IsWindow(box) && IsWindowVisible(box))
            PostMessageW(box, WM_CLOSE, 0, 0);
    }

    DWORD uiThread_;
    std::u16string answer_;
    std::atomic<bool> stopping_{false};
    std::vector<SeenBox> seen_;
    std::thread thread_;
};

// ---------------------------------------------------------------------------
// The main window with its own program folder.

std::u16string itemText(HWND tree, HTREEITEM item) {
    wchar_t text[1024] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_HANDLE;
    data.hItem = item;
    data.pszText = text;
    data.cchTextMax = 1024;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    return fromWide(text);
}

// Top-level labels, their children indented by two blanks.
Lines treeLabels(HWND tree) {
    Lines labels;
    for (HTREEITEM top = TreeView_GetRoot(tree); top; top = TreeView_GetNextSibling(tree, top)) {
        labels.push_back(itemText(tree, top));
        for (HTREEITEM child = TreeView_GetChild(tree, top); child;
             child = TreeView_GetNextSibling(tree, child))
            labels.push_back(u"  " + itemText(tree, child));
    }
    return labels;
}

// Every entry of a folder: files with their bytes, folders as "<folder>".
std::map<std::u16string, std::string> folderContent(const test::TempDir& dir) {
    std::map<std::u16string, std::string> content;
    for (const auto& entry : fs::directory_iterator(dir.path())) {
        const auto name = entry.path().filename().u16string();
        content[name] = entry.is_directory() ? "<folder>" : dir.read(name);
    }
    return content;
}

Lines listRows(const std::string& bytes) {
    Lines rows;
    const auto text = platformServices().ansi.decode(bytes);
    size_t start = 0;
    for (size_t end; (end = text.find(u"\r\n", start)) != std::u16string::npos; start = end + 2)
        rows.push_back(text.substr(start, end - start));
    return rows;
}

class DropOnWindow : public testing::Test {
  protected:
    void SetUp() override {
        program.write(u"MorvaneList.txt", kOldList);
        host = test::hostIn(program, test::thisSystem());
        window = &host->mainWindow();
        // Not shown: under Wine without a window manager hiding a window
        // takes two seconds.
        ASSERT_TRUE(host->createMainWindow());
        ASSERT_EQ(treeLabels(window->commandTree), kOldTree);
    }
    void TearDown() override { host.reset(); }

    // Drops the names on the window; returns the boxes shown meanwhile, each
    // answered with `answer`.
    std::vector<SeenBox> drop(const Lines& names, std::u16string answer = std::u16string(kYes)) {
        BoxAnswerer answerer(GetCurrentThreadId(), std::move(answer));
        HDROP handle = test::makeDropHandle(names);
        EXPECT_NE(handle, nullptr);
        SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0);
        return answerer.stop();
    }

    Lines tree() const { return treeLabels(window->commandTree); }
    Lines writtenRows() const { return listRows(program.read(u"MorvaneList.txt")); }

    // Drops one file and answers Yes; the question must be the only box.
    void dropAndAgree(const std::u16string& path) {
        const auto boxes = drop({path});
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].caption, u"情報");
    }

    void expectNothingChanged(const std::map<std::u16string, std::string>& before) {
        EXPECT_EQ(folderContent(program), before);
        EXPECT_EQ(tree(), kOldTree);
    }

    test::TempDir program; // the program's folder
    test::TempDir sources; // where dropped files come from
    std::unique_ptr<LauncherHost> host;
    MainWindow* window = nullptr;
};

// ---------------------------------------------------------------------------

TEST_F(DropOnWindow, YesKeepsOldListAndShowsNewOneInFileOrder) {
    sources.write(u"tools.lsp", kToolsLsp);
    const auto path = sources.file(u"tools.lsp");
    window->setSearchText(u"ZZ");
    const auto before = localStamp();

    const auto boxes = drop({path});
    const auto after = localStamp();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, u"情報");
    EXPECT_EQ(boxes[0].text, u"3 個のコマンドが検出されました．\nコマンドリストを置き換えますか？\n"
                             u"(現在のコマンドリストは日付時刻を追加したファイル名で保存されます)");
    EXPECT_EQ(boxes[0].buttons, (Lines{std::u16string(kYes), std::u16string(kNo)}));
    EXPECT_EQ(boxes[0].defaultButton, kYes);
    EXPECT_TRUE(boxes[0].topmost) << "the question must not open behind the topmost window";

    // The new list, byte for byte: ANSI code page, CR LF after every row.
    const std::string expected = "tools\r\nBOX\tBox : draw a box\r\nZM2 LO HI\t...\r\nLOAD\t"
                                 "\x83\x8D\x81\x5B\x83\x68 tools.lsp\t" +
                                 ansiBytes(path) + "\r\n";
    const auto content = folderContent(program);
    ASSERT_EQ(content.size(), 2u);
    EXPECT_EQ(content.at(u"MorvaneList.txt"), expected);

    // The old list under "MorvaneList" + the time stamp of the replacement.
    const auto backup = std::find_if(content.begin(), content.end(),
                                     [](auto& entry) { return entry.first != u"MorvaneList.txt"; });
    const std::regex stampName("MorvaneList([0-9]{14})\\.txt");
    std::smatch stamp;
    const auto backupName = fs::path(backup->first).string();
    ASSERT_TRUE(std::regex_match(backupName, stamp, stampName)) << backupName;
    EXPECT_GE(stamp[1].str(), before);
    EXPECT_LE(stamp[1].str(), after);
    EXPECT_EQ(backup->second, kOldList);

    EXPECT_EQ(tree(), (Lines{u"tools", u"  [BOX] Box : draw a box", u"  [ZM2 LO HI] ...",
                             u"  {LOAD} ロード tools.lsp"}));
    EXPECT_EQ(windowText(window->searchBox), u"ZZ") << "the search text stays as it was";
}

TEST_F(DropOnWindow, WithoutAnOldListNoBackupIsMade) {
    ASSERT_TRUE(DeleteFileW(toWide(program.file(u"MorvaneList.txt")).c_str()));
    sources.write(u"tools.lsp", kToolsLsp);
    dropAndAgree(sources.file(u"tools.lsp"));
    const auto content = folderContent(program);
    EXPECT_EQ(content.size(), 1u);
    EXPECT_EQ(writtenRows().size(), 4u);
}

// Backups an earlier replacement made within the same second. Two real drops
// cannot share a second here: Wine without a window manager spends two
// seconds hiding each question box. So the names of the next seconds are
// taken beforehand, as earlier drops would have left them.
struct BackupCase {
    const char* name;
    friend void PrintTo(const BackupCase& c, std::ostream* os) { *os << c.name; }
    Lines taken;           // suffixes already used in each second
    std::u16string chosen; // the suffix the old list gets
};

class SameSecondBackup : public DropOnWindow, public testing::WithParamInterface<BackupCase> {};

TEST_P(SameSecondBackup, OldListTakesFirstFreeName) {
    sources.write(u"tools.lsp", kToolsLsp);
    FILETIME start{};
    GetSystemTimeAsFileTime(&start);
    Lines stamps;
    for (int second = 0; second < 30; ++second) {
        const auto stamp = localStampAt(start, second);
        stamps.push_back(stamp);
        for (const auto& suffix : GetParam().taken)
            program.write(u"MorvaneList" + stamp + suffix + u".txt", "earlier");
    }
    const auto before = folderContent(program);

    dropAndAgree(sources.file(u"tools.lsp"));

    auto after = folderContent(program);
    for (const auto& [name, bytes] : before) {
        if (name != u"MorvaneList.txt") {
            EXPECT_EQ(after[name], bytes) << testing::PrintToString(name);
        }
    }
    Lines added;
    for (const auto& [name, bytes] : after)
        if (!before.count(name))
            added.push_back(name);
    ASSERT_EQ(added.size(), 1u);
    const auto found = std::find_if(stamps.begin(), stamps.end(), [&](const auto& stamp) {
        return added[0] == u"MorvaneList" + stamp + GetParam().chosen + u".txt";
    });
    EXPECT_NE(found, stamps.end()) << testing::PrintToString(added[0]);
    EXPECT_EQ(after[added[0]], kOldList);
    EXPECT_EQ(writtenRows().front(), u"tools");
}

INSTANTIATE_TEST_SUITE_P(Taken, SameSecondBackup,
                         testing::Values(BackupCase{"one_earlier", {u""}, u"-1"},
                                         BackupCase{"two_earlier", {u"", u"-1"}, u"-2"},
                                         BackupCase{"gap_is_used", {u"", u"-2"}, u"-1"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct AnswerCase {
    const char* name;
    friend void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }
    std::u16string answer; // empty: the close box
};

class RefusedDrop : public DropOnWindow, public testing::WithParamInterface<AnswerCase> {};

TEST_P(RefusedDrop, ChangesNothing) {
    sources.write(u"tools.lsp", kToolsLsp);
    const auto before = folderContent(program);
    const auto boxes = drop({sources.file(u"tools.lsp")}, GetParam().answer);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].buttons.size(), 2u);
    expectNothingChanged(before);
}

INSTANTIATE_TEST_SUITE_P(Answers, RefusedDrop,
                         testing::Values(AnswerCase{"no", std::u16string(kNo)},
                                         AnswerCase{"close_box", u""}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Which of the dropped names is read.

struct PickCase {
    const char* name;
    friend void PrintTo(const PickCase& c, std::ostream* os) { *os << c.name; }
    Lines files;          // created in the source folder, each with one command
    std::u16string group; // the new list's group row; empty: nothing happens
};

class PickedFile : public DropOnWindow, public testing::WithParamInterface<PickCase> {};

TEST_P(PickedFile, FirstLspInAnyLetterCaseCounts) {
    Lines names;
    for (const auto& file : GetParam().files) {
        fs::create_directories((sources.path() / fs::path(file)).parent_path());
        sources.write(file, kOneCommandLsp);
        names.push_back(sources.file(file));
    }
    const auto before = folderContent(program);
    const auto boxes = drop(names);
    if (GetParam().group.empty()) {
        EXPECT_TRUE(boxes.empty());
        expectNothingChanged(before);
        return;
    }
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(writtenRows().front(), GetParam().group);
}

INSTANTIATE_TEST_SUITE_P(
    Names, PickedFile,
    testing::Values(PickCase{"lsp_second", {u"notes.txt", u"tools.lsp", u"other.lsp"}, u"tools"},
                    PickCase{"bak_is_not_lisp", {u"tools.lsp.bak", u"X.LSP"}, u"X"},
                    PickCase{"mixed_case_extension", {u"a.Lsp"}, u"a"},
                    PickCase{"only_last_extension_goes", {u"my.tools.lsp"}, u"my.tools"},
                    PickCase{"stop_in_folder_name_only", {u"dir.lsp\\readme"}, u""},
                    PickCase{"no_lisp_file", {u"picture.png", u"tools.lsp.bak"}, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DropOnWindow, NameOfThreeHundredCharactersIsReadWhole) {
    const auto folder = sources.folder();
    const std::u16string sub(150, u'd');
    const size_t stemLength = 300 - folder.size() - sub.size() - 1 - 4;
    ASSERT_LT(stemLength, 250u);
    const std::u16string stem(stemLength, u'n');
    fs::create_directory(sources.path() / fs::path(sub));
    const auto relative = sub + u"\\" + stem + u".lsp";
    sources.write(relative, kToolsLsp);
    const auto path = sources.file(relative);
    ASSERT_EQ(path.size(), 300u);

    dropAndAgree(path);
    const auto rows = writtenRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows.front(), stem);
    EXPECT_EQ(rows.back(), u"LOAD\tロード " + stem + u".lsp\t" + path);
}

// ---------------------------------------------------------------------------
// The load row: the "Morvane\" marker only for the program's own folder.

struct LoadPathCase {
    const char* name;
    friend void PrintTo(const LoadPathCase& c, std::ostream* os) { *os << c.name; }
    bool inProgramFolder;
    bool folderInCapitals;
    bool marker; // else the path as dropped
};

class LoadRow : public DropOnWindow, public testing::WithParamInterface<LoadPathCase> {};

TEST_P(LoadRow, MarkerForProgramFolderElseDroppedPath) {
    const auto& c = GetParam();
    const auto& dir = c.inProgramFolder ? program : sources;
    dir.write(u"tools.lsp", kToolsLsp);
    auto folder = dir.folder();
    if (c.folderInCapitals) {
        folder = upperAsciiText(folder);
        ASSERT_NE(folder, dir.folder());
    }
    const auto path = folder + u"tools.lsp";
    dropAndAgree(path);
    EXPECT_EQ(writtenRows().back(),
              u"LOAD\tロード tools.lsp\t" + (c.marker ? u"Morvane\\tools.lsp" : path));
}

INSTANTIATE_TEST_SUITE_P(Folders, LoadRow,
                         testing::Values(LoadPathCase{"program_folder", true, false, true},
                                         LoadPathCase{"program_folder_other_case", true, true,
                                                      false},
                                         LoadPathCase{"other_folder", false, false, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Encodings of the dropped file.

constexpr std::u16string_view kJapaneseSource = u";; 箱を描く\r\n"
                                                u"(defun c:Hako ( / p)\r\n"
                                                u"  (princ \"箱\")\r\n"
                                                u")\r\n"
                                                u";; ズーム：二点\r\n"
                                                u"(defun C:zm (lo hi) (princ))\r\n";

std::string codePageBytes(std::u16string_view text, UINT codePage) {
    const auto wide = toWide(text);
    const int size = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(), size,
                        nullptr, nullptr);
    return bytes;
}

std::string utf16LittleEndianBytes(std::u16string_view text) {
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

struct EncodingCase {
    const char* name;
    friend void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }
    std::string bytes;
};

class JapaneseComments : public DropOnWindow, public testing::WithParamInterface<EncodingCase> {};

TEST_P(JapaneseComments, GiveTheSameRowsInEveryEncoding) {
    sources.write(u"hako.lsp", GetParam().bytes);
    dropAndAgree(sources.file(u"hako.lsp"));
    const auto rows = writtenRows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(Lines(rows.begin() + 1, rows.end() - 1),
              (Lines{u"HAKO\t箱を描く", u"ZM LO HI\tズーム：二点"}));
    EXPECT_EQ(tree()[1], u"  [HAKO] 箱を描く");
}

INSTANTIATE_TEST_SUITE_P(
    Encodings, JapaneseComments,
    testing::Values(EncodingCase{"shift_jis", codePageBytes(kJapaneseSource, 932)},
                    EncodingCase{"utf8", codePageBytes(kJapaneseSource, CP_UTF8)},
                    EncodingCase{"utf8_with_mark",
                                 "\xEF\xBB\xBF" + codePageBytes(kJapaneseSource, CP_UTF8)},
                    EncodingCase{"utf16_with_mark", utf16LittleEndianBytes(kJapaneseSource)}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Files that yield nothing, and files that cannot be read.

TEST_F(DropOnWindow, FileWithoutCommandsShowsNothing) {
    sources.write(u"helpers.lsp", "(defun helper (x) x)\r\n(setq a 1)\r\n");
    const auto before = folderContent(program);
    EXPECT_TRUE(drop({sources.file(u"helpers.lsp")}).empty());
    expectNothingChanged(before);
}

struct ReadErrorCase {
    const char* name;
    friend void PrintTo(const ReadErrorCase& c, std::ostream* os) { *os << c.name; }
    const char* bytes;  // nullptr: the file does not exist
    bool heldOpen;      // opened elsewhere without sharing
    bool textNamesPath; // else the code page's complaint
};

class UnreadableDrop : public DropOnWindow, public testing::WithParamInterface<ReadErrorCase> {};

TEST_P(UnreadableDrop, ShowsErrorBoxAndChangesNothing) {
    const auto& c = GetParam();
    const auto path = sources.file(u"bad.lsp");
    if (c.bytes)
        sources.write(u"bad.lsp", c.bytes);
    UniqueFile holder;
    if (c.heldOpen) {
        holder.reset(CreateFileW(toWide(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
    }
    const auto before = folderContent(program);

    const auto boxes = drop({path});

    ASSERT_EQ(boxes.size(), 1u) << "an error box and no question";
    EXPECT_EQ(boxes[0].caption, u"MorvaneX");
    EXPECT_EQ(boxes[0].buttons, Lines{std::u16string(kOk)});
    const std::u16string expected =
        c.textNamesPath ? u"ファイル " + path + u" は開けません。"
                        : u"No mapping for the Unicode character exists in the target multi-byte "
                          u"code page.";
    EXPECT_EQ(boxes[0].text.substr(0, expected.size()), expected);
    expectNothingChanged(before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, UnreadableDrop,
    testing::Values(ReadErrorCase{"utf8_mark_invalid_bytes", "\xEF\xBB\xBF(defun c:a () 1)\xFF\xFE",
                                  false, false},
                    ReadErrorCase{"missing", nullptr, false, true},
                    ReadErrorCase{"held_open_without_sharing", "(defun c:a () 1)", true, true}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------
// Installing fails after Yes: the old list must survive.

// The name the drop's working copy for the new list will get: the next one
// the file services give out in this process.
std::u16string nextWorkingCopyName(std::u16string_view listPath) {
    const auto probe = platformServices().files.workingCopyPath(listPath);
    const size_t dash = probe.rfind(u'-');
    const auto call = std::stoull(toWide(probe.substr(dash + 1)));
    const auto next = probe.substr(0, dash + 1) + fromWide(std::to_wstring(call + 1));
    return next.substr(listPath.rfind(u'\\') + 1);
}

struct InstallErrorCase {
    const char* name;
    friend void PrintTo(const InstallErrorCase& c, std::ostream* os) { *os << c.name; }
    std::u16string blockingFolder; // created in the program folder; kWorkingCopy: the
                                   // working copy's name
    bool listHeldOpen;             // MorvaneList.txt open without sharing
    std::u16string textLead;       // the error text begins with this,
    std::u16string textTail;       // the program folder and this
};

const std::u16string kWorkingCopy = u"<working copy>";

class FailedInstall : public DropOnWindow, public testing::WithParamInterface<InstallErrorCase> {};

TEST_P(FailedInstall, ShowsErrorBoxAndKeepsOldList) {
    const auto& c = GetParam();
    sources.write(u"tools.lsp", kToolsLsp);
    if (!c.blockingFolder.empty()) {
        if (c.blockingFolder == u"MorvaneList.txt")
            fs::remove(program.path() / "MorvaneList.txt");
        const auto name = c.blockingFolder == kWorkingCopy
                              ? nextWorkingCopyName(program.file(u"MorvaneList.txt"))
                              : c.blockingFolder;
        fs::create_directory(program.path() / fs::path(name));
    }
    const auto before = folderContent(program);
    UniqueFile holder;
    if (c.listHeldOpen) {
        holder.reset(CreateFileW(toWide(program.file(u"MorvaneList.txt")).c_str(), GENERIC_READ, 0,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
    }

    const auto boxes = drop({sources.file(u"tools.lsp")});
    holder.reset();

    ASSERT_EQ(boxes.size(), 2u) << "the question, then the error box";
    EXPECT_EQ(boxes[1].caption, u"MorvaneX");
    const auto start = c.textLead + program.folder() + c.textTail;
    EXPECT_EQ(boxes[1].text.rfind(start, 0), 0u) << testing::PrintToString(boxes[1].text);
    expectNothingChanged(before);
}

// How each step can fail for real under Wine, where a read-only folder does
// not stop root: the new list's working copy's name taken by a folder
// (writing fails before anything moved), the old list held open (it cannot
// be moved away), and MorvaneList.txt being a folder (the new list cannot
// take its place).
INSTANTIATE_TEST_SUITE_P(
    Steps, FailedInstall,
    testing::Values(InstallErrorCase{"writing_new_list", kWorkingCopy, false, u"ファイル \"",
                                     u"MorvaneList.txt\" を作成できません。"},
                    InstallErrorCase{"moving_old_list", u"", true, u"ファイル ",
                                     u"MorvaneList.txt を "},
                    InstallErrorCase{"list_name_is_a_folder", u"MorvaneList.txt", false,
                                     u"ファイル \"", u"MorvaneList.txt\" を作成できません。"}),
    [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------------------

TEST_F(DropOnWindow, DropHandleIsReleasedInEveryCase) {
    sources.write(u"tools.lsp", kToolsLsp);
    sources.write(u"empty.lsp", "");
    const struct {
        Lines names;
        std::u16string answer;
    } drops[] = {{{sources.file(u"picture.png")}, u""},
                 {{sources.file(u"empty.lsp")}, u""},
                 {{sources.file(u"missing.lsp")}, std::u16string(kOk)},
                 {{sources.file(u"tools.lsp")}, std::u16string(kNo)}};
    for (const auto& d : drops) {
        BoxAnswerer answerer(GetCurrentThreadId(), d.answer);
        HDROP handle = test::makeDropHandle(d.names);
        SendMessageW(window->hwnd(), WM_DROPFILES, reinterpret_cast<WPARAM>(handle), 0);
        answerer.stop();
        EXPECT_EQ(GlobalFlags(handle), GMEM_INVALID_HANDLE)
            << testing::PrintToString(d.names.front());
    }
}

} // namespace
} // namespace morvane
