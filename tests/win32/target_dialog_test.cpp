// The Target CAD dialog under Wine, in process: the test thread opens it
// the way the main window's menu does and sits in its modal loop, while a
// watcher thread works it like a user and reads the controls back.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>
#include <imm.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>

#include "app/launcher_state.h"
#include "app/main_window.h"
#include "cad_targets/target_line.h"
#include "cad_targets/win32/target_dialog.h"
#include "gui_support.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/dark_extras.h"
#include "ui/dark_scroll_bar.h"
#include "ui/topmost.h"

namespace morvane {
namespace {

using namespace std::chrono_literals;
using Lines = std::vector<std::u16string>;

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(5ms);
    }
    return true;
}

std::u16string textOf(HWND hwnd) {
    wchar_t buffer[512] = {};
    SendMessageW(hwnd, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer));
    return fromWide(buffer);
}

// Works the open dialog from another thread, as a user would: posted mouse
// clicks and keys go through the dialog's own message loop.
class DialogUser {
  public:
    DialogUser(HWND dialog, DWORD uiThread) : dialog_(dialog), uiThread_(uiThread) {}

    HWND control(int id) const { return GetDlgItem(dialog_, id); }
    bool waitOpen() const {
        return waitFor([&] { return IsWindowVisible(dialog_) != FALSE; });
    }
    bool isOpen() const { return IsWindowVisible(dialog_) != FALSE; }

    Lines lines() const {
        Lines result;
        HWND list = control(kTargetListId);
        const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            wchar_t buffer[512] = {};
            SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(i),
                         reinterpret_cast<LPARAM>(buffer));
            result.push_back(fromWide(buffer));
        }
        return result;
    }
    int selection() const {
        return static_cast<int>(SendMessageW(control(kTargetListId), LB_GETCURSEL, 0, 0));
    }
    std::u16string nameText() const { return textOf(control(kNameEditId)); }
    std::u16string progIdText() const { return textOf(control(kProgIdEditId)); }
    HWND focus() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(uiThread_, &info);
        return info.hwndFocus;
    }

    void clickAt(HWND hwnd, int x, int y) const {
        PostMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        PostMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }
    void click(int id) const { clickAt(control(id), 4, 4); }
    void clickLine(int index) const {
        RECT item{};
        SendMessageW(control(kTargetListId), LB_GETITEMRECT, static_cast<WPARAM>(index),
                     reinterpret_cast<LPARAM>(&item));
        clickAt(control(kTargetListId), item.left + 5, (item.top + item.bottom) / 2);
    }
    void type(int id, std::u16string_view text) const {
        click(id); // the focus moves into the edit like a user's click
        SendMessageW(control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(toWide(text).c_str()));
    }
    void key(int id, WORD vk) const {
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(control(id), WM_KEYDOWN, vk, scan | 1);
        PostMessageW(control(id), WM_KEYUP, vk, scan | 0xC0000001);
    }
    // A key on whichever control has the focus, as the keyboard sends it.
    void keyOnFocus(WORD vk) const {
        HWND target = focus();
        const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
        PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
        PostMessageW(target, WM_KEYUP, vk, scan | 0xC0000001);
    }
    int focusId() const { return GetDlgCtrlID(focus()); }
    // Characters typed into whichever control has the focus.
    void typeOnFocus(std::u16string_view text) const {
        HWND target = focus();
        for (char16_t c : text)
            PostMessageW(target, WM_CHAR, c, 1);
        // One read per look: the edit changes between reads while the
        // characters are still arriving.
        waitFor([&] { return textOf(target).ends_with(text); });
    }
    // Tab, and the control it moved the focus to (0 when it stayed).
    int tab() const {
        const HWND before = focus();
        keyOnFocus(VK_TAB);
        return waitFor([&] { return focus() != before; }, 2s) ? focusId() : 0;
    }
    void closeBox() const { PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0); }

    // The error box the dialog opened, or nullptr.
    HWND errorBox() const {
        struct Search {
            HWND owner, found;
        } search{dialog_, nullptr};
        EnumThreadWindows(
            uiThread_,
            [](HWND hwnd, LPARAM lp) -> BOOL {
                auto* s = reinterpret_cast<Search*>(lp);
                if (IsWindowVisible(hwnd) && GetWindow(hwnd, GW_OWNER) == s->owner)
                    s->found = hwnd;
                return s->found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Waits for the error box, returns its caption and text, and presses OK.
    std::u16string dismissErrorBox() const {
        HWND box = nullptr;
        if (!waitFor([&] { return (box = errorBox()) != nullptr; }))
            return u"<no error box>";
        std::u16string text = textOf(box) + u"|";
        EnumChildWindows(
            box,
            [](HWND child, LPARAM lp) -> BOOL {
                wchar_t cls[16] = {};
                GetClassNameW(child, cls, 16);
                if (lstrcmpiW(cls, L"STATIC") == 0 && GetWindowTextLengthW(child) > 0)
                    *reinterpret_cast<std::u16string*>(lp) += textOf(child);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&text));
        PostMessageW(GetDlgItem(box, IDOK), BM_CLICK, 0, 0);
        waitFor([&] { return !IsWindow(box) || !IsWindowVisible(box); });
        return text;
    }

  private:
    HWND dialog_;
    DWORD uiThread_;
};

// The window as it is on the screen, title bar included, as a 24-bit BMP.
bool saveWindowShot(HWND hwnd, const std::filesystem::path& file) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    WindowDC screen(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    {
        SelectObjectScope select(memory.get(), bitmap.get());
        BitBlt(memory.get(), 0, 0, width, height, screen.get(), rect.left, rect.top, SRCCOPY);
    }
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD size = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER header{0x4D42, 0, 0, 0, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)};
    header.bfSize = header.bfOffBits + size;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof info.bmiHeader);
    out.write(static_cast<const char*>(bits), size);
    return out.good();
}

COLORREF pixelAt(HWND hwnd, int x, int y) {
    WindowDC dc(hwnd);
    return GetPixel(dc.get(), x, y);
}

// What the open dialog shows on the screen once it has painted itself anew:
// its face, the group box's frame (left edge, level with the name edit)
// and just inside it, the list's empty part and its second line, the name
// edit's field, and 追加.
struct DialogPixels {
    COLORREF face, groupFrame, groupInside, listField, selectedLine, nameField, buttonFace,
        buttonFrame;
};
DialogPixels readDialogPixels(const DialogUser& user) {
    HWND dialog = GetParent(user.control(kTargetListId));
    RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    std::this_thread::sleep_for(500ms); // the dialog's thread paints meanwhile
    RECT edit{};
    GetWindowRect(user.control(kNameEditId), &edit);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&edit), 2);
    const int groupLeft = MulDiv(8, static_cast<int>(GetDpiForWindow(dialog)), 96);
    HWND list = user.control(kTargetListId);
    RECT line{};
    SendMessageW(list, LB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&line));
    RECT field{};
    GetClientRect(user.control(kNameEditId), &field);
    HWND add = user.control(kAddButtonId);
    return {pixelAt(dialog, 3, 3),
            pixelAt(dialog, groupLeft, edit.bottom),
            pixelAt(dialog, groupLeft + 4, edit.bottom),
            pixelAt(list, 20, 100),
            pixelAt(list, line.right - 4, line.top + 2),
            pixelAt(user.control(kNameEditId), field.right - 4, field.bottom / 2),
            pixelAt(add, 3, 3),
            pixelAt(add, 0, 0)};
}

// The build folder: the test program lies in its tests folder.
std::filesystem::path buildFolder() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::filesystem::path(path).parent_path().parent_path();
}

struct TopmostState {
    bool main, dialog;
    bool operator==(const TopmostState&) const = default;
    friend void PrintTo(const TopmostState& s, std::ostream* os) {
        *os << "main " << s.main << ", dialog " << s.dialog;
    }
};

// The main window and its one dialog, kept over several openings like the
// program keeps them, in a folder of the test's own.
class TargetDialogTest : public testing::Test {
  protected:
    TargetDialogTest() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        EXPECT_NE(host.createMainWindow(), nullptr);
        // Shown: Wine keeps no topmost state for a hidden window.
        ShowWindow(main.hwnd(), SW_SHOWNOACTIVATE);
        host.makeTargetDialog();
    }
    ~TargetDialogTest() override {
        // The dialog goes with its owner.
        DestroyWindow(main.hwnd());
        test::pumpMessages();
    }

    std::u16string listPath() const { return dir.file(kTargetListFileName); }
    std::string fileBytes() const {
        return dir.exists(kTargetListFileName) ? dir.read(kTargetListFileName) : "<none>";
    }
    TopmostState topmost() const { return {isTopmost(main.hwnd()), isTopmost(dialog())}; }
    HWND dialog() const { return host.targetDialog()->hwnd(); }
    // After closing: the main window is on top again and the dialog hidden.
    // (The hidden dialog's own flag follows its owner's, as owned windows'
    // do, before the first opening as after every one.)
    void expectRestored() const {
        EXPECT_TRUE(isTopmost(main.hwnd()));
        EXPECT_FALSE(IsWindowVisible(dialog()));
        EXPECT_TRUE(IsWindowEnabled(main.hwnd()));
    }

    // Opens the dialog from the menu item; script works it and must close it.
    void open(const std::function<void(DialogUser&)>& script) {
        DialogUser user(dialog(), GetCurrentThreadId());
        std::thread watcher([&] {
            if (user.waitOpen())
                script(user);
            // Never leave the test thread in the modal loop. (Under Wine
            // without a window manager, hiding a window takes 2 s.)
            if (!waitFor([&] { return !user.isOpen(); }, 8s)) {
                ADD_FAILURE() << "the script left the dialog open";
                user.closeBox();
            }
        });
        SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(kTargetCadItem, 0), 0);
        watcher.join();
    }
    std::u16string caption() const { return textOf(main.hwnd()); }

    test::TempDir dir;
    test::HighContrastSwitch highContrast;
    LauncherHost host{test::environmentIn(dir, test::kListsNotFollowed),
                      test::thisSystem(dark::Extras::ofThisSystem(), highContrast)};
    MainWindow& main = host.mainWindow();
};

// Shift_JIS "名前"
const std::string kNameSjis = "\x96\xBC\x91\x4F";

TEST_F(TargetDialogTest, AddWithoutFileWritesAnsiAndOkTakesTheEdits) {
    EXPECT_TRUE(isTopmost(main.hwnd()));
    EXPECT_FALSE(IsWindowVisible(dialog()));
    TopmostState during{};
    HWND focusAfterAdd = nullptr;
    open([&](DialogUser& user) {
        during = topmost();
        EXPECT_TRUE(user.lines().empty());
        EXPECT_EQ(user.selection(), -1);
        user.type(kNameEditId, u"名前");
        user.type(kProgIdEditId, u"Cad.App.1");
        user.click(kAddButtonId);
        EXPECT_TRUE(waitFor([&] { return user.lines().size() == 1; }));
        focusAfterAdd = user.focus();
        EXPECT_EQ(user.lines(), Lines{u"名前\tCad.App.1"});
        EXPECT_EQ(user.selection(), 0);
        EXPECT_EQ(user.nameText(), u"名前");
        user.click(kOkButtonId);
    });
    EXPECT_EQ(during, (TopmostState{false, true}));
    expectRestored();
    EXPECT_EQ(focusAfterAdd, GetDlgItem(dialog(), kProgIdEditId)) << "追加 took the focus";
    EXPECT_EQ(fileBytes(), kNameSjis + "\tCad.App.1\r\n");
    EXPECT_EQ(caption(), u"MorvaneX [名前]");
    EXPECT_EQ(host.state().targetProgID, u"Cad.App.1");
}

TEST_F(TargetDialogTest, EnterChangesInPlaceAndCancelKeepsTheTarget) {
    dir.write(kTargetListFileName, "\xEF\xBB\xBF"
                                   "B\tp2\r\na\tp1\r\n");
    host.state().targetProgID = u"p1";
    open([&](DialogUser& user) {
        EXPECT_EQ(user.lines(), (Lines{u"a\tp1", u"B\tp2"}));
        EXPECT_EQ(user.selection(), 0);
        EXPECT_EQ(user.nameText(), u"a");
        EXPECT_EQ(user.progIdText(), u"p1");
        user.type(kNameEditId, u"z");
        user.click(kProgIdEditId);
        user.key(kProgIdEditId, VK_RETURN);
        EXPECT_TRUE(waitFor([&] {
            const Lines now = user.lines();
            return !now.empty() && now[0] == u"z\tp1";
        }));
        EXPECT_EQ(user.lines(), (Lines{u"z\tp1", u"B\tp2"})) << "no re-sorting";
        EXPECT_EQ(user.progIdText(), u"p1") << "Enter must not reach the edit";
        user.key(kProgIdEditId, VK_ESCAPE);
        user.key(kNameEditId, VK_RETURN);
        EXPECT_TRUE(waitFor([&] {
            return fileBytes() == "\xEF\xBB\xBF"
                                  "z\tp1\r\nB\tp2\r\n";
        }));
        EXPECT_TRUE(user.isOpen()) << "Enter and Escape close nothing";
        user.click(kCancelButtonId);
    });
    EXPECT_EQ(fileBytes(), "\xEF\xBB\xBF"
                           "z\tp1\r\nB\tp2\r\n");
    EXPECT_EQ(caption(), u"Morvane");
    EXPECT_EQ(host.state().targetProgID, u"p1");
    expectRestored();
}

TEST_F(TargetDialogTest, DeleteSelectsANeighbourAndIndexErrorsKeepTheDialog) {
    const std::string file = "D\tpD\nC\tpC\nB\tpB\nA\tpA\n";
    dir.write(kTargetListFileName, file);
    host.state().targetProgID = u"none";
    const std::u16string indexError = u"MorvaneX|リストのインデックスが範囲を超えています (-1)";
    open([&](DialogUser& user) {
        EXPECT_EQ(user.lines(), (Lines{u"A\tpA", u"B\tpB", u"C\tpC", u"D\tpD"}));
        EXPECT_EQ(user.selection(), -1);
        user.type(kNameEditId, u"typed");
        user.click(kDeleteButtonId);
        EXPECT_EQ(user.dismissErrorBox(), indexError);
        EXPECT_EQ(user.nameText(), u"") << "the edits are emptied before the error";
        EXPECT_EQ(user.lines().size(), 4u);
        EXPECT_EQ(fileBytes(), file) << "not saved";

        user.type(kNameEditId, u"x");
        user.key(kNameEditId, VK_RETURN);
        EXPECT_EQ(user.dismissErrorBox(), indexError);
        EXPECT_EQ(user.nameText(), u"x");
        EXPECT_EQ(fileBytes(), file);

        user.clickLine(1);
        EXPECT_TRUE(waitFor([&] { return user.nameText() == u"B"; }));
        user.click(kDeleteButtonId);
        EXPECT_TRUE(waitFor([&] { return user.lines().size() == 3; }));
        EXPECT_EQ(user.selection(), 1);
        EXPECT_EQ(user.nameText(), u"C");
        EXPECT_EQ(fileBytes(), "A\tpA\r\nC\tpC\r\nD\tpD\r\n");

        user.type(kNameEditId, u"");
        user.type(kProgIdEditId, u"");
        user.click(kOkButtonId);
    });
    EXPECT_EQ(caption(), u"MorvaneX []");
    EXPECT_EQ(host.state().targetProgID, u"");
}

TEST_F(TargetDialogTest, ListAndEditsLiveBetweenOpeningsAndTheCloseBoxCancels) {
    open([&](DialogUser& user) {
        user.type(kNameEditId, u"n");
        user.type(kProgIdEditId, u"p");
        user.click(kAddButtonId);
        EXPECT_TRUE(waitFor([&] { return user.lines().size() == 1; }));
        user.closeBox();
    });
    EXPECT_EQ(fileBytes(), "n\tp\r\n");
    std::filesystem::remove(dir.path() / "TargetCAD_APIVersion.txt");
    open([&](DialogUser& user) {
        EXPECT_EQ(user.lines(), Lines{u"n\tp"}) << "a missing file keeps the list";
        EXPECT_EQ(user.nameText(), u"n");
        user.click(kCancelButtonId);
    });
    expectRestored();
}

// Keys alone: Tab goes round every control in the order of the layout,
// Space and Enter press the focused button, Delete in the list is 削除.
TEST_F(TargetDialogTest, TheKeyboardAloneAddsChangesDeletesAndCancels) {
    dir.write(kTargetListFileName, "A\tpA\r\n");
    host.state().targetProgID = u"pA";
    std::vector<int> round;
    Lines added, changed, deletedByKey, deletedByButton;
    HWND focusAfterSpace = nullptr;
    open([&](DialogUser& user) {
        waitFor([&] { return user.focusId() == kTargetListId; }, 2s);
        for (int i = 0; i < 8; ++i)
            round.push_back(user.tab());
        // Tab into an edit selects its text: typing replaces it.
        user.tab();
        user.typeOnFocus(u"B");
        user.tab();
        user.typeOnFocus(u"pB");
        user.tab(); // 追加
        user.keyOnFocus(VK_SPACE);
        waitFor([&] { return user.lines().size() == 2; });
        added = user.lines();
        focusAfterSpace = user.focus();
        for (int i = 0; i < 6; ++i) // 削除, 変更, OK, 取り消し, the list, 名称
            user.tab();
        user.typeOnFocus(u"C");
        for (int i = 0; i < 4; ++i) // ProgID, 追加, 削除, 変更
            user.tab();
        user.keyOnFocus(VK_RETURN);
        waitFor([&] { return user.lines() != added; });
        changed = user.lines();
        for (int i = 0; i < 3; ++i) // OK, 取り消し, the list
            user.tab();
        user.keyOnFocus(VK_DELETE);
        waitFor([&] { return user.lines() != changed; });
        deletedByKey = user.lines();
        for (int i = 0; i < 4; ++i) // 名称, ProgID, 追加, 削除
            user.tab();
        user.keyOnFocus(VK_SPACE);
        waitFor([&] { return user.lines() != deletedByKey; });
        deletedByButton = user.lines();
        for (int i = 0; i < 3; ++i) // 変更, OK, 取り消し
            user.tab();
        user.keyOnFocus(VK_SPACE);
    });
    EXPECT_EQ(round,
              (std::vector<int>{kNameEditId, kProgIdEditId, kAddButtonId, kDeleteButtonId,
                                kChangeButtonId, kOkButtonId, kCancelButtonId, kTargetListId}));
    EXPECT_EQ(added, (Lines{u"A\tpA", u"B\tpB"}));
    EXPECT_EQ(focusAfterSpace, GetDlgItem(dialog(), kAddButtonId)) << "Space keeps the focus";
    EXPECT_EQ(changed, (Lines{u"A\tpA", u"C\tpB"}));
    EXPECT_EQ(deletedByKey, (Lines{u"A\tpA"}));
    EXPECT_EQ(deletedByButton, Lines{});
    EXPECT_EQ(fileBytes(), "");
    EXPECT_EQ(caption(), u"Morvane") << "取り消し: no new target";
    EXPECT_EQ(host.state().targetProgID, u"pA");
    expectRestored();
}

TEST_F(TargetDialogTest, EditsSwitchTheInputMethodOffOnFocus) {
    HWND progIdEdit = GetDlgItem(dialog(), kProgIdEditId);
    HIMC context = ImmGetContext(progIdEdit);
    ASSERT_NE(context, nullptr);
    ImmSetOpenStatus(context, TRUE);
    ASSERT_TRUE(ImmGetOpenStatus(context));
    bool openWithListFocused = false, switchedOff = false;
    open([&](DialogUser& user) {
        openWithListFocused = ImmGetOpenStatus(context) != FALSE;
        user.click(kProgIdEditId);
        switchedOff = waitFor([&] { return !ImmGetOpenStatus(context); });
        user.click(kCancelButtonId);
    });
    EXPECT_TRUE(openWithListFocused) << "only an edit's focus switches it off";
    EXPECT_TRUE(switchedOff);
    ImmReleaseContext(progIdEdit, context);
}

TEST_F(TargetDialogTest, UnwritableFileShowsTheErrorAndKeepsTheChangeInTheList) {
    std::filesystem::create_directory(dir.path() / "TargetCAD_APIVersion.txt");
    open([&](DialogUser& user) {
        user.type(kNameEditId, u"n");
        user.type(kProgIdEditId, u"p");
        user.click(kAddButtonId);
        const std::u16string box = user.dismissErrorBox();
        const std::u16string expected =
            u"MorvaneX|ファイル \"" + listPath() + u"\" を作成できません。";
        EXPECT_EQ(box.substr(0, expected.size()), expected);
        EXPECT_EQ(user.lines(), Lines{u"n\tp"});
        EXPECT_EQ(user.selection(), 0);
        user.click(kCancelButtonId);
    });
}

// A list file that exists but cannot be opened: its error box comes before
// the dialog shows, and the main window takes no input while it is up.
TEST_F(TargetDialogTest, AnUnreadableListShowsItsErrorWithTheMainWindowDisabled) {
    dir.write(kTargetListFileName, "A\tpA\r\n");
    UniqueFile lock(CreateFileW(toWide(listPath()).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(lock);
    bool mainEnabledDuringBox = true;
    test::BoxWatcher watcher(
        L"OK", [&](HWND) { mainEnabledDuringBox = IsWindowEnabled(main.hwnd()) != FALSE; });
    open([&](DialogUser& user) {
        EXPECT_TRUE(user.lines().empty());
        user.click(kCancelButtonId);
    });
    const auto& box = watcher.result();
    ASSERT_TRUE(box.found);
    EXPECT_EQ(box.caption, L"MorvaneX");
    EXPECT_FALSE(mainEnabledDuringBox);
    expectRestored();
}

TEST_F(TargetDialogTest, DrawsDark) {
    dir.write(kTargetListFileName, "\xEF\xBB\xBF"
                                   "BricsCAD V25\tBricscadApp.AcadApplication.25\r\n"
                                   "AutoCAD 2025\tAutoCAD.Application.25\r\n"
                                   "\xE5\x90\x8D\xE5\x89\x8D\tCad.App\r\n");
    DialogPixels shown{};
    bool saved = false;
    open([&](DialogUser& user) {
        shown = readDialogPixels(user);
        saved = saveWindowShot(GetParent(user.control(kTargetListId)),
                               buildFolder() / "screenshots" / "target_dialog.bmp");
        user.click(kCancelButtonId);
    });
    EXPECT_TRUE(saved);
    EXPECT_EQ(shown.face, RGB(0x20, 0x20, 0x20));
    EXPECT_EQ(shown.groupFrame, RGB(0x64, 0x64, 0x64));
    EXPECT_EQ(shown.groupInside, RGB(0x20, 0x20, 0x20));
    EXPECT_EQ(shown.listField, RGB(0x38, 0x38, 0x38));
    EXPECT_NE(shown.selectedLine, shown.listField) << "the preselected line shows its selection";
}

// High contrast turned on while the dialog was hidden: it opens in the
// system's colours, with the list's own scroll bar.
TEST_F(TargetDialogTest, HighContrastDrawsInTheSystemsColours) {
    dir.write(kTargetListFileName, test::longTargetList());
    host.state().targetProgID = u"Cad.App.1";
    highContrast.set(true);
    DialogPixels shown{};
    bool darkBar = true;
    open([&](DialogUser& user) {
        shown = readDialogPixels(user);
        darkBar = dark::darkScrollBarOf(user.control(kTargetListId)) != nullptr;
        user.click(kCancelButtonId);
    });
    EXPECT_EQ(shown.face, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(shown.groupFrame, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(shown.groupInside, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(shown.nameField, GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(shown.selectedLine, GetSysColor(COLOR_HIGHLIGHT)) << "the preselected line";
    EXPECT_EQ(shown.buttonFace, GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(shown.buttonFrame, GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_FALSE(darkBar);
}

TEST_F(TargetDialogTest, ALongListScrollsWithADarkBar) {
    std::string lines;
    for (int i = 0; i < 30; ++i)
        lines +=
            "CAD " + std::to_string(100 + i) + "\tCad.Application." + std::to_string(i) + "\r\n";
    dir.write(kTargetListFileName, lines.c_str());
    bool shown = false, standsOnTheListsBar = false;
    COLORREF track = 0;
    open([&](DialogUser& user) {
        HWND list = user.control(kTargetListId);
        HWND bar = dark::darkScrollBarOf(list);
        shown = bar && IsWindowVisible(bar);
        SCROLLBARINFO own{};
        own.cbSize = sizeof own;
        GetScrollBarInfo(list, OBJID_VSCROLL, &own);
        RECT place{};
        if (bar)
            GetWindowRect(bar, &place);
        standsOnTheListsBar = EqualRect(&place, &own.rcScrollBar) != FALSE;
        RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        std::this_thread::sleep_for(300ms); // the dialog's thread paints meanwhile
        RECT client{};
        GetClientRect(bar, &client);
        track = pixelAt(bar, client.right / 2, client.bottom - client.right - 2);
        user.click(kCancelButtonId);
    });
    EXPECT_TRUE(shown);
    EXPECT_TRUE(standsOnTheListsBar);
    EXPECT_LT(GetRValue(track), 0x40) << "a dark track";
}

// The system's colours set to those of Windows' "High Contrast Black" for
// the scope, and put back after.
class HighContrastBlack {
  public:
    HighContrastBlack() {
        for (size_t i = 0; i < std::size(kElements); ++i)
            saved_[i] = GetSysColor(kElements[i]);
        SetSysColors(static_cast<int>(std::size(kElements)), kElements, kColours);
    }
    ~HighContrastBlack() {
        SetSysColors(static_cast<int>(std::size(kElements)), kElements, saved_);
    }
    HighContrastBlack(const HighContrastBlack&) = delete;
    HighContrastBlack& operator=(const HighContrastBlack&) = delete;

  private:
    static constexpr int kElements[] = {COLOR_WINDOW,       COLOR_WINDOWTEXT,
                                        COLOR_HIGHLIGHT,    COLOR_HIGHLIGHTTEXT,
                                        COLOR_BTNFACE,      COLOR_BTNTEXT,
                                        COLOR_GRAYTEXT,     COLOR_ACTIVECAPTION,
                                        COLOR_CAPTIONTEXT,  COLOR_GRADIENTACTIVECAPTION,
                                        COLOR_ACTIVEBORDER, COLOR_WINDOWFRAME,
                                        COLOR_3DHILIGHT,    COLOR_3DSHADOW,
                                        COLOR_3DDKSHADOW,   COLOR_3DLIGHT,
                                        COLOR_SCROLLBAR};
    static constexpr COLORREF kColours[] = {
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(26, 235, 255),  RGB(0, 0, 0),
        RGB(0, 0, 0),       RGB(255, 255, 255), RGB(63, 242, 63),   RGB(0, 0, 0),
        RGB(255, 255, 255), RGB(0, 0, 0),       RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255), RGB(255, 255, 255),
        RGB(0, 0, 0)};
    COLORREF saved_[std::size(kElements)]{};
};

// Screenshots of both windows in high contrast for the documentation, made
// only when MORVANE_SCREENSHOT_DIR names the folder for them
// (scripts/screenshots.sh): high-contrast-main.bmp, high-contrast-dialog.bmp.
class HighContrastScreenshots : public TargetDialogTest {};

TEST_F(HighContrastScreenshots, OfBothWindows) {
    const char* folderName = std::getenv("MORVANE_SCREENSHOT_DIR");
    if (!folderName || !*folderName)
        GTEST_SKIP() << "MORVANE_SCREENSHOT_DIR names no folder";
    const std::filesystem::path folder(folderName);
    // The list and the place of the documentation's other shots.
    dir.write(u"MorvaneList.txt", "\xEF\xBB\xBF"
                                  "作図\r\nLINE\t線分を作図\r\nCIRCLE\t円を作図\r\n"
                                  "RECTANG\t長方形を作図\r\n修正\r\nMOVE\t図形を移動\r\n"
                                  "COPY\t図形を複写\r\n");
    dir.write(kTargetListFileName, "\xEF\xBB\xBF"
                                   "テスト CAD\tBricscadApp.AcadApplication\r\n"
                                   "AutoCAD 2025\tAutoCAD.Application.25\r\n");
    SendMessageW(main.hwnd(), WM_COMMAND, MAKEWPARAM(kReloadListItem, 0), 0);
    main.lookUpCaption();
    SetWindowPos(main.hwnd(), nullptr, 40, 40, 360, 440, SWP_NOZORDER | SWP_NOACTIVATE);

    const HighContrastBlack colours;
    highContrast.set(true);
    for (HWND window : {main.hwnd(), dialog()})
        SendMessageW(window, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    SetFocus(main.commandTree);
    UpdateWindow(main.hwnd());
    test::pumpMessages();
    EXPECT_TRUE(saveWindowShot(main.hwnd(), folder / "high-contrast-main.bmp"));

    bool saved = false;
    open([&](DialogUser& user) {
        HWND dialog = GetParent(user.control(kTargetListId));
        RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        std::this_thread::sleep_for(500ms); // the dialog's thread paints meanwhile
        saved = saveWindowShot(dialog, folder / "high-contrast-dialog.bmp");
        user.click(kCancelButtonId);
    });
    EXPECT_TRUE(saved);
}

} // namespace
} // namespace morvane
