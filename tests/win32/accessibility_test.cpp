// What a screen reader hears: every control of both windows and of a
// message box asked for its accessible object (AccessibleObjectFromWindow,
// as Active Accessibility clients and UI Automation's bridge ask), its name
// and role; and the labels placed right before the edits they name.
#include <windows.h>

#include <commctrl.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/launcher_host.h"
#include "app/main_window.h"
#include "cad_targets/target_line.h"
#include "cad_targets/win32/target_dialog.h"
#include "gui_support.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "support/temp_dir.h"
#include "support/test_host.h"
#include "ui/dark_scroll_bar.h"
#include "ui/message_box.h"

namespace morvane {
namespace {

struct Heard {
    std::wstring name;
    LONG role = 0;
    bool operator==(const Heard&) const = default;
    friend void PrintTo(const Heard& heard, std::ostream* os) {
        *os << "name \"" << utf16ToUtf8(fromWide(heard.name)) << "\" role " << heard.role;
    }
    static std::string utf16ToUtf8(std::u16string_view text) {
        std::string out;
        for (char16_t c : text) {
            if (c < 0x80) {
                out += static_cast<char>(c);
            } else if (c < 0x800) {
                out += static_cast<char>(0xC0 | (c >> 6));
                out += static_cast<char>(0x80 | (c & 0x3F));
            } else {
                out += static_cast<char>(0xE0 | (c >> 12));
                out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
                out += static_cast<char>(0x80 | (c & 0x3F));
            }
        }
        return out;
    }
};

// The control's client object, as an assistive technology gets it.
Heard heardOf(HWND control) {
    ComPtr<IAccessible> object;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                          reinterpret_cast<void**>(object.put()))) ||
        !object)
        return {L"<no object>", 0};
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    Heard heard;
    UniqueBstr name;
    if (object->get_accName(self, name.put()) == S_OK && name.get())
        heard.name = name.get();
    UniqueVariant role;
    if (SUCCEEDED(object->get_accRole(self, role.get())) && role.get()->vt == VT_I4)
        heard.role = role.get()->lVal;
    return heard;
}

class AccessibilityTest : public testing::Test {
  protected:
    AccessibilityTest() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
        dir.write(u"MorvaneList.txt", test::longCommandList());
        host = test::hostIn(dir, test::thisSystem());
        window = &host->mainWindow();
        // Left hidden: without a window manager Wine waits for shown windows.
        EXPECT_NE(host->createMainWindow(), nullptr);
        host->makeTargetDialog();
    }
    ~AccessibilityTest() override {
        host.reset();
        test::pumpMessages();
    }
    HWND dialog() const { return host->targetDialog()->hwnd(); }
    HWND dialogControl(int id) const { return GetDlgItem(dialog(), id); }

    OleScope ole;
    test::TempDir dir;
    std::unique_ptr<LauncherHost> host;
    MainWindow* window = nullptr;
};

struct ControlCase {
    const char* what;
    HWND control;
    Heard heard;
};

TEST_F(AccessibilityTest, EveryControlHasItsNameAndRole) {
    auto& f = *window;
    // The dialog's list, long enough for its dark bar.
    for (int i = 0; i < 30; ++i)
        SendMessageW(dialogControl(kTargetListId), LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(L"CAD\tCad.App"));
    SendMessageW(dialogControl(kTargetListId), WM_SETREDRAW, TRUE, 0);
    const ControlCase cases[] = {
        {"tree", f.commandTree, {L"コマンド一覧", ROLE_SYSTEM_OUTLINE}},
        {"ABC順", f.commandOrderButton, {L"ABC順", ROLE_SYSTEM_PUSHBUTTON}},
        {"取得順", f.fileOrderButton, {L"取得順", ROLE_SYSTEM_PUSHBUTTON}},
        {"search label", f.searchLabel, {L"検索", ROLE_SYSTEM_STATICTEXT}},
        {"search box", f.searchBox, {L"検索", ROLE_SYSTEM_TEXT}},
        {"ESC panel", f.escapePanel, {L"ESC", ROLE_SYSTEM_GROUPING}},
        {"ESC", f.escapeButton, {L"ESC", ROLE_SYSTEM_PUSHBUTTON}},
        {"tree's dark bar",
         dark::darkScrollBarOf(f.commandTree),
         {L"垂直スクロール バー", ROLE_SYSTEM_SCROLLBAR}},
        {"target list", dialogControl(kTargetListId), {L"ターゲット CAD 一覧", ROLE_SYSTEM_LIST}},
        {"list's dark bar",
         dark::darkScrollBarOf(dialogControl(kTargetListId)),
         {L"垂直スクロール バー", ROLE_SYSTEM_SCROLLBAR}},
        {"group box", dialogControl(kEditsGroupId), {L"ターゲットの編集", ROLE_SYSTEM_GROUPING}},
        {"name label", dialogControl(kNameLabelId), {L"名称 （説明）", ROLE_SYSTEM_STATICTEXT}},
        {"name edit", dialogControl(kNameEditId), {L"名称", ROLE_SYSTEM_TEXT}},
        {"ProgID label",
         dialogControl(kProgIdLabelId),
         {L"ProgID （クラス文字列）", ROLE_SYSTEM_STATICTEXT}},
        {"ProgID edit", dialogControl(kProgIdEditId), {L"ProgID", ROLE_SYSTEM_TEXT}},
        {"追加", dialogControl(kAddButtonId), {L"追加", ROLE_SYSTEM_PUSHBUTTON}},
        {"削除", dialogControl(kDeleteButtonId), {L"削除", ROLE_SYSTEM_PUSHBUTTON}},
        {"変更", dialogControl(kChangeButtonId), {L"変更", ROLE_SYSTEM_PUSHBUTTON}},
        {"OK", dialogControl(kOkButtonId), {L"OK", ROLE_SYSTEM_PUSHBUTTON}},
        {"取り消し", dialogControl(kCancelButtonId), {L"取り消し", ROLE_SYSTEM_PUSHBUTTON}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_NE(c.control, nullptr);
        EXPECT_EQ(heardOf(c.control), c.heard);
    }
    // Nothing else: no child of either window goes without a name.
    for (HWND top : {f.hwnd(), dialog()}) {
        for (HWND child = GetWindow(top, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            bool listed = false;
            for (const auto& c : cases)
                listed = listed || c.control == child;
            EXPECT_TRUE(listed) << "a control the table misses: " << test::windowText(child).size();
        }
    }
}

TEST_F(AccessibilityTest, AMessageBoxNamesItsIconTextAndButtons) {
    std::vector<Heard> heard;
    test::BoxWatcher watcher(L"OK", [&](HWND box) {
        OleScope watcherApartment; // the objects come to this thread as to another program
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
            heard.push_back(heardOf(child));
    });
    showMessageBox(window->hwnd(), u"ファイルが見つかりません．", MessageKind::Warning,
                   MessageButtons::OkCancel);
    EXPECT_EQ(heard, (std::vector<Heard>{{L"警告", ROLE_SYSTEM_GRAPHIC},
                                         {L"ファイルが見つかりません．", ROLE_SYSTEM_STATICTEXT},
                                         {L"OK", ROLE_SYSTEM_PUSHBUTTON},
                                         {L"キャンセル", ROLE_SYSTEM_PUSHBUTTON}}));
}

// Screen readers take an edit's name from the label created right before
// it; a group box comes before what it holds.
TEST_F(AccessibilityTest, EachLabelComesRightBeforeWhatItNames) {
    struct Pair {
        const char* what;
        HWND before, control;
    };
    const Pair pairs[] = {
        {"検索", window->searchLabel, window->searchBox},
        {"名称", dialogControl(kNameLabelId), dialogControl(kNameEditId)},
        {"ProgID", dialogControl(kProgIdLabelId), dialogControl(kProgIdEditId)},
        {"group box", dialogControl(kEditsGroupId), dialogControl(kNameLabelId)},
    };
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.what);
        ASSERT_NE(pair.before, nullptr);
        EXPECT_EQ(GetWindow(pair.control, GW_HWNDPREV), pair.before);
    }
}

} // namespace
} // namespace morvane
