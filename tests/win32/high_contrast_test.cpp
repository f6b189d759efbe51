// High contrast, answered by the test (Wine cannot turn the system's mode
// on): the main window, its target dialog and the message boxes they own
// paint in the system's colours, checked pixel by pixel against GetSysColor,
// and a switch while they run repaints both windows both ways.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/launcher_host.h"
#include "app/main_window.h"
#include "cad_targets/target_line.h"
#include "cad_targets/win32/target_dialog.h"
#include "gui_support.h"
#include "platform/win32/scoped.h"
#include "support/case_name.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/dark_scroll_bar.h"
#include "ui/dark_theme.h"
#include "ui/message_box.h"
#include "ui/panel.h"

namespace morvane {
namespace {

using test::clientPixel;
using test::insidePixel;
using test::printedPixel;

// The colours a control must show, read from the system when asked.
struct Colours {
    COLORREF window, field, windowText, buttonFace, highlight;
    static Colours ofSystem() {
        const COLORREF window = GetSysColor(COLOR_WINDOW);
        return {window, window, GetSysColor(COLOR_WINDOWTEXT), GetSysColor(COLOR_BTNFACE),
                GetSysColor(COLOR_HIGHLIGHT)};
    }
    static Colours ofDarkPalette() {
        return {dark::kBackground, dark::kControl, dark::kText, dark::kControl, dark::kSelection};
    }
};

// The main window with forty rows and its hidden target dialog, made with
// the test's answer to "is high contrast on?".
class HighContrastTest : public testing::Test {
  protected:
    HighContrastTest() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    ~HighContrastTest() override {
        host.reset();
        test::pumpMessages();
    }

    MainWindow& open(bool on) {
        highContrast.set(on);
        dir.write(u"MorvaneList.txt", test::longCommandList());
        dir.write(kTargetListFileName, test::longTargetList());
        host = test::hostIn(dir, test::thisSystem(dark::Extras::ofThisSystem(), highContrast));
        window = &host->mainWindow();
        // Left hidden: without a window manager Wine waits for shown windows.
        EXPECT_NE(host->createMainWindow(), nullptr);
        host->makeTargetDialog();
        return *window;
    }
    HWND dialog() const { return host->targetDialog()->hwnd(); }
    HWND dialogControl(int id) const { return GetDlgItem(dialog(), id); }
    // One row left in the tree: its lower part shows the tree's background.
    void searchOneRow() { SetWindowTextW(window->searchBox, L"CMD19"); }
    COLORREF treeBackground() const {
        RECT tree;
        GetWindowRect(window->commandTree, &tree);
        return printedPixel(window->commandTree, (tree.right - tree.left) / 2,
                            tree.bottom - tree.top - 4);
    }
    // Within the selected row's text, at its top right corner.
    COLORREF selectedRow() const {
        RECT row{};
        HTREEITEM selected = TreeView_GetSelection(window->commandTree);
        if (!selected || !TreeView_GetItemRect(window->commandTree, selected, &row, TRUE))
            return CLR_INVALID;
        return clientPixel(window->commandTree, row.right - 2, row.top + 1);
    }

    test::HighContrastSwitch highContrast;
    OleScope ole;
    test::TempDir dir;
    std::unique_ptr<LauncherHost> host;
    MainWindow* window = nullptr;
};

TEST_F(HighContrastTest, TheMainWindowPaintsTheSystemsColours) {
    auto& f = open(true);
    const Colours system = Colours::ofSystem();
    EXPECT_TRUE(f.palette().highContrast);
    EXPECT_EQ(clientPixel(f.hwnd(), 2, 2), system.window);
    EXPECT_EQ(insidePixel(f.searchBox), system.window);
    EXPECT_EQ(printedPixel(f.searchLabel, 1, 1), system.window);
    for (HWND button : {f.commandOrderButton, f.fileOrderButton, f.escapeButton}) {
        SCOPED_TRACE(test::windowText(button));
        EXPECT_EQ(printedPixel(button, 0, 0), system.windowText) << "frame";
        EXPECT_EQ(printedPixel(button, 3, 3), system.buttonFace) << "face";
    }
    // The ESC button: in button colours, its caption still bold.
    EXPECT_EQ(panelColour(f.escapePanel), system.buttonFace);
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(f.escapeButton, WM_GETFONT, 0, 0)), sizeof font,
               &font);
    EXPECT_EQ(font.lfWeight, FW_BOLD);

    // Forty rows: the tree shows the system's own scroll bar.
    SCROLLBARINFO own{};
    own.cbSize = sizeof own;
    ASSERT_TRUE(GetScrollBarInfo(f.commandTree, OBJID_VSCROLL, &own));
    EXPECT_FALSE(own.rgstate[0] & STATE_SYSTEM_INVISIBLE);
    EXPECT_EQ(dark::darkScrollBarOf(f.commandTree), nullptr);

    searchOneRow();
    EXPECT_EQ(treeBackground(), system.window);
    EXPECT_EQ(selectedRow(), system.highlight);
    SetFocus(f.commandTree);
    EXPECT_EQ(selectedRow(), system.highlight) << "with the focus too";

    // Nothing of the lime-green ESC anywhere.
    const auto pixels = test::printedPixels(f.hwnd());
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), dark::kLimeGreen), 0);
}

TEST_F(HighContrastTest, TheContextMenuDrawsItsItemsInTheSystemsColours) {
    auto& f = open(true);
    const Colours system = Colours::ofSystem();
    WindowDC screen(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 200, 30));
    SelectObjectScope select(memory.get(), bitmap.get());
    for (const bool hot : {false, true}) {
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_MENU;
        item.itemID = kReloadListItem;
        item.itemState = hot ? ODS_SELECTED : 0;
        item.hDC = memory.get();
        item.rcItem = {0, 0, 200, 30};
        item.itemData = reinterpret_cast<ULONG_PTR>(f.contextMenu);
        ASSERT_TRUE(dark::drawMenuItem(item, f.palette()));
        EXPECT_EQ(GetPixel(memory.get(), 2, 2), hot ? system.highlight : system.window);
    }
}

struct BoxCase {
    const char* name;
    enum Owner { MainWindowOwns, NoOwner } owner;
    bool highContrast;
    bool systemColours;
    friend void PrintTo(const BoxCase& c, std::ostream* os) { *os << c.name; }
};

class HighContrastBox : public HighContrastTest, public testing::WithParamInterface<BoxCase> {};

// A box takes its owner's colours; without an owner the system's setting
// decides (off under Wine).
TEST_P(HighContrastBox, PaintsItsOwnersColours) {
    const BoxCase& c = GetParam();
    auto& f = open(c.highContrast);
    COLORREF face = CLR_INVALID, button = CLR_INVALID, text = CLR_INVALID;
    test::BoxWatcher watcher(L"OK", [&](HWND box) {
        face = clientPixel(box, 2, 2);
        button = printedPixel(GetDlgItem(box, IDOK), 3, 3);
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            if (!(GetWindowLongPtrW(child, GWL_STYLE) & SS_ICON) &&
                test::windowText(child) == L"テキスト")
                text = printedPixel(child, 1, 1);
    });
    showMessageBox(c.owner == BoxCase::MainWindowOwns ? f.hwnd() : nullptr, u"テキスト",
                   MessageKind::Information);
    ASSERT_TRUE(watcher.result().found);
    const Colours expected = c.systemColours ? Colours::ofSystem() : Colours::ofDarkPalette();
    EXPECT_EQ(face, expected.window);
    EXPECT_EQ(text, expected.window);
    EXPECT_EQ(button, expected.buttonFace);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, HighContrastBox,
    testing::Values(BoxCase{"owner in high contrast", BoxCase::MainWindowOwns, true, true},
                    BoxCase{"owner dark", BoxCase::MainWindowOwns, false, false},
                    BoxCase{"no owner: the system's setting", BoxCase::NoOwner, true, false}),
    test::CaseName());

// A box already open when the user switches follows its owner both ways.
TEST_F(HighContrastTest, AnOpenBoxFollowsASwitch) {
    auto& f = open(false);
    struct Seen {
        COLORREF face, button;
    };
    std::vector<Seen> seen;
    test::BoxWatcher watcher(L"OK", [&](HWND box) {
        for (const bool on : {true, false}) {
            highContrast.set(on);
            SendMessageW(f.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            SendMessageW(box, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
            seen.push_back({clientPixel(box, 2, 2), printedPixel(GetDlgItem(box, IDOK), 3, 3)});
        }
    });
    showMessageBox(f.hwnd(), u"テキスト", MessageKind::Information);
    ASSERT_TRUE(watcher.result().found);
    ASSERT_EQ(seen.size(), 2u);
    const Colours system = Colours::ofSystem(), darkColours = Colours::ofDarkPalette();
    EXPECT_EQ(seen[0].face, system.window) << "on";
    EXPECT_EQ(seen[0].button, system.buttonFace) << "on";
    EXPECT_EQ(seen[1].face, darkColours.window) << "off again";
    EXPECT_EQ(seen[1].button, darkColours.buttonFace) << "off again";
}

// One step of a switch while the windows run: the message every top-level
// window gets from the system, and the answer the seam gives then.
struct SwitchStep {
    const char* name;
    UINT message;
    WPARAM wp;
    bool highContrast;
};

TEST_F(HighContrastTest, ASwitchWhileRunningRepaintsBothWindowsBothWays) {
    auto& f = open(false);
    // Shown, so that what waits to be repainted can be seen.
    ShowWindow(f.hwnd(), SW_SHOWNOACTIVATE);
    searchOneRow();
    test::pumpMessages();
    static constexpr SwitchStep kSteps[] = {
        {"on by the setting", WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, true},
        {"off by the system colours", WM_SYSCOLORCHANGE, 0, false},
        {"on by the theme", WM_THEMECHANGED, 0, true},
        {"off by the setting", WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, false},
    };
    HWND edit = dialogControl(kNameEditId);
    HWND list = dialogControl(kTargetListId);
    for (const auto& step : kSteps) {
        SCOPED_TRACE(step.name);
        highContrast.set(step.highContrast);
        for (HWND topLevel : {f.hwnd(), dialog()})
            SendMessageW(topLevel, step.message, step.wp, 0);
        EXPECT_TRUE(GetUpdateRect(f.hwnd(), nullptr, FALSE)) << "waits to be repainted";
        EXPECT_EQ(f.palette().highContrast, step.highContrast);
        EXPECT_EQ(host->targetDialog()->palette().highContrast, step.highContrast);
        const Colours expected = step.highContrast ? Colours::ofSystem() : Colours::ofDarkPalette();
        EXPECT_EQ(treeBackground(), expected.window);
        EXPECT_EQ(insidePixel(edit), expected.field);
        EXPECT_EQ(panelColour(f.escapePanel),
                  step.highContrast ? GetSysColor(COLOR_BTNFACE) : dark::kLimeGreen);
        // The dark scroll bars only with the dark palette.
        EXPECT_EQ(dark::darkScrollBarOf(f.commandTree) != nullptr, !step.highContrast);
        EXPECT_EQ(dark::darkScrollBarOf(list) != nullptr, !step.highContrast);
        if (step.highContrast) {
            EXPECT_EQ(selectedRow(), GetSysColor(COLOR_HIGHLIGHT));
        }
        test::pumpMessages();
    }
}

} // namespace
} // namespace morvane
