// Pins and the hotkey on the real window: the menu's "ピン留め", the pin
// group in the views, the pins in the settings file, and the hotkey's
// registration and its bringing the launcher forward.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "app/activation_hotkey.h"
#include "app/launcher_host.h"
#include "app/main_window.h"
#include "gui_support.h"
#include "list/search_index.h"
#include "list/tree_model.h"
#include "main_window_fixture.h"
#include "platform/win32/scoped.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/dark_theme.h"

namespace morvane {
namespace {

using namespace std::chrono_literals;
using test::BoxWatcher;
using test::readTree;
using test::texts;
using test::windowText;
using Texts = std::vector<std::wstring>;

// What a watcher thread saw of "ピン留め" in the window's open menu.
struct SeenPinItem {
    bool found = false;
    bool checked = false;
    bool greyed = false;
};

// Reads "ピン留め" in the open menu, then chooses it (End selects the last
// item, Enter chooses it) or closes the menu.
void readPinItem(HWND popup, bool choose, SeenPinItem& seen) {
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    const UINT state = GetMenuState(menu, kPinItem, MF_BYCOMMAND);
    seen.found = state != static_cast<UINT>(-1);
    seen.checked = state & MF_CHECKED;
    seen.greyed = state & MF_GRAYED;
    if (choose) {
        PostMessageW(popup, WM_KEYDOWN, VK_END, 0);
        PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
    } else {
        PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
    }
}

class MainWindowPinsTest : public test::MainWindowFixture {
  protected:
    MainWindowPinsTest() { dir.write(u"MorvaneList.txt", test::kGroupedListFile); }

    std::wstring setting(const wchar_t* section, const wchar_t* key) {
        wchar_t buffer[256] = {};
        GetPrivateProfileStringW(section, key, L"<missing>", buffer, 256, settingsPath().c_str());
        return buffer;
    }
    std::wstring settingsPath() const {
        return reinterpret_cast<const wchar_t*>(dir.file(u"MorvaneX.ini").c_str());
    }
    HTREEITEM itemLabelled(const wchar_t* label, bool pinned = false) const {
        return test::itemLabelled(window->commandTree, label, pinned);
    }
    std::wstring labelOf(HTREEITEM item) const {
        return test::itemLabel(window->commandTree, item);
    }
    std::wstring selectedLabel() const {
        return labelOf(TreeView_GetSelection(window->commandTree));
    }
    // The menu as a right click on the item opens it (the tree's default
    // handling sends WM_CONTEXTMENU with the pointer's place), or from the
    // keyboard without an item.
    SeenPinItem openMenu(HTREEITEM item, bool choose) {
        LPARAM at = MAKELPARAM(-1, -1);
        if (item) {
            RECT row{};
            TreeView_GetItemRect(window->commandTree, item, &row, TRUE);
            POINT point{row.left + 2, (row.top + row.bottom) / 2};
            ClientToScreen(window->commandTree, &point);
            at = MAKELPARAM(point.x, point.y);
        }
        SeenPinItem seen;
        test::PopupMenuWatcher watcher([&](HWND popup) { readPinItem(popup, choose, seen); });
        SendMessageW(window->hwnd(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(window->commandTree),
                     at);
        watcher.join();
        test::pumpMessages(); // the chosen item's WM_COMMAND
        return seen;
    }
};

TEST_F(MainWindowPinsTest, TheMenuItemFollowsTheRowUnderThePointerOrTheSelectedRow) {
    auto& f = open();
    ASSERT_EQ(selectedLabel(), L"作図");

    // From the keyboard on the selected group: greyed.
    SeenPinItem seen = openMenu(nullptr, false);
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.greyed);
    EXPECT_FALSE(seen.checked);

    // A right click on [LINE] pins [LINE], not the selected group; the
    // selection stays where it was.
    seen = openMenu(itemLabelled(L"[LINE] 線分"), true);
    EXPECT_FALSE(seen.greyed);
    EXPECT_FALSE(seen.checked);
    EXPECT_EQ(texts(readTree(f.commandTree)), (Texts{L"ピン留め", L"作図", L"修正"}));
    EXPECT_EQ(texts(readTree(f.commandTree)[0].children), (Texts{L"[LINE] 線分"}));
    EXPECT_EQ(readTree(f.commandTree)[0].children[0].data, 2);
    EXPECT_EQ(selectedLabel(), L"作図");
    EXPECT_EQ(setting(L"Pinned", L"1"), L"LINE"); // written at once, the TAB read as trimmed

    // The pin group itself: greyed. Its [LINE]: checked, and choosing unpins.
    EXPECT_TRUE(openMenu(itemLabelled(L"ピン留め"), false).greyed);
    seen = openMenu(itemLabelled(L"[LINE] 線分", true), true);
    EXPECT_TRUE(seen.checked);
    EXPECT_EQ(texts(readTree(f.commandTree)), (Texts{L"作図", L"修正"}));
    EXPECT_EQ(setting(L"Pinned", L"1"), L"<missing>");

    // From the keyboard, the selected row: [MOVE].
    TreeView_SelectItem(f.commandTree, itemLabelled(L"[MOVE] move it"));
    seen = openMenu(nullptr, true);
    EXPECT_FALSE(seen.checked);
    EXPECT_EQ(texts(readTree(f.commandTree)[0].children), (Texts{L"[MOVE] move it"}));
    EXPECT_EQ(selectedLabel(), L"[MOVE] move it");
    EXPECT_EQ(TreeView_GetParent(f.commandTree, TreeView_GetSelection(f.commandTree)),
              itemLabelled(L"修正")); // its own node, not the pinned one
}

TEST_F(MainWindowPinsTest, PinsFromTheSettingsHeadBothViewsInPinOrderButNotTheSearch) {
    dir.write(u"MorvaneX.ini", "[Pinned]\r\n1=MOVE\r\n2=GONE\r\n3=box\tC:\\lisp\\box.lsp\r\n");
    auto& f = open();
    auto nodes = readTree(f.commandTree);
    ASSERT_EQ(texts(nodes), (Texts{L"ピン留め", L"作図", L"修正"}));
    EXPECT_TRUE(nodes[0].selected);
    EXPECT_TRUE(nodes[0].expanded);
    EXPECT_EQ(texts(nodes[0].children), (Texts{L"[MOVE] move it", L"{box} solid"}));

    SendMessageW(f.commandOrderButton, BM_CLICK, 0, 0);
    nodes = readTree(f.commandTree);
    EXPECT_EQ(texts(nodes), (Texts{L"ピン留め", L"[EARLY] first", L"[LINE] 線分", L"[MOVE] move it",
                                   L"{box} solid"}));
    EXPECT_EQ(texts(nodes[0].children), (Texts{L"[MOVE] move it", L"{box} solid"}));

    SetWindowTextW(f.searchBox, L"o");
    EXPECT_EQ(texts(readTree(f.commandTree)), (Texts{L"[MOVE] move it", L"{box} solid"}));
    SetWindowTextW(f.searchBox, L"");
    EXPECT_EQ(texts(readTree(f.commandTree))[0], L"ピン留め");

    // A double-click on the pinned {box} does what the row does.
    TreeView_SelectItem(f.commandTree, itemLabelled(L"{box} solid", true));
    BoxWatcher watcher(L"OK");
    NMHDR click{f.commandTree, kCommandTreeId, static_cast<UINT>(NM_DBLCLK)};
    SendMessageW(f.hwnd(), WM_NOTIFY, kCommandTreeId, reinterpret_cast<LPARAM>(&click));
    ASSERT_TRUE(watcher.result().found);
    EXPECT_EQ(watcher.result().text, L"C:\\lisp\\box.lsp\nファイルが見つかりません．");
}

TEST_F(MainWindowPinsTest, PinsGoBackToTheSettingsAndAPinWithoutItsRowIsKept) {
    dir.write(u"MorvaneX.ini", "[Pinned]\r\n1=GONE\r\n7=MOVE\r\n");
    auto& f = open();
    TreeView_SelectItem(f.commandTree, itemLabelled(L"[LINE] 線分"));
    f.togglePinOfSelectedRow();
    EXPECT_EQ(setting(L"Pinned", L"1"), L"GONE");
    EXPECT_EQ(setting(L"Pinned", L"2"), L"MOVE");
    EXPECT_EQ(setting(L"Pinned", L"3"), L"LINE");
    EXPECT_EQ(setting(L"Pinned", L"7"), L"<missing>"); // the section is replaced whole
    close();
    EXPECT_EQ(setting(L"Pinned", L"1"), L"GONE");
    EXPECT_EQ(setting(L"Pinned", L"3"), L"LINE");

    // The next start reads them back; GONE returns with its row.
    dir.write(u"MorvaneList.txt", std::string(test::kGroupedListFile) + "GONE\tback again\r\n");
    auto& g = open();
    const auto nodes = readTree(g.commandTree);
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(texts(nodes[0].children),
              (Texts{L"[GONE] back again", L"[MOVE] move it", L"[LINE] 線分"}));
}

TEST_F(MainWindowPinsTest, WithoutPinsTheSettingsGetNoPinnedSection) {
    open();
    close();
    wchar_t buffer[64] = {};
    EXPECT_EQ(GetPrivateProfileSectionW(L"Pinned", buffer, 64, settingsPath().c_str()), 0u);
    EXPECT_EQ(setting(L"Target", L"ProgID"), L"BricscadApp.AcadApplication");
}

// Where the operator keeps their own settings, a pin goes there at once and
// the administrator's file is not touched; the administrator's pins do not
// stand in for the operator's.
TEST_F(MainWindowPinsTest, PinsOfAnOperatorWithOwnSettingsGoToTheirOwnFile) {
    const char kAdministrators[] = "[Settings]\r\nLocation=PerUser\r\n[Pinned]\r\n1=MOVE\r\n";
    dir.write(u"MorvaneX.ini", kAdministrators);
    auto& f = open();
    const auto nodes = readTree(f.commandTree);
    ASSERT_FALSE(nodes.empty());
    EXPECT_EQ(nodes[0].text, L"作図"); // no pin group
    BoxWatcher watcher(L"OK", 1000ms);
    TreeView_SelectItem(f.commandTree, itemLabelled(L"[LINE] 線分"));
    f.togglePinOfSelectedRow();
    EXPECT_FALSE(watcher.result().found);
    wchar_t buffer[64] = {};
    const std::wstring own(
        reinterpret_cast<const wchar_t*>(dir.file(u"user\\MorvaneX.ini").c_str()));
    GetPrivateProfileStringW(L"Pinned", L"1", L"<missing>", buffer, 64, own.c_str());
    EXPECT_EQ(std::wstring(buffer), L"LINE");
    EXPECT_EQ(dir.read(u"MorvaneX.ini"), kAdministrators);
}

TEST_F(MainWindowPinsTest, AnUnwritableSettingsFileShowsItsBoxOnceAndKeepsThePins) {
    auto& f = open();
    CreateDirectoryW(settingsPath().c_str(), nullptr);
    {
        BoxWatcher watcher(L"OK");
        TreeView_SelectItem(f.commandTree, itemLabelled(L"[LINE] 線分"));
        f.togglePinOfSelectedRow();
        ASSERT_TRUE(watcher.result().found);
        EXPECT_EQ(watcher.result().text, settingsPath() + L" に書き込めません.");
    }
    {
        BoxWatcher watcher(L"OK", 1000ms);
        TreeView_SelectItem(f.commandTree, itemLabelled(L"[MOVE] move it"));
        f.togglePinOfSelectedRow();
        EXPECT_FALSE(watcher.result().found);
    }
    EXPECT_EQ(texts(readTree(f.commandTree)[0].children),
              (Texts{L"[LINE] 線分", L"[MOVE] move it"}));
    BoxWatcher atClose(L"OK"); // the close still says so
    close();
    EXPECT_TRUE(atClose.result().found);
}

// The owner-drawn menu shows the check: a tick in the margin before the text,
// in the text's colour, only when checked.
TEST_F(MainWindowPinsTest, ACheckedPinItemDrawsATickInItsMargin) {
    auto& f = open();
    WindowDC screen(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 200, 30));
    SelectObjectScope select(memory.get(), bitmap.get());
    for (const bool checked : {false, true}) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemID = kPinItem;
        item.itemState = checked ? ODS_CHECKED : 0;
        item.hDC = memory.get();
        item.rcItem = {0, 0, 200, 30};
        item.itemData = reinterpret_cast<ULONG_PTR>(f.contextMenu);
        ASSERT_TRUE(dark::drawMenuItem(item, f.palette()));
        int inked = 0;
        for (int x = 0; x < 26; ++x)
            for (int y = 0; y < 30; ++y)
                inked += GetPixel(memory.get(), x, y) == f.palette().text;
        EXPECT_EQ(inked > 10, checked) << inked;
    }
}

// Each load folds every row once; the search box then reads the index.
TEST_F(MainWindowPinsTest, TheSearchIndexIsBuiltAtEveryLoadAndReadsJapanese) {
    auto& f = open();
    const auto indexed = [&](int32_t row) {
        const ListRow* found = findRow(host->state().rows, row);
        return found && host->state().searchIndex.foldedText(*found).has_value();
    };
    EXPECT_TRUE(indexed(2)); // LINE
    SetWindowTextW(f.searchBox, L"ｌｉｎｅ");
    EXPECT_EQ(texts(readTree(f.commandTree)), (Texts{L"[LINE] 線分"}));
    SetWindowTextW(f.searchBox, L"線分　line");
    EXPECT_EQ(texts(readTree(f.commandTree)), (Texts{L"[LINE] 線分"}));

    // The reload replaces the rows: the index follows them.
    dir.write(u"MorvaneList.txt", "\x8D\xEC\x90\x7D\r\nARC\t\x83\x89\x83\x43\x83\x93\r\n");
    SendMessageW(f.hwnd(), WM_COMMAND, kReloadListItem, 0);
    EXPECT_TRUE(indexed(1)); // ARC ライン
    SetWindowTextW(f.searchBox, L"らいん");
    EXPECT_EQ(texts(readTree(f.commandTree)), (Texts{L"[ARC] ライン"}));
}

// A hotkey nobody uses, held by the test's own thread while asked.
constexpr UINT kTestModifiers = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr UINT kTestKey = VK_F7;

bool hotkeyFree() {
    if (!RegisterHotKey(nullptr, 77, kTestModifiers, kTestKey))
        return false;
    UnregisterHotKey(nullptr, 77);
    return true;
}

TEST_F(MainWindowPinsTest, TheSettingsHotkeyIsHeldWhileTheWindowLives) {
    dir.write(u"MorvaneX.ini", "[Keys]\r\nActivate=Ctrl+Alt+Shift+F7\r\n");
    ASSERT_TRUE(hotkeyFree());
    open();
    EXPECT_TRUE(host->hotkeyRegistered());
    EXPECT_FALSE(hotkeyFree());
    close();
    EXPECT_FALSE(host->hotkeyRegistered());
    EXPECT_TRUE(hotkeyFree());
}

TEST_F(MainWindowPinsTest, ATakenOrMalformedHotkeyIsIgnored) {
    for (const char* value : {"Ctrl+Alt+Shift+F7", "Ctrl+", "Q", "Ctrl+F12"}) {
        SCOPED_TRACE(value);
        dir.write(u"MorvaneX.ini", std::string("[Keys]\r\nActivate=") + value + "\r\n");
        ASSERT_TRUE(RegisterHotKey(nullptr, 77, kTestModifiers, kTestKey)); // another program's
        auto& f = open();
        EXPECT_FALSE(host->hotkeyRegistered());
        EXPECT_EQ(texts(readTree(f.commandTree)), (Texts{L"作図", L"修正"}));
        close();
        UnregisterHotKey(nullptr, 77);
    }
}

TEST_F(MainWindowPinsTest, TheHotkeyBringsTheSearchBoxForwardAndAgainGoesBack) {
    auto& f = open();
    ShowWindow(f.hwnd(), SW_SHOW);
    SetWindowTextW(f.searchBox, L"LINE");
    // The program the operator works in.
    HWND other = CreateWindowExW(0, L"STATIC", L"CAD", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200,
                                 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SetForegroundWindow(other);
    test::pumpMessages();
    ASSERT_EQ(GetForegroundWindow(), other);

    SendMessageW(f.hwnd(), WM_HOTKEY, HotkeyRegistration::kId, 0);
    EXPECT_EQ(GetForegroundWindow(), f.hwnd());
    EXPECT_EQ(GetFocus(), f.searchBox);
    DWORD start = 1, end = 0;
    SendMessageW(f.searchBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);

    SendMessageW(f.hwnd(), WM_HOTKEY, HotkeyRegistration::kId, 0);
    EXPECT_EQ(GetForegroundWindow(), other);

    // Minimised, it comes back restored.
    ShowWindow(f.hwnd(), SW_MINIMIZE);
    test::pumpMessages();
    SendMessageW(f.hwnd(), WM_HOTKEY, HotkeyRegistration::kId, 0);
    EXPECT_FALSE(IsIconic(f.hwnd()));
    EXPECT_EQ(GetForegroundWindow(), f.hwnd());
    EXPECT_EQ(GetFocus(), f.searchBox);
    DestroyWindow(other);
}

} // namespace
} // namespace morvane
