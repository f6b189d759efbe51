// Lists that arrive live on the real window: the command list rewritten
// while the launcher runs shows by itself in the view on show, with its
// search text, selection, scroll position and folded groups kept; a file
// that cannot be read yet changes nothing and says nothing; the target list
// moves the caption; the window's own saves are not followed.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "cad_targets/target_line.h"
#include "cad_targets/win32/target_dialog.h"
#include "gui_support.h"
#include "list/list_file.h"
#include "list/tree_model.h"
#include "main_window_fixture.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "shell/launcher_settings.h"
#include "support/case_name.h"

namespace morvane {
namespace {

using namespace std::chrono_literals;
using test::pumpMessagesFor;
using test::pumpMessagesUntil;
using test::windowText;
using Lines = std::vector<std::wstring>;

// Longer than a change takes to settle and be read with the tests' timings
// (support/test_host.h), a few times over.
constexpr auto kLongerThanAReload = 800ms;

// What the tree shows, a child's line indented, a folded group's children
// left out as the screen leaves them out.
Lines shownLines(HWND tree) {
    Lines lines;
    for (const auto& node : test::readTree(tree)) {
        lines.push_back(node.text);
        if (node.expanded)
            for (const auto& child : node.children)
                lines.push_back(L"  " + child.text);
    }
    return lines;
}

// Each item's data is the key of a row that it shows: a double-click runs
// what the row on screen says. Lists the items that are not.
Lines itemsOfOtherRows(HWND tree, const ListRows& rows) {
    Lines wrong;
    const auto check = [&](const test::ReadNode& node) {
        const ListRow* row = findRow(rows, static_cast<int32_t>(node.data));
        if (!row || node.text.find(toWide(row->command)) == std::wstring::npos)
            wrong.push_back(node.text);
    };
    for (const auto& node : test::readTree(tree)) {
        if (node.data != kPinGroupRow)
            check(node);
        for (const auto& child : node.children)
            check(child);
    }
    return wrong;
}

// Written as an editor that saves in place does, or as one that writes a
// copy and puts it in the file's place.
enum class Save { InPlace, Replace };

constexpr char kTwoGroups[] = "GROUP A\r\n"
                              "ALPHA\talpha\r\n"
                              "BETA\tbeta\r\n"
                              "GROUP B\r\n"
                              "GAMMA\tgamma\r\n"
                              "DELTA\tdelta\r\n";

// Every line moved down by one, a command before the first group and one
// more in group A; BETA gone where the case says so.
constexpr char kTwoGroupsEdited[] = "ZETA\tzeta\r\n"
                                    "GROUP A\r\n"
                                    "ALPHA\talpha\r\n"
                                    "BETA\tbeta\r\n"
                                    "EPSILON\tepsilon\r\n"
                                    "GROUP B\r\n"
                                    "GAMMA\tgamma\r\n"
                                    "DELTA\tdelta\r\n";
constexpr char kTwoGroupsWithoutBeta[] = "ZETA\tzeta\r\n"
                                         "GROUP A\r\n"
                                         "ALPHA\talpha\r\n"
                                         "GROUP B\r\n"
                                         "GAMMA\tgamma\r\n"
                                         "DELTA\tdelta\r\n";

class LiveListsTest : public test::MainWindowFixture {
  protected:
    void save(Save how, const char* list) {
        if (how == Save::InPlace) {
            dir.write(kListFileName, list);
            return;
        }
        dir.write(u"MorvaneList.new", list);
        ASSERT_TRUE(MoveFileExW(wptr(dir.file(u"MorvaneList.new")), wptr(dir.file(kListFileName)),
                                MOVEFILE_REPLACE_EXISTING));
    }
    bool treeBecomes(const Lines& want) {
        return pumpMessagesUntil([&] { return shownLines(window->commandTree) == want; });
    }
    std::wstring selectedLabel() const {
        return test::itemLabel(window->commandTree, TreeView_GetSelection(window->commandTree));
    }
    std::wstring firstVisibleLabel() const {
        return test::itemLabel(window->commandTree, TreeView_GetFirstVisible(window->commandTree));
    }
    void select(std::wstring_view label) {
        HTREEITEM item = test::itemLabelled(window->commandTree, label);
        ASSERT_NE(item, nullptr) << std::wstring(label);
        TreeView_SelectItem(window->commandTree, item);
    }
};

enum class ViewChoice { FileOrder, CommandOrder, Search };

struct ViewCase {
    const char* name;
    ViewChoice view;
    const wchar_t* search; // typed into the search box (ViewChoice::Search)
    const wchar_t* selected;
    Save save;
    const char* edited;
    Lines after;
    const wchar_t* selectedAfter;
};

void PrintTo(const ViewCase& c, std::ostream* os) {
    *os << c.name;
}

class LiveViewTest : public LiveListsTest, public testing::WithParamInterface<ViewCase> {};

TEST_P(LiveViewTest, ARewrittenListShowsInTheViewOnShowWithItsPlace) {
    const ViewCase& c = GetParam();
    dir.write(kListFileName, kTwoGroups);
    auto& f = open();
    switch (c.view) {
    case ViewChoice::FileOrder:
        break;
    case ViewChoice::CommandOrder:
        SendMessageW(f.commandOrderButton, BM_CLICK, 0, 0);
        break;
    case ViewChoice::Search:
        SetWindowTextW(f.searchBox, c.search);
        break;
    }
    select(c.selected);
    SetFocus(f.searchBox);
    const HWND focus = GetFocus();

    save(c.save, c.edited);
    EXPECT_TRUE(treeBecomes(c.after)) << testing::PrintToString(shownLines(f.commandTree));
    EXPECT_EQ(selectedLabel(), c.selectedAfter);
    EXPECT_EQ(windowText(f.searchBox), c.view == ViewChoice::Search ? c.search : L"");
    EXPECT_EQ(GetFocus(), focus) << "the focus moved";
    EXPECT_EQ(host->state().rows.size(), c.edited == kTwoGroupsEdited ? 8u : 6u);
    EXPECT_EQ(itemsOfOtherRows(f.commandTree, host->state().rows), Lines{});
}

INSTANTIATE_TEST_SUITE_P(
    Views, LiveViewTest,
    testing::Values(
        ViewCase{"FileOrder", ViewChoice::FileOrder, L"", L"[GAMMA] gamma", Save::InPlace,
                 kTwoGroupsEdited,
                 Lines{L"GROUP A", L"  [ALPHA] alpha", L"  [BETA] beta", L"  [EPSILON] epsilon",
                       L"GROUP B", L"  [GAMMA] gamma", L"  [DELTA] delta"},
                 L"[GAMMA] gamma"},
        ViewCase{"FileOrderReplaced", ViewChoice::FileOrder, L"", L"GROUP B", Save::Replace,
                 kTwoGroupsEdited,
                 Lines{L"GROUP A", L"  [ALPHA] alpha", L"  [BETA] beta", L"  [EPSILON] epsilon",
                       L"GROUP B", L"  [GAMMA] gamma", L"  [DELTA] delta"},
                 L"GROUP B"},
        // The selected row gone: the next row of the old view takes its place.
        ViewCase{"FileOrderSelectedRowGone", ViewChoice::FileOrder, L"", L"[BETA] beta",
                 Save::Replace, kTwoGroupsWithoutBeta,
                 Lines{L"GROUP A", L"  [ALPHA] alpha", L"GROUP B", L"  [GAMMA] gamma",
                       L"  [DELTA] delta"},
                 L"GROUP B"},
        ViewCase{"CommandOrder", ViewChoice::CommandOrder, L"", L"[DELTA] delta", Save::InPlace,
                 kTwoGroupsEdited,
                 Lines{L"[ALPHA] alpha", L"[BETA] beta", L"[DELTA] delta", L"[EPSILON] epsilon",
                       L"[GAMMA] gamma", L"[ZETA] zeta"},
                 L"[DELTA] delta"},
        ViewCase{"CommandOrderSelectedRowGone", ViewChoice::CommandOrder, L"", L"[BETA] beta",
                 Save::Replace, kTwoGroupsWithoutBeta,
                 Lines{L"[ALPHA] alpha", L"[DELTA] delta", L"[GAMMA] gamma", L"[ZETA] zeta"},
                 L"[DELTA] delta"},
        ViewCase{"SearchResults", ViewChoice::Search, L"ta", L"[DELTA] delta", Save::InPlace,
                 kTwoGroupsEdited, Lines{L"[BETA] beta", L"[DELTA] delta", L"[ZETA] zeta"},
                 L"[DELTA] delta"},
        ViewCase{"SearchResultsReplaced", ViewChoice::Search, L"ta", L"[BETA] beta", Save::Replace,
                 kTwoGroupsWithoutBeta, Lines{L"[DELTA] delta", L"[ZETA] zeta"}, L"[DELTA] delta"}),
    test::CaseName());

TEST_F(LiveListsTest, TheScrollPositionAndFoldedGroupsStay) {
    std::string list = "FOLDED\r\nONE\tone\r\nTWO\ttwo\r\n" + test::longCommandList();
    dir.write(kListFileName, list.c_str());
    auto& f = open();
    TreeView_Expand(f.commandTree, test::itemLabelled(f.commandTree, L"FOLDED"), TVE_COLLAPSE);
    TreeView_Select(f.commandTree, test::itemLabelled(f.commandTree, L"[CMD10] do 10"),
                    TVGN_FIRSTVISIBLE);
    select(L"[CMD12] do 12");
    ASSERT_EQ(firstVisibleLabel(), L"[CMD10] do 10");

    // Two lines more at the top: every row's line moves.
    list = "; edited\r\n" + list + "ADDED\tadded\r\n";
    list.insert(0, "; by the administrator\r\n");
    dir.write(kListFileName, list.c_str());
    ASSERT_TRUE(
        pumpMessagesUntil([&] { return test::itemLabelled(f.commandTree, L"[ADDED] added"); }));
    EXPECT_EQ(selectedLabel(), L"[CMD12] do 12");
    EXPECT_EQ(firstVisibleLabel(), L"[CMD10] do 10");
    EXPECT_EQ(itemsOfOtherRows(f.commandTree, host->state().rows), Lines{});
    EXPECT_FALSE(TreeView_GetItemState(f.commandTree, test::itemLabelled(f.commandTree, L"FOLDED"),
                                       TVIS_EXPANDED) &
                 TVIS_EXPANDED);
}

struct BadWriteCase {
    const char* name;
    const char* bytes; // nullptr: the file deleted
};

void PrintTo(const BadWriteCase& c, std::ostream* os) {
    *os << c.name;
}

class LiveBadWriteTest : public LiveListsTest, public testing::WithParamInterface<BadWriteCase> {};

// A file caught while it is written, or one that is no list, leaves the
// tree as it was without a box; the next good write shows.
TEST_P(LiveBadWriteTest, LeavesTheTreeAsItWasAndSaysNothing) {
    dir.write(kListFileName, kTwoGroups);
    auto& f = open();
    select(L"[GAMMA] gamma");
    const Lines before = shownLines(f.commandTree);
    {
        test::BoxWatcher noBox(L"", kLongerThanAReload);
        if (GetParam().bytes)
            dir.write(kListFileName, GetParam().bytes);
        else
            DeleteFileW(wptr(dir.file(kListFileName)));
        pumpMessagesFor(kLongerThanAReload);
        EXPECT_FALSE(noBox.result().found) << "a box: " << noBox.result().text;
    }
    EXPECT_EQ(shownLines(f.commandTree), before);
    EXPECT_EQ(selectedLabel(), L"[GAMMA] gamma");
    EXPECT_EQ(host->state().rows.size(), 6u);

    dir.write(kListFileName, kTwoGroupsEdited);
    EXPECT_TRUE(pumpMessagesUntil([&] { return host->state().rows.size() == 8u; }));
}

INSTANTIATE_TEST_SUITE_P(Writes, LiveBadWriteTest,
                         testing::Values(BadWriteCase{"Empty", ""},
                                         BadWriteCase{"MarkOnly", "\xEF\xBB\xBF"},
                                         BadWriteCase{"EmptyLinesOnly", "\r\n\r\n"},
                                         BadWriteCase{"CommentOnly", "; only a comment\r\n"},
                                         BadWriteCase{"BrokenUtf8", "\xEF\xBB\xBF"
                                                                    "A\ta\xE3\x81\r\n"},
                                         BadWriteCase{"Deleted", nullptr}),
                         test::CaseName());

// An editor still holding the file while it saves: tried again until it
// lets go, then shown.
TEST_F(LiveListsTest, AFileHeldOpenIsReadOnceItIsFree) {
    dir.write(kListFileName, kTwoGroups);
    auto& f = open();
    const Lines before = shownLines(f.commandTree);
    UniqueFile held(CreateFileW(wptr(dir.file(kListFileName)), GENERIC_WRITE, 0, nullptr,
                                TRUNCATE_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(held);
    DWORD written = 0;
    WriteFile(held.get(), kTwoGroupsEdited, sizeof kTwoGroupsEdited - 1, &written, nullptr);
    {
        test::BoxWatcher noBox(L"", kLongerThanAReload);
        pumpMessagesFor(kLongerThanAReload);
        EXPECT_FALSE(noBox.result().found);
    }
    EXPECT_EQ(shownLines(f.commandTree), before);
    held.reset();
    EXPECT_TRUE(pumpMessagesUntil([&] { return host->state().rows.size() == 8u; }));
}

TEST_F(LiveListsTest, AListMissingAtStartShowsOnceItIsThere) {
    auto& f = open();
    EXPECT_TRUE(shownLines(f.commandTree).empty());
    dir.write(kListFileName, kTwoGroups);
    EXPECT_TRUE(treeBecomes(Lines{L"GROUP A", L"  [ALPHA] alpha", L"  [BETA] beta", L"GROUP B",
                                  L"  [GAMMA] gamma", L"  [DELTA] delta"}));
    EXPECT_EQ(selectedLabel(), L"GROUP A");
}

// While a modal box or dialog has the window disabled, the rows keep their
// keys: the change shows once the window is enabled again.
TEST_F(LiveListsTest, AChangeWaitsWhileTheWindowIsDisabled) {
    dir.write(kListFileName, kTwoGroups);
    auto& f = open();
    const Lines before = shownLines(f.commandTree);
    EnableWindow(f.hwnd(), FALSE);
    dir.write(kListFileName, kTwoGroupsEdited);
    pumpMessagesFor(kLongerThanAReload);
    EXPECT_EQ(shownLines(f.commandTree), before);
    EnableWindow(f.hwnd(), TRUE);
    EXPECT_TRUE(pumpMessagesUntil([&] { return host->state().rows.size() == 8u; }));
}

std::string targetLine(const char* name) {
    const std::string progId(kDefaultProgID.begin(), kDefaultProgID.end()); // ASCII
    return std::string(name) + "\t" + progId + "\r\n";
}

TEST_F(LiveListsTest, TheCaptionFollowsTheTargetList) {
    dir.write(kTargetListFileName, targetLine("Old CAD").c_str());
    auto& f = open();
    ASSERT_EQ(windowText(f.hwnd()), L"MorvaneX [ Old CAD ]");
    const auto captionBecomes = [&](const wchar_t* caption) {
        return pumpMessagesUntil([&] { return windowText(f.hwnd()) == caption; });
    };

    dir.write(kTargetListFileName, ("Other\tOther.App\r\n" + targetLine("New CAD")).c_str());
    EXPECT_TRUE(captionBecomes(L"MorvaneX [ New CAD ]"));
    // Not text now: the caption stays.
    dir.write(kTargetListFileName, "\xEF\xBB\xBF\xFF\xFE\r\n");
    pumpMessagesFor(kLongerThanAReload);
    EXPECT_EQ(windowText(f.hwnd()), L"MorvaneX [ New CAD ]");
    // No line names the target any more.
    dir.write(kTargetListFileName, "Other\tOther.App\r\n");
    EXPECT_TRUE(captionBecomes(L"Morvane"));
}

// The dialog's 変更 rewrites the target list; the caption follows only the
// dialog's OK, and the dialog is cancelled here.
TEST_F(LiveListsTest, TheTargetDialogsOwnSavesAreNotFollowed) {
    dir.write(kTargetListFileName, targetLine("Old CAD").c_str());
    auto& f = open();
    host->makeTargetDialog();
    HWND dialog = host->targetDialog()->hwnd();
    std::thread user([&] {
        ASSERT_TRUE(test::pumpMessagesUntil([&] { return IsWindowVisible(dialog) != FALSE; }));
        HWND name = GetDlgItem(dialog, kNameEditId);
        SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Renamed"));
        PostMessageW(name, WM_KEYDOWN, VK_RETURN, 1); // 変更
        PostMessageW(name, WM_KEYUP, VK_RETURN, 0xC0000001);
        EXPECT_TRUE(test::pumpMessagesUntil(
            [&] { return dir.read(kTargetListFileName).starts_with("Renamed"); }));
        // Longer than the save takes to settle: a followed change would be
        // read while the dialog is still open.
        std::this_thread::sleep_for(kLongerThanAReload);
        PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    SendMessageW(f.hwnd(), WM_COMMAND, kTargetCadItem, 0);
    user.join();
    pumpMessagesFor(kLongerThanAReload);
    EXPECT_EQ(dir.read(kTargetListFileName), targetLine("Renamed"));
    EXPECT_EQ(windowText(f.hwnd()), L"MorvaneX [ Old CAD ]");
}

} // namespace
} // namespace morvane
