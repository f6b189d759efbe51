// The main window's double-click and ESC button, end to end: the real window,
// the real COM link, the stand-in CAD in another process.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "app/launcher_state.h"
#include "app/main_window.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "standin_process.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

namespace morvane::test {
namespace {

using namespace std::chrono_literals;

// Row 0 group; 1 command; 2 a LISP file beside the program; 3 a missing LISP
// file; 4 a program beside the program with parameters; 5 a command row
// with an empty command text.
const char kList[] = "CAD\r\n"
                     "CMD\tcommand row\r\n"
                     "LOAD\tload util\tMorvane\\util.lsp\r\n"
                     "MISS\tmissing\tD:\\nowhere\\gone.lsp\r\n"
                     "ECHO\tstart\tx:\\morvane\\args_echo.exe\talpha \"two words\"\r\n"
                     "\tno command\r\n";

// Waits on its own thread for a dialog box of this process, reads its caption
// and text, and presses its OK button.
class BoxWatcher {
  public:
    BoxWatcher() : thread_([this] { watch(); }) {}
    ~BoxWatcher() {
        stop_ = true;
        thread_.join();
    }
    bool found() const { return found_; }
    std::wstring caption, text;

  private:
    void watch() {
        while (!stop_ && !found_) {
            HWND box = nullptr;
            EnumWindows(
                [](HWND window, LPARAM context) -> BOOL {
                    DWORD process = 0;
                    GetWindowThreadProcessId(window, &process);
                    wchar_t className[32] = {};
                    GetClassNameW(window, className, 32);
                    if (process == GetCurrentProcessId() && IsWindowVisible(window) &&
                        wcscmp(className, L"#32770") == 0) {
                        *reinterpret_cast<HWND*>(context) = window;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&box));
            if (box)
                answer(box);
            else
                Sleep(20);
        }
    }
    void answer(HWND box) {
        caption = textOf(box);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            wchar_t className[32] = {};
            GetClassNameW(child, className, 32);
            const std::wstring childText = textOf(child);
            if (wcscmp(className, L"Static") == 0 || wcscmp(className, L"STATIC") == 0) {
                if (!childText.empty())
                    text = childText;
            } else if (childText == L"OK") {
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(child), BN_CLICKED),
                             reinterpret_cast<LPARAM>(child));
            }
        }
        found_ = true;
    }
    static std::wstring textOf(HWND window) {
        wchar_t buffer[512] = {};
        GetWindowTextW(window, buffer, 512);
        return buffer;
    }

    std::atomic<bool> stop_{false};
    std::atomic<bool> found_{false};
    std::thread thread_;
};

class MainWindowCad : public testing::Test {
  protected:
    MainWindowCad() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        dir_.write(u"MorvaneList.txt", kList);
        dir_.write(u"util.lsp", "(princ)");
        CopyFileW(L"" MORVANE_ARGS_ECHO_EXE, toWide(dir_.file(u"args_echo.exe")).c_str(), FALSE);
        host_ = test::hostIn(dir_, test::thisSystem());
        window_ = &host_->mainWindow();
        EXPECT_NE(host_->createMainWindow(), nullptr);
    }
    ~MainWindowCad() override {
        DestroyWindow(window_->hwnd());
        pumpFor(50ms);
    }

    // Selects the node of the row and double-clicks the tree.
    void doubleClickRow(int32_t row) {
        ASSERT_TRUE(selectRow(TreeView_GetRoot(window_->commandTree), row)) << "row " << row;
        NMHDR header{window_->commandTree, static_cast<UINT_PTR>(kCommandTreeId), NM_DBLCLK};
        SendMessageW(window_->hwnd(), WM_NOTIFY, kCommandTreeId, reinterpret_cast<LPARAM>(&header));
    }
    bool selectRow(HTREEITEM item, int32_t row) {
        for (; item; item = TreeView_GetNextSibling(window_->commandTree, item)) {
            TVITEMW data{};
            data.mask = TVIF_PARAM;
            data.hItem = item;
            TreeView_GetItem(window_->commandTree, &data);
            if (static_cast<int32_t>(data.lParam) == row)
                return TreeView_SelectItem(window_->commandTree, item);
            if (selectRow(TreeView_GetChild(window_->commandTree, item), row))
                return true;
        }
        return false;
    }
    void clickEscape() {
        SendMessageW(window_->hwnd(), WM_COMMAND, MAKEWPARAM(kEscapeButtonId, BN_CLICKED),
                     reinterpret_cast<LPARAM>(window_->escapeButton));
    }

    OleScope ole_;
    TempDir dir_;
    std::unique_ptr<LauncherHost> host_;
    MainWindow* window_ = nullptr;
};

TEST_F(MainWindowCad, DoubleClickSendsTheCommandRow) {
    StandinProcess cad(uniqueProgId(L"FormCmd"));
    host_->state().targetProgID = fromWide(cad.progId());
    doubleClickRow(1);
    EXPECT_TRUE(cad.waitFor("command", "CMD<0D>"));
}

TEST_F(MainWindowCad, DoubleClickLoadsTheLispFileBesideTheProgram) {
    StandinProcess cad(uniqueProgId(L"FormLoad"));
    host_->state().targetProgID = fromWide(cad.progId());
    doubleClickRow(2);
    std::string path;
    for (const char16_t c : dir_.file(u"util.lsp")) {
        path += static_cast<char>(c); // the temp folder is ASCII
        if (c == u'\\')
            path += '\\';
    }
    EXPECT_TRUE(cad.waitFor("command", "(load \"" + path + "\")(princ)<0D>"))
        << "sent: " << (cad.details("command").empty() ? "" : cad.details("command")[0]);
}

TEST_F(MainWindowCad, MissingLispFileShowsTheBoxAndLeavesTheCadAlone) {
    StandinProcess cad(uniqueProgId(L"FormMiss"));
    host_->state().targetProgID = fromWide(cad.progId());
    BoxWatcher watcher;
    doubleClickRow(3);
    ASSERT_TRUE(watcher.found());
    EXPECT_EQ(watcher.caption, L"情報");
    EXPECT_EQ(watcher.text, L"D:\\nowhere\\gone.lsp\nファイルが見つかりません．");
    pumpFor(300ms);
    EXPECT_TRUE(cad.details("invoke").empty());
}

TEST_F(MainWindowCad, ExeRowStartsTheProgramWithItsParameters) {
    StandinProcess cad(uniqueProgId(L"FormExe"));
    host_->state().targetProgID = fromWide(cad.progId());
    doubleClickRow(4);
    const auto end = std::chrono::steady_clock::now() + 15s;
    while (!dir_.exists(u"args.txt") && std::chrono::steady_clock::now() < end)
        pumpFor(50ms);
    ASSERT_TRUE(dir_.exists(u"args.txt"));
    EXPECT_EQ(dir_.read(u"args.txt"), "alpha \"two words\"");
    EXPECT_TRUE(cad.details("invoke").empty());
}

TEST_F(MainWindowCad, GroupRowAndEmptyCommandSendNothing) {
    StandinProcess cad(uniqueProgId(L"FormQuiet"));
    host_->state().targetProgID = fromWide(cad.progId());
    doubleClickRow(0);
    doubleClickRow(5);
    pumpFor(300ms);
    EXPECT_TRUE(cad.details("invoke").empty());
}

TEST_F(MainWindowCad, NoSelectionDoesNothing) {
    StandinProcess cad(uniqueProgId(L"FormNoSel"));
    host_->state().targetProgID = fromWide(cad.progId());
    TreeView_SelectItem(window_->commandTree, nullptr);
    NMHDR header{window_->commandTree, static_cast<UINT_PTR>(kCommandTreeId), NM_DBLCLK};
    SendMessageW(window_->hwnd(), WM_NOTIFY, kCommandTreeId, reinterpret_cast<LPARAM>(&header));
    pumpFor(300ms);
    EXPECT_TRUE(cad.details("invoke").empty());
}

struct QuietCase {
    const char* name;
    friend void PrintTo(const QuietCase& c, std::ostream* os) { *os << c.name; }
    const wchar_t* options; // nullptr: registered, not running; L"": never registered
};

class MainWindowCadFailure : public MainWindowCad, public testing::WithParamInterface<QuietCase> {};

// Whatever goes wrong with the CAD, neither a double-click nor the ESC button
// shows a box.
TEST_P(MainWindowCadFailure, ShowsNoBox) {
    const auto& c = GetParam();
    std::unique_ptr<StandinProcess> cad;
    if (!c.options) {
        const std::wstring progId = uniqueProgId(L"FormGone");
        registerOnly(progId);
        host_->state().targetProgID = fromWide(progId);
    } else if (!*c.options) {
        host_->state().targetProgID = fromWide(uniqueProgId(L"FormNever"));
    } else {
        cad = std::make_unique<StandinProcess>(uniqueProgId(L"FormFail"), c.options);
        host_->state().targetProgID = fromWide(cad->progId());
    }
    BoxWatcher watcher;
    doubleClickRow(1);
    clickEscape();
    pumpFor(300ms);
    EXPECT_FALSE(watcher.found()) << toWide(host_->state().targetProgID).c_str();
    if (cad) {
        EXPECT_TRUE(cad->details("command").empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Failures, MainWindowCadFailure,
                         testing::Values(QuietCase{"not_running", nullptr},
                                         QuietCase{"unregistered", L""},
                                         QuietCase{"no_document", L"--no-document"},
                                         QuietCase{"rejected", L"--reject"}));

TEST_F(MainWindowCad, EscapeButtonPressesEscapeTwiceInTheCad) {
    StandinProcess cad(uniqueProgId(L"FormEsc"));
    host_->state().targetProgID = fromWide(cad.progId());
    clickEscape();
    pumpFor(500ms);
    EXPECT_EQ(cad.details("key"),
              (std::vector<std::string>{"ESC down", "ESC up", "ESC down", "ESC up"}));
}

// While the busy CAD holds the call, the launcher's message filter keeps
// posted input from being dispatched; it arrives after the call returns.
TEST_F(MainWindowCad, BusyCadHoldsTheLauncherUntilTheCommandArrives) {
    StandinProcess cad(uniqueProgId(L"FormBusy"), L"--busy-ms 2500");
    host_->state().targetProgID = fromWide(cad.progId());
    std::atomic<bool> posted{false};
    std::thread poster([&] {
        Sleep(800);
        PostMessageW(window_->searchBox, WM_CHAR, L'x', 1);
        posted = true;
    });
    const auto start = std::chrono::steady_clock::now();
    doubleClickRow(1);
    const auto returned = std::chrono::steady_clock::now();
    poster.join();
    const int textDuringCall = GetWindowTextLengthW(window_->searchBox);
    pumpFor(100ms);
    EXPECT_GE(returned - start, 2400ms);
    EXPECT_TRUE(posted);
    EXPECT_EQ(textDuringCall, 0);                           // not typed while waiting
    EXPECT_EQ(GetWindowTextLengthW(window_->searchBox), 1); // typed afterwards
    EXPECT_TRUE(cad.waitFor("command", "CMD<0D>"));
}

} // namespace
} // namespace morvane::test
