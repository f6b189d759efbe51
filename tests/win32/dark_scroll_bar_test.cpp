// The dark scroll bar over a real tree control: where it stands, what it
// shows, and how it scrolls the tree.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "ui/dark_scroll_bar.h"

namespace morvane {
namespace {

constexpr wchar_t kParentClass[] = L"DarkScrollBarTestParent";

class DarkScrollBarTest : public testing::Test {
  protected:
    DarkScrollBarTest() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES};
        InitCommonControlsEx(&controls);
        WNDCLASSW wc{};
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = kParentClass;
        RegisterClassW(&wc);
        // Left hidden: without a window manager Wine waits for shown windows.
        parent = CreateWindowExW(0, kParentClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                 nullptr, GetModuleHandleW(nullptr), nullptr);
        tree = CreateWindowExW(0, WC_TREEVIEWW, L"",
                               WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | TVS_NOHSCROLL, 10, 10, 200,
                               150, parent, nullptr, GetModuleHandleW(nullptr), nullptr);
        dark::useDarkScrollBar(tree, dark::Extras::ofThisSystem());
        bar = dark::darkScrollBarOf(tree);
    }
    ~DarkScrollBarTest() override {
        if (IsWindow(parent))
            DestroyWindow(parent);
    }

    // Refills the tree with rows, its redraw off meanwhile.
    void fill(int rows) {
        SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
        if (dark::darkScrollBarOf(tree)) {
            EXPECT_FALSE(GetWindowLongPtrW(tree, GWL_STYLE) & WS_VISIBLE)
                << "not drawn while filled";
        }
        TreeView_DeleteAllItems(tree);
        for (int i = 0; i < rows; ++i) {
            std::wstring text = L"row " + std::to_wstring(i);
            TVINSERTSTRUCTW insert{};
            insert.hParent = TVI_ROOT;
            insert.hInsertAfter = TVI_LAST;
            insert.item.mask = TVIF_TEXT;
            insert.item.pszText = text.data();
            TreeView_InsertItem(tree, &insert);
        }
        SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
        EXPECT_TRUE(GetWindowLongPtrW(tree, GWL_STYLE) & WS_VISIBLE);
    }

    bool barShown() const { return GetWindowLongPtrW(bar, GWL_STYLE) & WS_VISIBLE; }
    RECT barPlace() const { return placeInParent(bar); }
    RECT ownBarPlace() const {
        SCROLLBARINFO info{};
        info.cbSize = sizeof info;
        GetScrollBarInfo(tree, OBJID_VSCROLL, &info);
        RECT rect = info.rcScrollBar;
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    bool barStandsOnOwnBar() const {
        const RECT own = ownBarPlace();
        const RECT place = barPlace();
        return EqualRect(&own, &place) && !IsRectEmpty(&own);
    }
    RECT placeInParent(HWND window) const {
        RECT rect;
        GetWindowRect(window, &rect);
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
        return rect;
    }
    SIZE barSize() const {
        RECT client;
        GetClientRect(bar, &client);
        return {client.right, client.bottom};
    }
    SCROLLINFO scrollInfo() const {
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_ALL;
        GetScrollInfo(tree, SB_VERT, &info);
        return info;
    }
    int position() const { return scrollInfo().nPos; }
    int firstVisibleRow() const {
        wchar_t text[32]{};
        TVITEMW item{};
        item.mask = TVIF_TEXT;
        item.hItem = TreeView_GetFirstVisible(tree);
        item.pszText = text;
        item.cchTextMax = 32;
        TreeView_GetItem(tree, &item);
        return _wtoi(text + 4); // "row N"
    }
    int lastPosition() const {
        const SCROLLINFO info = scrollInfo();
        return info.nMax - static_cast<int>(info.nPage) + 1;
    }

    void click(int y) {
        const LPARAM at = MAKELPARAM(barSize().cx / 2, y);
        SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(bar, WM_LBUTTONUP, 0, at);
    }

    // The bar's brightness down its middle, row by row, as it paints itself.
    std::vector<int> brightnessDownTheMiddle() const {
        const SIZE size = barSize();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = size.cx;
        info.bmiHeader.biHeight = -size.cy;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        SendMessageW(bar, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
        GdiFlush();
        std::vector<int> column;
        for (int y = 0; y < size.cy; ++y) {
            const DWORD pixel = static_cast<const DWORD*>(bits)[y * size.cx + size.cx / 2];
            column.push_back(static_cast<int>(pixel & 0xFF));
        }
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
        return column;
    }

    HWND parent = nullptr;
    HWND tree = nullptr;
    HWND bar = nullptr;
};

TEST_F(DarkScrollBarTest, StandsOverTheTreesOwnBarWhileItHasOne) {
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(GetParent(bar), parent);
    fill(3);
    EXPECT_FALSE(barShown()) << "nothing to scroll";

    fill(40);
    ASSERT_TRUE(GetWindowLongPtrW(tree, GWL_STYLE) & WS_VSCROLL);
    EXPECT_TRUE(barShown());
    EXPECT_TRUE(barStandsOnOwnBar());
    EXPECT_EQ(GetWindow(tree, GW_HWNDPREV), bar) << "just above the tree";
    POINT inBar{barPlace().left + 2, barPlace().top + 30};
    EXPECT_EQ(ChildWindowFromPointEx(parent, inBar, CWP_SKIPINVISIBLE), bar);

    SetWindowPos(tree, nullptr, 20, 30, 150, 100, SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(barStandsOnOwnBar()) << "follows the tree's size";

    ShowWindow(tree, SW_HIDE);
    EXPECT_FALSE(barShown());
    ShowWindow(tree, SW_SHOW);
    EXPECT_TRUE(barShown());

    fill(0);
    EXPECT_FALSE(barShown());
}

TEST_F(DarkScrollBarTest, ThumbFollowsTheTree) {
    fill(40);
    const int height = barSize().cy;
    const int arrow = barSize().cx;
    auto column = brightnessDownTheMiddle();
    const int track = column[height - arrow - 2];
    EXPECT_LT(track, 0x40) << "a dark track";
    EXPECT_GT(column[arrow + 1], track) << "the thumb at the top";

    SendMessageW(tree, WM_VSCROLL, SB_BOTTOM, 0);
    column = brightnessDownTheMiddle();
    EXPECT_EQ(column[arrow + 1], track);
    EXPECT_GT(column[height - arrow - 2], track) << "the thumb at the bottom";
}

TEST_F(DarkScrollBarTest, ArrowsTrackThumbAndWheelScrollTheTree) {
    fill(40);
    const int height = barSize().cy;
    const int arrow = barSize().cx;
    const int page = static_cast<int>(scrollInfo().nPage);
    ASSERT_GT(page, 1);

    click(arrow / 2);
    EXPECT_EQ(position(), 0) << "already at the top";
    click(height - arrow / 2);
    EXPECT_EQ(position(), 1) << "down arrow";
    click(arrow / 2);
    EXPECT_EQ(position(), 0) << "up arrow";
    click(height - arrow - 2);
    EXPECT_EQ(position(), page) << "the track below the thumb";

    // The thumb dragged past the bottom shows the last page.
    SendMessageW(tree, WM_VSCROLL, SB_TOP, 0);
    const LPARAM onThumb = MAKELPARAM(barSize().cx / 2, arrow + 2);
    SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, onThumb);
    SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(barSize().cx / 2, height + 50));
    EXPECT_EQ(firstVisibleRow(), lastPosition()) << "the tree follows the drag";
    SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(barSize().cx / 2, height + 50));
    EXPECT_EQ(position(), lastPosition());
    EXPECT_NE(GetCapture(), bar);

    SendMessageW(tree, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    EXPECT_GT(position(), 0) << "the wheel over the bar scrolls the tree";
}

TEST_F(DarkScrollBarTest, EitherMayGoFirst) {
    fill(40);
    DestroyWindow(bar);
    EXPECT_EQ(dark::darkScrollBarOf(tree), nullptr);
    fill(50); // the tree goes on without it
    SendMessageW(tree, WM_VSCROLL, SB_BOTTOM, 0);
    EXPECT_EQ(position(), lastPosition());
}

TEST_F(DarkScrollBarTest, OutlivingTheTreeIsHarmless) {
    fill(40);
    DestroyWindow(tree);
    click(barSize().cy - 2);
    SendMessageW(bar, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), 0);
    DestroyWindow(parent);
    EXPECT_FALSE(IsWindow(bar));
}

} // namespace
} // namespace morvane
