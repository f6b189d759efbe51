// The main window from the keyboard: shown and active, keys posted to the
// focused control and delivered through the window's own loop step, the way
// the program's message loop delivers them.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/launcher_state.h"
#include "app/main_window.h"
#include "gui_support.h"
#include "main_window_fixture.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "support/case_name.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/dark_theme.h"
#include "ui/panel.h"

namespace morvane {
namespace {

using namespace std::chrono_literals;
using test::BoxWatcher;
using test::readTree;
using test::texts;
using test::windowText;
using Texts = std::vector<std::wstring>;

const Texts kRowView{L"作図", L"修正"};
const std::wstring kMissingBoxLsp = L"C:\\lisp\\box.lsp\nファイルが見つかりません．";

enum class Control { Tree, OrderButton, FileButton, SearchBox, None };

const char* nameOf(Control control) {
    switch (control) {
    case Control::Tree:
        return "tree";
    case Control::OrderButton:
        return "ABC順";
    case Control::FileButton:
        return "取得順";
    case Control::SearchBox:
        return "search box";
    case Control::None:
        break;
    }
    return "none";
}

// A key and the modifiers held with it.
struct Key {
    WORD vk;
    std::vector<WORD> held = {};
};

// Records the notifications one control sends the main window.
class CommandRecorder {
  public:
    CommandRecorder(HWND window, int controlId) {
        window_ = window;
        controlId_ = controlId;
        hook_ = SetWindowsHookExW(WH_CALLWNDPROC, record, nullptr, GetCurrentThreadId());
    }
    ~CommandRecorder() {
        UnhookWindowsHookEx(hook_);
        seen_.clear();
    }
    CommandRecorder(const CommandRecorder&) = delete;
    CommandRecorder& operator=(const CommandRecorder&) = delete;
    // The notification codes, in order.
    static const std::vector<int>& seen() { return seen_; }

  private:
    static LRESULT CALLBACK record(int code, WPARAM wp, LPARAM lp) {
        const auto& call = *reinterpret_cast<const CWPSTRUCT*>(lp);
        if (code == HC_ACTION && call.hwnd == window_ && call.message == WM_COMMAND &&
            LOWORD(call.wParam) == controlId_)
            seen_.push_back(HIWORD(call.wParam));
        return CallNextHookEx(nullptr, code, wp, lp);
    }
    static inline HWND window_ = nullptr;
    static inline int controlId_ = 0;
    static inline std::vector<int> seen_;
    HHOOK hook_;
};

// What a watcher thread saw of a popup menu of this process before closing
// it with Escape.
struct SeenMenu {
    bool found = false;
    HMENU menu = nullptr;
    POINT topLeft{};
};

// Reads the open menu, then closes it with Escape.
void readMenu(HWND popup, SeenMenu& seen) {
    seen.found = true;
    seen.menu = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
    RECT rect;
    GetWindowRect(popup, &rect);
    seen.topLeft = {rect.left, rect.top};
    PostMessageW(popup, WM_KEYDOWN, VK_ESCAPE, 0);
}

class MainWindowKeysTest : public test::MainWindowFixture {
  protected:
    MainWindowKeysTest() { dir.write(u"MorvaneList.txt", test::kGroupedListFile); }

    // Shown and made active as the program's start does.
    MainWindow& open() {
        MainWindowFixture::open();
        ShowWindow(window->hwnd(), SW_SHOW);
        SetForegroundWindow(window->hwnd());
        deliver();
        return *window;
    }

    // The queued messages, through the window's loop step as wWinMain does.
    void deliver() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (window->preTranslateMessage(msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }

    // Pressed and released on the focused control, the modifiers held in
    // the thread's key state meanwhile. F10 and keys with Alt come as
    // system keys, as Windows sends them.
    void press(const Key& key) {
        BYTE state[256];
        GetKeyboardState(state);
        for (WORD held : key.held)
            state[held] |= 0x80;
        SetKeyboardState(state);
        HWND target = GetFocus() ? GetFocus() : window->hwnd();
        const bool alt = state[VK_MENU] & 0x80;
        const bool system = key.vk == VK_F10 || alt;
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(key.vk, MAPVK_VK_TO_VSC)) << 16 |
                            (alt ? KF_ALTDOWN << 16 : 0);
        PostMessageW(target, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key.vk, scan | 1);
        PostMessageW(target, system ? WM_SYSKEYUP : WM_KEYUP, key.vk, scan | 0xC0000001);
        deliver();
        for (WORD held : key.held)
            state[held] &= 0x7F;
        SetKeyboardState(state);
    }
    void pressKeys(const std::vector<Key>& keys) {
        for (const Key& key : keys)
            press(key);
    }

    HWND handleOf(Control control) const {
        switch (control) {
        case Control::Tree:
            return window->commandTree;
        case Control::OrderButton:
            return window->commandOrderButton;
        case Control::FileButton:
            return window->fileOrderButton;
        case Control::SearchBox:
            return window->searchBox;
        case Control::None:
            break;
        }
        return nullptr;
    }
    Control focused() const {
        for (Control c :
             {Control::Tree, Control::OrderButton, Control::FileButton, Control::SearchBox})
            if (GetFocus() == handleOf(c))
                return c;
        return Control::None;
    }
    std::wstring selectedLabel() const {
        for (const auto& node : readTree(window->commandTree)) {
            if (node.selected)
                return node.text;
            for (const auto& child : node.children)
                if (child.selected)
                    return child.text;
        }
        return L"<none>";
    }
    // The point under the selected row where a keyboard menu opens.
    POINT underSelectedRow() const {
        RECT row{};
        TreeView_GetItemRect(window->commandTree, TreeView_GetSelection(window->commandTree), &row,
                             TRUE);
        POINT at{row.left, row.bottom};
        ClientToScreen(window->commandTree, &at);
        return at;
    }
};

void PrintTo(Control control, std::ostream* os) {
    *os << nameOf(control);
}

TEST_F(MainWindowKeysTest, TheTreeHasTheFocusAtStartAndTabWalksTheTabStops) {
    auto& f = open();
    EXPECT_EQ(focused(), Control::Tree);
    EXPECT_EQ(selectedLabel(), L"作図");

    const std::vector<Control> forward{Control::OrderButton, Control::FileButton,
                                       Control::SearchBox, Control::Tree};
    for (Control expected : forward) {
        press({VK_TAB});
        EXPECT_EQ(focused(), expected) << "Tab";
    }
    const std::vector<Control> backward{Control::SearchBox, Control::FileButton,
                                        Control::OrderButton, Control::Tree};
    for (Control expected : backward) {
        press({VK_TAB, {VK_SHIFT}});
        EXPECT_EQ(focused(), expected) << "Shift+Tab";
    }
    EXPECT_FALSE(GetWindowLongPtrW(f.escapePanel, GWL_STYLE) & WS_TABSTOP);
}

TEST_F(MainWindowKeysTest, ClickingEscLeavesTheFocusWhereItWasAndStillClicks) {
    auto& f = open();
    CommandRecorder escapeButton(f.hwnd(), kEscapeButtonId);
    for (Control start : {Control::Tree, Control::SearchBox}) {
        SCOPED_TRACE(nameOf(start));
        SetFocus(handleOf(start));
        PostMessageW(f.escapeButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        PostMessageW(f.escapeButton, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        deliver();
        EXPECT_EQ(focused(), start);
        press({VK_SPACE}); // the ESC button would take it, had it the focus
    }
    // Two clicks, and Space never reached the button.
    EXPECT_EQ(escapeButton.seen(), (std::vector<int>{BN_CLICKED, BN_CLICKED}));

    // The look is the same: lime green with a bold caption.
    EXPECT_EQ(panelColour(f.escapePanel), dark::kLimeGreen);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.escapeButton, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfWeight, FW_BOLD);
    RedrawWindow(f.escapeButton, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    WindowDC dc(f.escapeButton);
    EXPECT_EQ(GetPixel(dc.get(), 2, 2), dark::kLimeGreen);
}

// The window's own keys still work whichever control has the focus.
TEST_F(MainWindowKeysTest, AltF4ClosesTheWindowFromEveryControl) {
    for (Control start :
         {Control::Tree, Control::OrderButton, Control::FileButton, Control::SearchBox}) {
        SCOPED_TRACE(nameOf(start));
        HWND main = open().hwnd();
        SetFocus(handleOf(start));
        press({VK_F4, {VK_MENU}});
        EXPECT_FALSE(IsWindow(main));
    }
}

TEST_F(MainWindowKeysTest, TheFocusComesBackWhenTheWindowIsActivatedAgain) {
    auto& f = open();
    // Another program's window stands in for the CAD.
    HWND other = CreateWindowExW(0, L"STATIC", L"CAD", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                                 nullptr, nullptr, nullptr);
    for (Control start : {Control::SearchBox, Control::FileButton, Control::Tree}) {
        SCOPED_TRACE(nameOf(start));
        SetFocus(handleOf(start));
        SetForegroundWindow(other);
        deliver();
        ASSERT_EQ(GetActiveWindow(), other);
        SetForegroundWindow(f.hwnd());
        deliver();
        EXPECT_EQ(focused(), start);
    }
    DestroyWindow(other);
}

// One row of the key table: where the focus starts, the search text typed
// first, the keys, and what follows.
struct KeyCase {
    const char* name;
    friend void PrintTo(const KeyCase& c, std::ostream* os) { *os << c.name; }
    Control start;
    const wchar_t* search;
    std::vector<Key> keys;
    Control focus;
    const wchar_t* searchAfter;
    const wchar_t* selected;
    // The box the row's run shows; nullptr when no row runs.
    const std::wstring* box;
    Texts topLevel; // the tree's top level afterwards; empty: not checked
};

class KeyTable : public MainWindowKeysTest, public testing::WithParamInterface<KeyCase> {};

TEST_P(KeyTable, KeyHasItsEffect) {
    const KeyCase& c = GetParam();
    auto& f = open();
    SetFocus(handleOf(c.start));
    f.setSearchText(fromWide(c.search));
    SendMessageW(f.searchBox, EM_SETSEL, 0, 0);
    deliver();
    {
        // A short wait where no box may open; any box is closed all the same.
        BoxWatcher watcher(L"OK", c.box ? 20000ms : 1000ms);
        pressKeys(c.keys);
        const auto& box = watcher.result();
        EXPECT_EQ(box.found, c.box != nullptr);
        if (c.box && box.found) {
            EXPECT_EQ(box.caption, L"情報");
            EXPECT_EQ(box.text, *c.box);
        }
    }
    deliver();
    EXPECT_EQ(focused(), c.focus);
    EXPECT_EQ(windowText(f.searchBox), c.searchAfter);
    EXPECT_EQ(selectedLabel(), c.selected);
    if (!c.topLevel.empty()) {
        EXPECT_EQ(texts(readTree(f.commandTree)), c.topLevel);
    }
}

// With {box} pinned.
const Texts kPinnedRowView{L"ピン留め", L"作図", L"修正"};
const Texts kCommandView{L"[EARLY] first", L"[LINE] 線分", L"[MOVE] move it", L"{box} solid"};

INSTANTIATE_TEST_SUITE_P(
    Keys, KeyTable,
    testing::Values(
        KeyCase{"arrows move in the tree",
                Control::Tree,
                L"",
                {{VK_DOWN}, {VK_DOWN}},
                Control::Tree,
                L"",
                L"{box} solid",
                nullptr,
                kRowView},
        KeyCase{"Enter on a row runs it as a double-click does",
                Control::Tree,
                L"",
                {{VK_DOWN}, {VK_DOWN}, {VK_RETURN}},
                Control::Tree,
                L"",
                L"{box} solid",
                &kMissingBoxLsp,
                kRowView},
        KeyCase{"Enter on a group does nothing",
                Control::Tree,
                L"",
                {{VK_RETURN}},
                Control::Tree,
                L"",
                L"作図",
                nullptr,
                kRowView},
        KeyCase{"Ctrl+F moves to the search box",
                Control::Tree,
                L"",
                {{'F', {VK_CONTROL}}},
                Control::SearchBox,
                L"",
                L"作図",
                nullptr,
                kRowView},
        KeyCase{"Ctrl+F from a button too",
                Control::FileButton,
                L"",
                {{'F', {VK_CONTROL}}},
                Control::SearchBox,
                L"",
                L"作図",
                nullptr,
                kRowView},
        KeyCase{"Down in the search box goes to the first row",
                Control::SearchBox,
                L"o",
                {{VK_DOWN}},
                Control::Tree,
                L"o",
                L"[MOVE] move it",
                nullptr,
                {L"[MOVE] move it", L"{box} solid"}},
        KeyCase{"Down after the tree moved on selects the first row again",
                Control::SearchBox,
                L"o",
                {{VK_DOWN}, {VK_DOWN}, {'F', {VK_CONTROL}}, {VK_DOWN}},
                Control::Tree,
                L"o",
                L"[MOVE] move it",
                nullptr,
                {}},
        KeyCase{"Enter in the search box runs the tree's row",
                Control::SearchBox,
                L"box",
                {{VK_RETURN}},
                Control::SearchBox,
                L"box",
                L"{box} solid",
                &kMissingBoxLsp,
                {L"{box} solid"}},
        KeyCase{"Escape empties the search box",
                Control::SearchBox,
                L"o",
                {{VK_ESCAPE}},
                Control::SearchBox,
                L"",
                L"[EARLY] first",
                nullptr,
                kCommandView},
        KeyCase{"Escape in an empty search box does nothing",
                Control::SearchBox,
                L"",
                {{VK_ESCAPE}},
                Control::SearchBox,
                L"",
                L"作図",
                nullptr,
                kRowView},
        KeyCase{"Space on ABC順 shows the command order",
                Control::OrderButton,
                L"",
                {{VK_SPACE}},
                Control::OrderButton,
                L"",
                L"[EARLY] first",
                nullptr,
                kCommandView},
        KeyCase{"Ctrl+D pins the selected row, which stays selected",
                Control::Tree,
                L"",
                {{VK_DOWN}, {VK_DOWN}, {'D', {VK_CONTROL}}},
                Control::Tree,
                L"",
                L"{box} solid",
                nullptr,
                kPinnedRowView},
        KeyCase{"Ctrl+D again unpins it",
                Control::Tree,
                L"",
                {{VK_DOWN}, {VK_DOWN}, {'D', {VK_CONTROL}}, {'D', {VK_CONTROL}}},
                Control::Tree,
                L"",
                L"{box} solid",
                nullptr,
                kRowView},
        KeyCase{"Ctrl+D on a group does nothing",
                Control::Tree,
                L"",
                {{'D', {VK_CONTROL}}},
                Control::Tree,
                L"",
                L"作図",
                nullptr,
                kRowView},
        KeyCase{"Enter on a pinned row runs the row",
                Control::Tree,
                L"",
                {{VK_DOWN}, {VK_DOWN}, {'D', {VK_CONTROL}}, {VK_HOME}, {VK_DOWN}, {VK_RETURN}},
                Control::Tree,
                L"",
                L"{box} solid",
                &kMissingBoxLsp,
                kPinnedRowView},
        KeyCase{"Ctrl+D in the search box pins the tree's row, results unchanged",
                Control::SearchBox,
                L"box",
                {{'D', {VK_CONTROL}}},
                Control::SearchBox,
                L"box",
                L"{box} solid",
                nullptr,
                {L"{box} solid"}},
        KeyCase{
            "the row pinned from the search box heads the command view",
            Control::SearchBox,
            L"box",
            {{'D', {VK_CONTROL}}, {VK_ESCAPE}},
            Control::SearchBox,
            L"",
            L"ピン留め",
            nullptr,
            {L"ピン留め", L"[EARLY] first", L"[LINE] 線分", L"[MOVE] move it", L"{box} solid"}}),
    test::CaseName());

TEST_F(MainWindowKeysTest, CtrlFSelectsTheSearchTextToTypeOver) {
    auto& f = open();
    SetWindowTextW(f.searchBox, L"LINE");
    SetFocus(f.commandTree);
    press({'F', {VK_CONTROL}});
    DWORD start = 1, end = 0;
    SendMessageW(f.searchBox, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(focused(), Control::SearchBox);
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 4u);
    // No control character reaches the box.
    EXPECT_EQ(windowText(f.searchBox), L"LINE");
}

struct MenuCase {
    const char* name;
    friend void PrintTo(const MenuCase& c, std::ostream* os) { *os << c.name; }
    Control start;
    Key key;
    bool ours; // the window's menu, under the selected row; else the edit's own
};

class MenuKeys : public MainWindowKeysTest, public testing::WithParamInterface<MenuCase> {};

TEST_P(MenuKeys, OpenTheRightMenuInTheRightPlace) {
    const MenuCase& c = GetParam();
    auto& f = open();
    SetFocus(f.commandTree);
    pressKeys({{VK_DOWN}, {VK_DOWN}}); // a row below the first: the place must follow it
    SetFocus(handleOf(c.start));
    const POINT expected = underSelectedRow();
    SeenMenu menu;
    test::PopupMenuWatcher watcher([&](HWND popup) { readMenu(popup, menu); });
    press(c.key);
    watcher.join();
    ASSERT_TRUE(menu.found);
    EXPECT_EQ(menu.menu == f.contextMenu, c.ours);
    if (c.ours) {
        EXPECT_EQ(menu.topLeft.x, expected.x);
        EXPECT_EQ(menu.topLeft.y, expected.y);
    }
    deliver();
    EXPECT_EQ(focused(), c.start);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, MenuKeys,
    testing::Values(
        MenuCase{"Shift+F10 in the tree", Control::Tree, {VK_F10, {VK_SHIFT}}, true},
        MenuCase{"the Menu key in the tree", Control::Tree, {VK_APPS}, true},
        MenuCase{"Shift+F10 in the search box", Control::SearchBox, {VK_F10, {VK_SHIFT}}, false}),
    test::CaseName());

} // namespace
} // namespace morvane
