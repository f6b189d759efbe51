// The main window created for real and driven through its messages.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cwchar>
#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "app/launcher_environment.h"
#include "app/launcher_state.h"
#include "app/main_window.h"
#include "app/message_filter.h"
#include "gui_support.h"
#include "list/tree_model.h"
#include "main_window_fixture.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wine_workarounds.h"
#include "shell/main_layout.h"
#include "support/case_name.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/dark_scroll_bar.h"
#include "ui/dpi.h"

namespace morvane {
namespace {

using test::BoxWatcher;
using test::readTree;
using test::texts;
using test::windowText;

// Shift_JIS bytes: 作図 (group), LINE 線分, a file row; 修正 (group), MOVE; and
// a command before the first group.
const char kListFile[] = "EARLY\tfirst\r\n"
                         "; comment\r\n"
                         "\x8D\xEC\x90\x7D\r\n"
                         "LINE\t\x90\xFC\x95\xAA\r\n"
                         "box\tsolid\tC:\\lisp\\box.lsp\r\n"
                         "\x8F\x43\x90\xB3\r\n"
                         "MOVE\tmove it\r\n";

class MainWindowTest : public test::MainWindowFixture {
  protected:
    void writeSettings(const char* text) { dir.write(u"MorvaneX.ini", text); }
    // A place and a target unlike those of any settings file a test writes.
    void changePlaceAndTarget() {
        SetWindowPos(window->hwnd(), nullptr, 70, 80, 330, 270, SWP_NOZORDER | SWP_NOACTIVATE);
        host->state().targetProgID = u"AutoCAD.Application";
    }
    void expectChangedSettingsWritten(std::u16string_view file = u"MorvaneX.ini") {
        EXPECT_EQ(setting(L"Form", L"Width", file), L"330");
        EXPECT_EQ(setting(L"Form", L"Height", file), L"270");
        EXPECT_EQ(setting(L"Form", L"Left", file), L"70");
        EXPECT_EQ(setting(L"Form", L"Top", file), L"80");
        EXPECT_EQ(setting(L"Target", L"ProgID", file), L"AutoCAD.Application");
        const std::filesystem::path written = dir.path() / std::filesystem::path(file);
        for (const auto& entry : std::filesystem::directory_iterator(written.parent_path()))
            EXPECT_FALSE(entry.path().filename().u16string().starts_with(
                written.filename().u16string() + u"."))
                << "working copy left";
    }
    std::wstring setting(const wchar_t* section, const wchar_t* key,
                         std::u16string_view file = u"MorvaneX.ini") {
        wchar_t buffer[256] = {};
        const std::wstring path(reinterpret_cast<const wchar_t*>(dir.file(file).c_str()));
        GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, path.c_str());
        return buffer;
    }
    // A folder where a settings file belongs: it can be neither read nor
    // written.
    void blockFile(std::u16string_view file) {
        CreateDirectoryW(reinterpret_cast<const wchar_t*>(dir.file(u"user").c_str()), nullptr);
        ASSERT_TRUE(
            CreateDirectoryW(reinterpret_cast<const wchar_t*>(dir.file(file).c_str()), nullptr));
    }
    static RECT outer(HWND hwnd) {
        RECT rect;
        GetWindowRect(hwnd, &rect);
        return rect;
    }
    void type(const wchar_t* text) {
        SendMessageW(window->searchBox, EM_SETSEL, static_cast<WPARAM>(-1), -1);
        SendMessageW(window->searchBox, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text));
    }
};

TEST_F(MainWindowTest, StartUpDrawsTheRowViewExpandedWithTheFirstGroupSelected) {
    dir.write(u"MorvaneList.txt", kListFile);
    auto& f = open();
    const auto nodes = readTree(f.commandTree);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[0].text, L"作図");
    EXPECT_EQ(nodes[0].data, 2);
    EXPECT_EQ(nodes[0].image, 0);
    EXPECT_TRUE(nodes[0].expanded);
    EXPECT_TRUE(nodes[0].selected);
    EXPECT_EQ(texts(nodes[0].children),
              (std::vector<std::wstring>{L"[LINE] 線分", L"{box} solid"}));
    EXPECT_EQ(nodes[0].children[1].data, 4);
    EXPECT_EQ(nodes[0].children[1].image, 1);
    EXPECT_EQ(nodes[0].children[1].selectedImage, 0); // only the normal image is set
    EXPECT_EQ(nodes[1].text, L"修正");
    EXPECT_EQ(texts(nodes[1].children), (std::vector<std::wstring>{L"[MOVE] move it"}));
    EXPECT_EQ(windowText(f.searchBox), L"");
}

TEST_F(MainWindowTest, StartUpSetsCaptionsControlsTopmostAndTheFilter) {
    dir.write(u"TargetCAD_APIVersion.txt", "Other\tX.Application\r\nBricsCAD V25\tBricscadApp."
                                           "AcadApplication.25\r\n");
    auto& f = open();
    EXPECT_EQ(windowText(f.hwnd()), L"MorvaneX [ BricsCAD V25 ]");
    EXPECT_EQ(windowText(f.commandOrderButton), L"ABC順");
    EXPECT_EQ(windowText(f.fileOrderButton), L"取得順");
    EXPECT_EQ(windowText(f.searchLabel), L"検索");
    EXPECT_EQ(windowText(f.escapeButton), L"ESC");
    EXPECT_TRUE(GetWindowLongPtrW(f.hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(GetWindowLongPtrW(f.hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_FALSE(GetWindowLongPtrW(f.hwnd(), GWL_STYLE) & WS_MAXIMIZEBOX);
    const DWORD treeStyle = static_cast<DWORD>(GetWindowLongPtrW(f.commandTree, GWL_STYLE));
    EXPECT_EQ(treeStyle & (TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS |
                           TVS_NOHSCROLL | TVS_EDITLABELS | TVS_NOTOOLTIPS),
              static_cast<DWORD>(TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                                 TVS_SHOWSELALWAYS | TVS_NOHSCROLL));

    // The filter is the apartment's current one until the window closes.
    ASSERT_NE(host->messageFilter(), nullptr);
    ComPtr<IMessageFilter> current;
    CoRegisterMessageFilter(nullptr, current.put());
    EXPECT_EQ(current.get(), static_cast<IMessageFilter*>(host->messageFilter()));
    ComPtr<IMessageFilter> mine;
    CoRegisterMessageFilter(current.get(), mine.put());
    close();
    EXPECT_EQ(host->messageFilter(), nullptr);
    CoRegisterMessageFilter(nullptr, current.put());
    EXPECT_FALSE(current);
}

TEST_F(MainWindowTest, WithoutFilesTheTreeIsEmptyAndTheCaptionDesigned) {
    auto& f = open();
    EXPECT_TRUE(readTree(f.commandTree).empty());
    EXPECT_EQ(windowText(f.hwnd()), L"Morvane");
    EXPECT_EQ(host->state().targetProgID, kDefaultProgID);
}

TEST_F(MainWindowTest, SearchFiltersOnEveryChangeAndButtonsSwitchViews) {
    dir.write(u"MorvaneList.txt", kListFile);
    auto& f = open();
    type(L"o");
    EXPECT_EQ(texts(readTree(f.commandTree)),
              (std::vector<std::wstring>{L"[MOVE] move it", L"{box} solid"}));
    type(L"X"); // "oX" folds to "OX": box only
    EXPECT_EQ(texts(readTree(f.commandTree)), (std::vector<std::wstring>{L"{box} solid"}));
    type(L"zz");
    EXPECT_TRUE(readTree(f.commandTree).empty());
    EXPECT_EQ(TreeView_GetSelection(f.commandTree), nullptr);

    SendMessageW(f.commandOrderButton, BM_CLICK, 0, 0);
    EXPECT_EQ(windowText(f.searchBox), L"");
    const auto byCommand = readTree(f.commandTree);
    EXPECT_EQ(texts(byCommand), (std::vector<std::wstring>{L"[EARLY] first", L"[LINE] 線分",
                                                           L"[MOVE] move it", L"{box} solid"}));
    EXPECT_TRUE(byCommand[0].selected);
    EXPECT_EQ(byCommand[0].data, 0);

    SendMessageW(f.fileOrderButton, BM_CLICK, 0, 0);
    EXPECT_EQ(texts(readTree(f.commandTree)), (std::vector<std::wstring>{L"作図", L"修正"}));
    EXPECT_EQ(host->state().rows.front().row, 0); // left in file order

    // Emptying the search by hand shows the command view's content.
    SetWindowTextW(f.searchBox, L"LINE");
    SetWindowTextW(f.searchBox, L"");
    EXPECT_EQ(readTree(f.commandTree).size(), 4u);
}

// The tree read back equals the nodes, row for row and level for level.
void expectShows(const std::vector<test::ReadNode>& shown, const TreeNodes& nodes) {
    ASSERT_EQ(shown.size(), nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        SCOPED_TRACE(shown[i].text);
        EXPECT_EQ(shown[i].text, toWide(nodes[i].text));
        EXPECT_EQ(shown[i].data, nodes[i].row);
        EXPECT_EQ(shown[i].image, nodes[i].image);
        if (!nodes[i].children.empty()) {
            EXPECT_TRUE(shown[i].expanded);
        }
        expectShows(shown[i].children, nodes[i].children);
    }
}

// Two groups of twenty commands, more rows than the small tree shows; the
// sixth of each group is described "skip".
std::string longList() {
    std::string text;
    for (int group = 0; group < 2; ++group) {
        text += "GROUP" + std::to_string(group) + "\r\n";
        for (int i = 0; i < 20; ++i)
            text += "CMD" + std::to_string(group * 20 + i) +
                    (i == 5 ? std::string("\tskip\r\n") : "\tdo " + std::to_string(i) + "\r\n");
    }
    return text;
}

TEST_F(MainWindowTest, EveryBuildShowsExactlyItsViewFromTheTop) {
    dir.write(u"MorvaneList.txt", longList().c_str());
    auto& f = open();
    // Narrowing, the same rows again, widening, disjoint, nothing, all.
    for (const wchar_t* search : {L"C", L"CM", L"CMD1", L"CMD", L"CMD3", L"CMD31", L"CMD2", L"ZZ",
                                  L"CMD2", L"", L"CMD19"}) {
        SCOPED_TRACE(testing::Message()
                     << "search " << std::string(search, search + wcslen(search)));
        // Scrolled away from the top before each change.
        SendMessageW(f.commandTree, WM_VSCROLL, SB_BOTTOM, 0);
        SetWindowTextW(f.searchBox, search);
        ListRows records = host->state().rows;
        const auto wanted = reorderIntoSearchView(records, fromWide(search));
        ASSERT_TRUE(wanted);
        const auto shown = readTree(f.commandTree);
        expectShows(shown, *wanted);
        if (!shown.empty()) {
            EXPECT_TRUE(shown[0].selected);
            EXPECT_EQ(TreeView_GetFirstVisible(f.commandTree), TreeView_GetRoot(f.commandTree));
        }
    }
}

TEST_F(MainWindowTest, TheTreeScrollsWithADarkBar) {
    dir.write(u"MorvaneList.txt", longList().c_str());
    auto& f = open();
    HWND bar = dark::darkScrollBarOf(f.commandTree);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE);
    SetWindowTextW(f.searchBox, L"CMD19"); // one row
    EXPECT_FALSE(GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(MainWindowTest, RowsThatStayAreKeptAndFoldedGroupsOpenAgain) {
    dir.write(u"MorvaneList.txt", longList().c_str());
    auto& f = open();
    TreeView_Expand(f.commandTree, TreeView_GetRoot(f.commandTree), TVE_COLLAPSE);
    HTREEITEM firstGroup = TreeView_GetRoot(f.commandTree);
    SendMessageW(f.fileOrderButton, BM_CLICK, 0, 0); // the same view again
    EXPECT_EQ(TreeView_GetRoot(f.commandTree), firstGroup);
    EXPECT_TRUE(readTree(f.commandTree)[0].expanded);

    // A search that leaves out a few rows keeps the others.
    SetWindowTextW(f.searchBox, L"D");
    HTREEITEM firstRow = TreeView_GetRoot(f.commandTree);
    HTREEITEM lastRow = TreeView_GetLastVisible(f.commandTree);
    SetWindowTextW(f.searchBox, L"DO");
    EXPECT_EQ(readTree(f.commandTree).size(), 38u);
    EXPECT_EQ(TreeView_GetRoot(f.commandTree), firstRow);
    EXPECT_EQ(TreeView_GetLastVisible(f.commandTree), lastRow);
    SendMessageW(f.fileOrderButton, BM_CLICK, 0, 0);
    firstGroup = TreeView_GetRoot(f.commandTree);
    HTREEITEM firstCommand = TreeView_GetChild(f.commandTree, firstGroup);

    // One command more at the end of the list: the groups and the other
    // rows stay, the new row is inserted in its place.
    dir.write(u"MorvaneList.txt", (longList() + "NEW\tnew one\r\n").c_str());
    SendMessageW(f.hwnd(), WM_COMMAND, kReloadListItem, 0);
    EXPECT_EQ(TreeView_GetRoot(f.commandTree), firstGroup);
    EXPECT_EQ(TreeView_GetChild(f.commandTree, firstGroup), firstCommand);
    ListRows records = host->state().rows;
    const auto wanted = reorderIntoRowView(records);
    ASSERT_TRUE(wanted);
    expectShows(readTree(f.commandTree), *wanted);
    EXPECT_EQ(texts(readTree(f.commandTree)[1].children).back(), L"[NEW] new one");
}

TEST_F(MainWindowTest, ReloadShowsTheEditedListInFileOrderAndKeepsItWhenDeleted) {
    dir.write(u"MorvaneList.txt", kListFile);
    auto& f = open();
    SetWindowTextW(f.searchBox, L"MOVE");
    dir.write(u"MorvaneList.txt", "G\r\nA\ta\r\n");
    SendMessageW(f.hwnd(), WM_COMMAND, kReloadListItem, 0);
    EXPECT_EQ(windowText(f.searchBox), L"");
    auto nodes = readTree(f.commandTree);
    ASSERT_EQ(texts(nodes), (std::vector<std::wstring>{L"G"}));
    EXPECT_EQ(texts(nodes[0].children), (std::vector<std::wstring>{L"[A] a"}));

    DeleteFileW(reinterpret_cast<const wchar_t*>(dir.file(u"MorvaneList.txt").c_str()));
    SendMessageW(f.commandOrderButton, BM_CLICK, 0, 0);
    SendMessageW(f.hwnd(), WM_COMMAND, kReloadListItem, 0);
    EXPECT_EQ(texts(readTree(f.commandTree)), (std::vector<std::wstring>{L"G"}));
}

TEST_F(MainWindowTest, AReloadWithoutRecordsLeavesThePreviousNodesOnScreen) {
    dir.write(u"MorvaneList.txt", kListFile);
    auto& f = open();
    SendMessageW(f.commandOrderButton, BM_CLICK, 0, 0);
    const auto before = readTree(f.commandTree);
    HTREEITEM selected = TreeView_GetSelection(f.commandTree);

    dir.write(u"MorvaneList.txt", "; only a comment\r\n\r\n");
    SendMessageW(f.hwnd(), WM_COMMAND, kReloadListItem, 0);
    EXPECT_TRUE(host->state().rows.empty());
    EXPECT_EQ(texts(readTree(f.commandTree)), texts(before));
    EXPECT_EQ(TreeView_GetSelection(f.commandTree), selected);
    SetWindowTextW(f.searchBox, L"zzz"); // no view touches the tree now
    EXPECT_EQ(readTree(f.commandTree).size(), before.size());
}

TEST_F(MainWindowTest, DpiChangeRescalesFontsImagesAndLayout) {
    auto& f = open();
    RECT rect;
    GetWindowRect(f.hwnd(), &rect);
    RECT suggested{rect.left, rect.top, rect.left + 600, rect.top + 480};
    SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(f.hwnd(), &rect);
    EXPECT_EQ(rect.right - rect.left, 600);
    RECT client;
    GetClientRect(f.hwnd(), &client);
    const MainLayout layout = layoutMainWindow(client.right, client.bottom, 144);
    GetWindowRect(f.commandOrderButton, &rect);
    MapWindowPoints(nullptr, f.hwnd(), reinterpret_cast<POINT*>(&rect), 2);
    EXPECT_EQ((ControlRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top}),
              layout.commandOrderButton);
    GetWindowRect(f.commandTree, &rect);
    EXPECT_EQ(rect.bottom - rect.top, layout.commandTree.height);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.commandTree, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfHeight, -20);
    int size = 0;
    ImageList_GetIconSize(TreeView_GetImageList(f.commandTree, TVSIL_NORMAL), &size, &size);
    EXPECT_EQ(size, 24);
    EXPECT_EQ(TreeView_GetIndent(f.commandTree), 29u); // 19 * 1.5 rounded
}

TEST_F(MainWindowTest, UnreadableListAtReloadShowsTheErrorBoxAndKeepsTheTree) {
    dir.write(u"MorvaneList.txt", kListFile);
    auto& f = open();
    const std::u16string path = dir.file(u"MorvaneList.txt");
    UniqueFile lock(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    BoxWatcher watcher(L"OK");
    SendMessageW(f.hwnd(), WM_COMMAND, kReloadListItem, 0);
    const auto& box = watcher.result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"MorvaneX");
    const std::wstring expectedStart =
        L"ファイル " + std::wstring(reinterpret_cast<const wchar_t*>(path.c_str())) +
        L" は開けません。 ";
    EXPECT_EQ(box.text.substr(0, expectedStart.size()), expectedStart);
    EXPECT_EQ(box.buttons, (std::vector<std::wstring>{L"OK"}));
    EXPECT_TRUE(box.iconShown);
    EXPECT_EQ(readTree(f.commandTree).size(), 2u);
}

TEST_F(MainWindowTest, AnUnreadableListEndsStartUpAtThatStep) {
    dir.write(u"MorvaneList.txt", kListFile);
    dir.write(u"TargetCAD_APIVersion.txt", "V25\tBricscadApp.AcadApplication\r\n");
    const std::u16string path = dir.file(u"MorvaneList.txt");
    UniqueFile lock(CreateFileW(reinterpret_cast<const wchar_t*>(path.c_str()), GENERIC_READ, 0,
                                nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(lock);
    BoxWatcher watcher(L"OK");
    auto& f = open();
    const auto& box = watcher.result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"MorvaneX");
    EXPECT_EQ(box.text.rfind(L"ファイル ", 0), 0u);
    // The steps after the list are skipped; those before it ran.
    EXPECT_EQ(windowText(f.hwnd()), L"Morvane");
    // The filter is no step of the window's: the host registers it once the
    // window is there, whatever its start-up met, so that the CAD link
    // retries a busy CAD after the list is mended and reloaded.
    EXPECT_NE(host->messageFilter(), nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(f.hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    EXPECT_EQ(windowText(f.escapeButton), L"ESC");
    EXPECT_TRUE(readTree(f.commandTree).empty());
}

TEST_F(MainWindowTest, MenuCommandsShowInformationBoxes) {
    auto& f = open();
    {
        BoxWatcher watcher(L"OK");
        SendMessageW(f.hwnd(), WM_COMMAND, kEditListItem, 0);
        const auto& box = watcher.result();
        ASSERT_TRUE(box.found);
        EXPECT_EQ(box.caption, L"情報");
        EXPECT_EQ(box.text, std::wstring(reinterpret_cast<const wchar_t*>(
                                dir.file(u"MorvaneList.txt").c_str())) +
                                L"\nファイルが見つかりません．");
        EXPECT_EQ(box.defaultButton, L"OK");
    }
    {
        BoxWatcher watcher(L"OK");
        SendMessageW(f.hwnd(), WM_COMMAND, kVersionItem, 0);
        const auto& box = watcher.result();
        ASSERT_TRUE(box.found);
        EXPECT_EQ(box.text.substr(0, box.text.find(L'\n')), L"MorvaneX.exe 2025.07.17");
        EXPECT_NE(box.text.find(L'\n'), std::wstring::npos);
    }
}

TEST_F(MainWindowTest, PopupMenuHoldsTheExactCaptions) {
    auto& f = open();
    std::vector<std::wstring> captions;
    for (int i = 0; i < GetMenuItemCount(f.contextMenu); ++i) {
        wchar_t buffer[128] = {};
        MENUITEMINFOW item{};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STRING | MIIM_FTYPE;
        item.dwTypeData = buffer;
        item.cch = 128;
        GetMenuItemInfoW(f.contextMenu, static_cast<UINT>(i), TRUE, &item);
        captions.push_back(item.fType & MFT_SEPARATOR ? L"-" : buffer);
        EXPECT_TRUE(item.fType & MFT_OWNERDRAW);
    }
    EXPECT_EQ(captions, (std::vector<std::wstring>{
                            L"ターゲット CAD", L"-",
                            L"\u25A0 MorvaneList.txt を表示、編集 \uFF08メモ帳起動\uFF09...",
                            L"\u25A0 MorvaneList.txt を再読み込み", L"-",
                            L"\u25A0 バージョン情報 ...", L"-", L"ピン留め"}));
}

struct PlacementCase {
    const char* name;
    friend void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }
    const char* settings;
    // Expected left and top; INT_MIN for "centred on the primary screen".
    int left;
    int top;
};

class FormPlacement : public MainWindowTest, public testing::WithParamInterface<PlacementCase> {};

TEST_P(FormPlacement, RestoresOrRecentresOnThePrimaryScreen) {
    writeSettings(GetParam().settings);
    auto& f = open();
    const RECT rect = outer(f.hwnd());
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    EXPECT_EQ(width, 300);
    EXPECT_EQ(height, 250);
    const int centredLeft = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int centredTop = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    EXPECT_EQ(rect.left, GetParam().left == INT_MIN ? centredLeft : GetParam().left);
    EXPECT_EQ(rect.top, GetParam().top == INT_MIN ? centredTop : GetParam().top);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FormPlacement,
    testing::Values(
        PlacementCase{"stored", "[Form]\r\nWidth=300\r\nHeight=250\r\nLeft=40\r\nTop=30\r\n", 40,
                      30},
        PlacementCase{"hex", "[Form]\r\nWidth=0x12C\r\nHeight=$FA\r\nLeft=$28\r\nTop=0x1E\r\n", 40,
                      30},
        PlacementCase{"missing edges", "[Form]\r\nWidth=300\r\nHeight=250\r\n", INT_MIN, INT_MIN},
        PlacementCase{"edges at 0", "[Form]\r\nWidth=300\r\nHeight=250\r\nLeft=0\r\nTop=0\r\n",
                      INT_MIN, INT_MIN},
        PlacementCase{"edges at 1", "[Form]\r\nWidth=300\r\nHeight=250\r\nLeft=1\r\nTop=1\r\n", 1,
                      1},
        PlacementCase{"malformed edges",
                      "[Form]\r\nWidth=300\r\nHeight=250\r\nLeft=abc\r\nTop=\r\n", INT_MIN,
                      INT_MIN},
        PlacementCase{"left monitor", "[Form]\r\nWidth=300\r\nHeight=250\r\nLeft=-900\r\nTop=5\r\n",
                      INT_MIN, 5}),
    test::CaseName());

// Windows 10 and later leave the sizing borders beside and below a window
// invisible: a window the user snapped to the screen's right and bottom
// edges reaches past them by those insets. It stays there when the system
// answers such insets, and is re-centred as ever where it answers none (as
// under Wine).
TEST_F(MainWindowTest, InvisibleBordersKeepAWindowSnappedToTheScreensEdges) {
    const int left = GetSystemMetrics(SM_CXSCREEN) - 300 + 7;
    const int top = GetSystemMetrics(SM_CYSCREEN) - 250 + 7;
    const std::string settings =
        "[Form]\r\nWidth=300\r\nHeight=250\r\nLeft=" + std::to_string(left) +
        "\r\nTop=" + std::to_string(top) + "\r\n";
    writeSettings(settings.c_str());

    SystemAnswers windows10 = test::thisSystem();
    DWORD askedStyle = 0;
    UINT askedDpi = 0;
    windows10.invisibleFrame = [&](DWORD style, DWORD, UINT dpi) {
        askedStyle = style;
        askedDpi = dpi;
        return FrameInsets{7, 0, 7, 7};
    };
    auto& f = open(windows10);
    RECT rect = outer(f.hwnd());
    EXPECT_EQ(rect.left, left);
    EXPECT_EQ(rect.top, top);
    EXPECT_TRUE(askedStyle & WS_THICKFRAME); // the window's own style
    EXPECT_EQ(askedDpi, dpiOfWindow(f.hwnd()));
    close();
    // The stored values stay the outer rectangle.
    EXPECT_EQ(setting(L"Form", L"Left"), std::to_wstring(left));
    EXPECT_EQ(setting(L"Form", L"Top"), std::to_wstring(top));

    writeSettings(settings.c_str());
    auto& g = open(); // this system's answer: none under Wine
    if (wine::runningOnWine()) {
        rect = outer(g.hwnd());
        EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - 300) / 2);
        EXPECT_EQ(rect.top, (GetSystemMetrics(SM_CYSCREEN) - 250) / 2);
    }
}

// Under Wine, which draws every window's whole frame, and for a window
// without a sizing frame anywhere, nothing of the frame is invisible.
TEST(InvisibleFrame, NoneUnderWineNorWithoutASizingFrame) {
    for (const UINT dpi : {96u, 144u}) {
        EXPECT_EQ(invisibleFrameOfThisSystem(WS_POPUP | WS_CAPTION, 0, dpi), FrameInsets{});
        if (wine::runningOnWine()) {
            EXPECT_EQ(invisibleFrameOfThisSystem(WS_OVERLAPPEDWINDOW, 0, dpi), FrameInsets{});
        }
    }
}

TEST_F(MainWindowTest, DefaultSizeIsTheDesignedClientCentred) {
    auto& f = open();
    RECT client;
    GetClientRect(f.hwnd(), &client);
    const int dpi = static_cast<int>(dpiOfWindow(f.hwnd()));
    EXPECT_EQ(client.right, scaleForDpi(kDesignedClientWidth, dpi));
    EXPECT_EQ(client.bottom, scaleForDpi(kDesignedClientHeight, dpi));
    const RECT rect = outer(f.hwnd());
    EXPECT_EQ(rect.left, (GetSystemMetrics(SM_CXSCREEN) - (rect.right - rect.left)) / 2);
}

TEST_F(MainWindowTest, ClosingWritesAllFiveValues) {
    writeSettings(
        "[Form]\r\nWidth=320\r\nHeight=260\r\nLeft=50\r\nTop=60\r\n[Target]\r\nProgID=\r\n");
    open();
    EXPECT_EQ(host->state().targetProgID, u""); // present but empty stays empty
    changePlaceAndTarget();
    close();
    expectChangedSettingsWritten();
}

// With the folder writable and no Location key, everything stays beside the
// exe as it always has: the same bytes, no other file, no operator's file.
TEST_F(MainWindowTest, WritableFolderKeepsTheSettingsBesideTheExeAsBefore) {
    open();
    changePlaceAndTarget();
    close();
    EXPECT_EQ(dir.read(u"MorvaneX.ini"),
              "[Form]\r\nWidth=330\r\nHeight=270\r\nLeft=70\r\nTop=80\r\n"
              "[Target]\r\nProgID=AutoCAD.Application\r\n");
    EXPECT_EQ(dir.fileNames(), std::set<std::u16string>{u"MorvaneX.ini"});
}

// The administrator's file asks for each operator's own: the operator's
// values first, the administrator's for the rest; close writes the
// operator's file only.
TEST_F(MainWindowTest, PerUserLocationReadsTheOperatorsFileFirstAndWritesOnlyIt) {
    const char kAdministrators[] = "[Form]\r\nWidth=320\r\nHeight=260\r\nLeft=50\r\nTop=60\r\n"
                                   "[Target]\r\nProgID=Department.Cad\r\n"
                                   "[Settings]\r\nLocation=PerUser\r\n";
    writeSettings(kAdministrators);
    CreateDirectoryW(reinterpret_cast<const wchar_t*>(dir.file(u"user").c_str()), nullptr);
    dir.write(u"user\\MorvaneX.ini", "[Form]\r\nLeft=90\r\nTop=100\r\n");
    auto& f = open();
    const RECT rect = outer(f.hwnd());
    EXPECT_EQ(rect.left, 90);
    EXPECT_EQ(rect.top, 100);
    EXPECT_EQ(rect.right - rect.left, 320);
    EXPECT_EQ(rect.bottom - rect.top, 260);
    EXPECT_EQ(host->state().targetProgID, u"Department.Cad");

    changePlaceAndTarget();
    BoxWatcher watcher(L"OK", std::chrono::milliseconds(500));
    close();
    EXPECT_FALSE(watcher.result().found);
    expectChangedSettingsWritten(u"user\\MorvaneX.ini");
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), kAdministrators);
    EXPECT_EQ(dir.fileNames(), (std::set<std::u16string>{u"MorvaneX.ini", u"user"}));
}

// A settings file beside the exe that this user cannot write: no box at
// close, the place kept in the operator's own file (its folder made), and
// back at the next start.
TEST_F(MainWindowTest, UnwritableSettingsBesideTheExeGoToTheOperatorsOwnFile) {
    ASSERT_TRUE(CreateDirectoryW(
        reinterpret_cast<const wchar_t*>(dir.file(u"MorvaneX.ini").c_str()), nullptr));
    open();
    changePlaceAndTarget();
    BoxWatcher watcher(L"OK", std::chrono::milliseconds(500));
    close();
    EXPECT_FALSE(watcher.result().found);
    expectChangedSettingsWritten(u"user\\MorvaneX.ini");
    EXPECT_EQ(dir.fileNames(), (std::set<std::u16string>{u"MorvaneX.ini", u"user"}));

    auto& f = open();
    const RECT rect = outer(f.hwnd());
    EXPECT_EQ(rect.left, 70);
    EXPECT_EQ(rect.top, 80);
    EXPECT_EQ(host->state().targetProgID, u"AutoCAD.Application");
}

// Neither file can be written: the box names the operator's own.
TEST_F(MainWindowTest, UnwritableSettingsShowTheErrorBoxOnClose) {
    blockFile(u"MorvaneX.ini");
    blockFile(u"user\\MorvaneX.ini");
    open();
    BoxWatcher watcher(L"OK");
    close();
    const auto& box = watcher.result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"MorvaneX");
    EXPECT_EQ(box.text, std::wstring(reinterpret_cast<const wchar_t*>(
                            dir.file(u"user\\MorvaneX.ini").c_str())) +
                            L" に書き込めません.");
    EXPECT_EQ(host->messageFilter(), nullptr); // revoked all the same
}

// At log-off and shut-down Windows may end the process right after
// WM_ENDSESSION, without WM_DESTROY: the settings are written then, as on
// close, while the window lives on.
TEST_F(MainWindowTest, EndingTheSessionWritesTheSettingsAsClosingDoes) {
    const char kBefore[] =
        "[Form]\r\nWidth=320\r\nHeight=260\r\nLeft=50\r\nTop=60\r\n[Target]\r\nProgID=X\r\n";
    writeSettings(kBefore);
    auto& f = open();
    changePlaceAndTarget();

    EXPECT_EQ(SendMessageW(f.hwnd(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
    SendMessageW(f.hwnd(), WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF); // the session goes on
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), kBefore);

    SendMessageW(f.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    ASSERT_TRUE(IsWindow(f.hwnd()));
    expectChangedSettingsWritten();
    // Byte for byte what closing writes.
    const std::string atSessionEnd = dir.read(u"MorvaneX.ini");
    close();
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), atSessionEnd);
}

// The Restart Manager of an installer or updater ends the session of this
// program alone (ENDSESSION_CLOSEAPP) and waits for it to end: the settings
// are written as at log-off, then the window closes, the filter goes and
// the message loop ends, without writing again.
TEST_F(MainWindowTest, ARestartManagerCloseSavesThenEndsTheProgram) {
    const char kBefore[] =
        "[Form]\r\nWidth=320\r\nHeight=260\r\nLeft=50\r\nTop=60\r\n[Target]\r\nProgID=X\r\n";
    writeSettings(kBefore);
    LauncherEnvironment closing = test::environmentIn(dir);
    closing.quitOnClose = true;
    host = std::make_unique<LauncherHost>(closing, test::thisSystem());
    window = &host->mainWindow();
    ASSERT_NE(host->createMainWindow(), nullptr);
    HWND hwnd = window->hwnd();
    changePlaceAndTarget();

    EXPECT_EQ(SendMessageW(hwnd, WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP), TRUE);
    SendMessageW(hwnd, WM_ENDSESSION, FALSE, ENDSESSION_CLOSEAPP); // the restart was called off
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), kBefore);

    SendMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
    EXPECT_FALSE(IsWindow(hwnd));
    expectChangedSettingsWritten();
    EXPECT_EQ(host->messageFilter(), nullptr);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(MainWindowTest, UnwritableSettingsShowNoBoxWhenARestartManagerCloses) {
    CreateDirectoryW(reinterpret_cast<const wchar_t*>(dir.file(u"MorvaneX.ini").c_str()), nullptr);
    auto& f = open();
    HWND hwnd = f.hwnd();
    {
        // Neither the save at the session's end nor the close after it shows
        // one: nobody would answer it, and the Restart Manager waits.
        BoxWatcher watcher(L"OK", std::chrono::milliseconds(500));
        SendMessageW(hwnd, WM_ENDSESSION, TRUE, ENDSESSION_CLOSEAPP);
        EXPECT_FALSE(watcher.result().found);
    }
    EXPECT_FALSE(IsWindow(hwnd));
    if (IsWindow(hwnd)) {
        BoxWatcher closing(L"OK"); // the test's own close must not wait on a box
        close();
    }
}

TEST_F(MainWindowTest, UnwritableSettingsShowNoBoxAtSessionEnd) {
    blockFile(u"MorvaneX.ini");
    blockFile(u"user\\MorvaneX.ini");
    auto& f = open();
    {
        // A box would show while the message is handled, so it would be
        // seen before SendMessageW returns.
        BoxWatcher watcher(L"OK", std::chrono::milliseconds(500));
        SendMessageW(f.hwnd(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
        EXPECT_FALSE(watcher.result().found);
    }
    EXPECT_TRUE(IsWindow(f.hwnd()));
    BoxWatcher closing(L"OK"); // closing still reports it
    close();
    EXPECT_TRUE(closing.result().found);
}

// What makes a CAD link and opens the target dialog is handed to the
// window when it is made: a window made without a host runs on what it was
// given, the state it was handed included, and says when it is gone.
TEST_F(MainWindowTest, AWindowRunsOnWhatItIsHandedAndTellsWhenItIsGone) {
    dir.write(u"MorvaneList.txt", "G\r\nLINE\tline\r\n");
    struct RecordingAutomation final : CadAutomation {
        std::vector<std::u16string> attached;
        CadObjectPtr attach(std::u16string_view progId) override {
            attached.emplace_back(progId);
            return nullptr; // no CAD running: the chain ends there
        }
    } automation;
    Win32CadDesktop desktop;
    LauncherState state;
    const SystemAnswers system = test::thisSystem();
    std::vector<std::u16string> asked;
    int destroyed = 0;
    MainWindow own(test::environmentIn(dir),
                   MainWindowLinks{
                       state, system, CadLink{automation, desktop, system.services.clock},
                       [&](std::u16string_view progId) {
                           asked.emplace_back(progId);
                           return std::optional<TargetChoice>(TargetChoice{u"名前", u"Cad.Chosen"});
                       },
                       [&] { ++destroyed; }});
    ASSERT_NE(own.create(), nullptr);
    ASSERT_EQ(state.rows.size(), 2u); // read into the state it was handed

    SendMessageW(own.hwnd(), WM_COMMAND, kTargetCadItem, 0);
    EXPECT_EQ(asked, std::vector<std::u16string>{std::u16string(kDefaultProgID)});
    EXPECT_EQ(windowText(own.hwnd()), L"MorvaneX [名前]");
    EXPECT_EQ(state.targetProgID, u"Cad.Chosen");

    HTREEITEM row = TreeView_GetChild(own.commandTree, TreeView_GetRoot(own.commandTree));
    ASSERT_TRUE(TreeView_SelectItem(own.commandTree, row));
    NMHDR header{own.commandTree, static_cast<UINT_PTR>(kCommandTreeId), NM_DBLCLK};
    SendMessageW(own.hwnd(), WM_NOTIFY, kCommandTreeId, reinterpret_cast<LPARAM>(&header));
    EXPECT_EQ(automation.attached, std::vector<std::u16string>{u"Cad.Chosen"});

    DestroyWindow(own.hwnd());
    EXPECT_EQ(destroyed, 1);
    EXPECT_EQ(setting(L"Target", L"ProgID"), L"Cad.Chosen"); // saved before it told
}

// Run at 96 DPI and, in a prefix with LogPixels 144, at 144 DPI
// (MORVANE_EXPECT_DPI says which).
TEST_F(MainWindowTest, ControlsAndFontsScaleWithTheDpi) {
    auto& f = open();
    const int dpi = static_cast<int>(dpiOfWindow(f.hwnd()));
    if (const char* expected = std::getenv("MORVANE_EXPECT_DPI")) {
        ASSERT_EQ(dpi, std::atoi(expected));
    }
    RECT client;
    GetClientRect(f.hwnd(), &client);
    const MainLayout layout = layoutMainWindow(client.right, client.bottom, dpi);
    auto placed = [&](HWND control) {
        RECT rect;
        GetWindowRect(control, &rect);
        MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
        return ControlRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    };
    EXPECT_EQ(placed(f.commandTree), layout.commandTree);
    EXPECT_EQ(placed(f.commandOrderButton), layout.commandOrderButton);
    EXPECT_EQ(placed(f.fileOrderButton), layout.fileOrderButton);
    EXPECT_EQ(placed(f.searchBox), layout.searchBox);
    EXPECT_EQ(placed(f.escapePanel), layout.escapePanel);
    EXPECT_EQ(placed(f.escapeButton), layout.escapeButton);
    EXPECT_EQ(placed(f.searchLabel), layout.searchLabel);

    auto fontHeight = [](HWND control) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font,
                   &font);
        return font.lfHeight;
    };
    EXPECT_EQ(fontHeight(f.commandTree), -scaleForDpi(13, dpi));
    EXPECT_EQ(fontHeight(f.searchBox), -scaleForDpi(12, dpi));
    EXPECT_EQ(fontHeight(f.commandOrderButton), -scaleForDpi(11, dpi));
    EXPECT_EQ(static_cast<int>(TreeView_GetIndent(f.commandTree)), scaleForDpi(19, dpi));
    int width = 0, height = 0;
    HIMAGELIST images = TreeView_GetImageList(f.commandTree, TVSIL_NORMAL);
    ImageList_GetIconSize(images, &width, &height);
    EXPECT_EQ(width, scaleForDpi(16, dpi));
    EXPECT_EQ(ImageList_GetImageCount(images), 4);

    // Resizing keeps the tree filling the client area below the top row.
    SetWindowPos(f.hwnd(), nullptr, 0, 0, scaleForDpi(400, dpi), scaleForDpi(500, dpi),
                 SWP_NOMOVE | SWP_NOZORDER);
    GetClientRect(f.hwnd(), &client);
    EXPECT_EQ(placed(f.commandTree),
              layoutMainWindow(client.right, client.bottom, dpi).commandTree);
}

// Big and small icons at the sizes the system uses for the window's DPI
// (96: 32 and 16 pixels; 144: 48 and 24), and again after a DPI change.
TEST_F(MainWindowTest, IconsFitTheDpi) {
    auto& f = open();
    auto side = [&](WPARAM which) {
        HICON icon = reinterpret_cast<HICON>(SendMessageW(f.hwnd(), WM_GETICON, which, 0));
        ICONINFO info{};
        if (!icon || !GetIconInfo(icon, &info))
            return 0;
        UniqueBitmap colour(info.hbmColor), mask(info.hbmMask);
        BITMAP bitmap{};
        GetObjectW(colour.get(), sizeof bitmap, &bitmap);
        return static_cast<int>(bitmap.bmWidth);
    };
    const UINT dpi = dpiOfWindow(f.hwnd());
    EXPECT_EQ(side(ICON_BIG), GetSystemMetricsForDpi(SM_CXICON, dpi));
    EXPECT_EQ(side(ICON_SMALL), GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    EXPECT_EQ(side(ICON_BIG), scaleForDpi(32, static_cast<int>(dpi)));
    EXPECT_EQ(side(ICON_SMALL), scaleForDpi(16, static_cast<int>(dpi)));

    const UINT other = dpi == 96 ? 144 : 96;
    RECT rect;
    GetWindowRect(f.hwnd(), &rect);
    SendMessageW(f.hwnd(), WM_DPICHANGED, MAKEWPARAM(other, other),
                 reinterpret_cast<LPARAM>(&rect));
    EXPECT_EQ(side(ICON_BIG), scaleForDpi(32, static_cast<int>(other)));
    EXPECT_EQ(side(ICON_SMALL), scaleForDpi(16, static_cast<int>(other)));
}

// The images as drawn: the pixel table scaled, background transparent.
TEST_F(MainWindowTest, NodeImagesFollowThePixelTable) {
    auto& f = open();
    HIMAGELIST images = TreeView_GetImageList(f.commandTree, TVSIL_NORMAL);
    int size = 0;
    ImageList_GetIconSize(images, &size, &size);
    WindowDC screen(nullptr);
    HDC dc = CreateCompatibleDC(screen.get());
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), size * 2, size));
    HGDIOBJ old = SelectObject(dc, bitmap.get());
    RECT all{0, 0, size * 2, size};
    UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(dc, &all, magenta.get());
    ImageList_Draw(images, 0, dc, 0, 0, ILD_TRANSPARENT);
    ImageList_Draw(images, 1, dc, size, 0, ILD_TRANSPARENT);
    auto at = [&](int image, int x, int y) {
        // Centre of the design pixel (x, y) at this scale.
        return GetPixel(dc, image * size + (x * 2 + 1) * size / 32, (y * 2 + 1) * size / 32);
    };
    EXPECT_EQ(at(0, 0, 0), RGB(255, 0, 255));
    EXPECT_EQ(at(0, 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(at(0, 9, 8), RGB(231, 99, 66));
    EXPECT_EQ(at(0, 8, 3), RGB(231, 132, 132));
    EXPECT_EQ(at(0, 4, 11), RGB(231, 132, 132));
    EXPECT_EQ(at(0, 4, 12), RGB(255, 0, 255));
    EXPECT_EQ(at(1, 9, 8), RGB(0, 132, 132));
    EXPECT_EQ(at(1, 4, 6), RGB(0, 255, 255));
    EXPECT_EQ(at(1, 15, 15), RGB(255, 0, 255));
    SelectObject(dc, old);
    DeleteDC(dc);
}

} // namespace
} // namespace morvane
