// The main window's controls, fonts and images, and their places at the
// window's DPI.
#include <windows.h>

#include <commctrl.h>

#include "app/dark_extras.h"
#include "app/dark_scroll_bar.h"
#include "app/dark_theme.h"
#include "app/dpi.h"
#include "app/morvane_form.h"
#include "app/panel.h"
#include "shell/main_layout.h"

namespace morvane {
namespace {

constexpr int kTreeIndent = 19;

// Controls are made in their places: every later move costs Wine a round of
// window updates.
HWND createControl(const wchar_t* className, const wchar_t* text, DWORD style, DWORD exStyle,
                   HWND parent, int id, const ControlRect& rect = {}) {
    return CreateWindowExW(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, rect.left,
                           rect.top, rect.width, rect.height, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

ControlRect placeOf(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

void appendItem(HMENU menu, int id, const wchar_t* caption) {
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | (caption ? MIIM_STRING : 0);
    item.fType = caption ? MFT_STRING : MFT_SEPARATOR;
    item.wID = static_cast<UINT>(id);
    item.dwTypeData = const_cast<wchar_t*>(caption);
    InsertMenuItemW(menu, static_cast<UINT>(GetMenuItemCount(menu)), TRUE, &item);
}

void place(HDWP& batch, HWND control, const ControlRect& rect) {
    if (batch && placeOf(control) != rect)
        batch = DeferWindowPos(batch, control, nullptr, rect.left, rect.top, rect.width,
                               rect.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace

MainLayout TMorvaneForm::currentLayout() const {
    RECT client;
    GetClientRect(hwnd(), &client);
    return layoutMainWindow(client.right, client.bottom, static_cast<int>(dpi_));
}

void TMorvaneForm::createControls() {
    const MainLayout layout = currentLayout();
    // Created in tab order: the tree, "ABC順", "取得順", the search box, the
    // Escape panel; then the label.
    // No horizontal scrolling: a label wider than the tree shows whole in
    // the tree's tooltip, and no scroll bar takes a row of the small tree.
    // (Under Wine the tree also showed and hid a horizontal bar inside its
    // first paint, which painted the tree twice.)
    TreeView1 = createControl(WC_TREEVIEWW, L"",
                              WS_TABSTOP | WS_CLIPSIBLINGS | TVS_HASLINES | TVS_HASBUTTONS |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NOHSCROLL,
                              0, hwnd(), kTreeView1, layout.treeView1);
    TreeView_SetExtendedStyle(TreeView1, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);
    TreeView_SetBkColor(TreeView1, dark::kBackground);
    TreeView_SetTextColor(TreeView1, dark::kText);
    TreeView_SetLineColor(TreeView1, dark::kEdge);

    Button2 = createControl(L"BUTTON", L"ABC順", WS_TABSTOP | WS_CLIPSIBLINGS | BS_OWNERDRAW, 0,
                            hwnd(), kButton2, layout.button2);
    Button3 = createControl(L"BUTTON", L"取得順", WS_TABSTOP | WS_CLIPSIBLINGS | BS_OWNERDRAW, 0,
                            hwnd(), kButton3, layout.button3);
    Edit1 = createControl(L"EDIT", L"", WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL,
                          WS_EX_CLIENTEDGE, hwnd(), kEdit1, layout.edit1);
    Panel1 = createPanel(hwnd(), kPanel1, WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, layout.panel1);
    SpeedButton1 =
        createControl(L"BUTTON", L"", BS_OWNERDRAW, 0, Panel1, kSpeedButton1, {0, 0, 50, 10});
    Label1 = createControl(L"STATIC", L"検索", SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, hwnd(),
                           kLabel1, layout.label1);

    for (HWND button : {Button2, Button3, SpeedButton1})
        dark::trackButtonHover(button);
    dark::darkenEditBorder(Edit1);
    dark::useDarkControlTheme(TreeView1, L"DarkMode_Explorer");
    dark::useDarkScrollBar(TreeView1);
    dark::useDarkControlTheme(Edit1, L"DarkMode_CFD");
}

void TMorvaneForm::createPopupMenu() {
    popupMenuOwner_.reset(CreatePopupMenu());
    PopupMenu1 = popupMenuOwner_.get();
    appendItem(PopupMenu1, kCAD2, L"ターゲット CAD");
    appendItem(PopupMenu1, kN1, nullptr);
    appendItem(PopupMenu1, kMorvaneListtxt1,
               L"\u25A0 MorvaneList.txt を表示、編集 \uFF08メモ帳起動\uFF09...");
    appendItem(PopupMenu1, kMorvaneListtxt2, L"\u25A0 MorvaneList.txt を再読み込み");
    appendItem(PopupMenu1, kN2, nullptr);
    appendItem(PopupMenu1, kN3, L"\u25A0 バージョン情報 ...");
    dark::makeMenuOwnerDrawn(PopupMenu1);
}

// Fonts, images and indent for this DPI; the old ones go once the controls
// hold the new.
void TMorvaneForm::applyDpi(UINT dpi) {
    dpi_ = dpi;
    const int d = static_cast<int>(dpi);
    auto windowFont = dark::createFont(dark::kUiFace, 11, d);
    auto editFont = dark::createFont(dark::kUiFace, 12, d);
    auto treeFont = dark::createFont(dark::kUiFace, 13, d);
    // Bold, so the dark caption stays legible on lime green.
    auto escapeFont = dark::createFont(dark::kUiFace, 11, d, FW_BOLD);
    SendMessageW(SpeedButton1, WM_SETFONT, reinterpret_cast<WPARAM>(escapeFont.get()), TRUE);
    for (HWND control : {Button2, Button3, Label1})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), TRUE);
    SendMessageW(Edit1, WM_SETFONT, reinterpret_cast<WPARAM>(editFont.get()), TRUE);
    SendMessageW(TreeView1, WM_SETFONT, reinterpret_cast<WPARAM>(treeFont.get()), TRUE);
    auto images = makeNodeImages(d);
    TreeView_SetImageList(TreeView1, images.get(), TVSIL_NORMAL);
    TreeView_SetIndent(TreeView1, scaled(kTreeIndent, dpi));
    windowFont_ = std::move(windowFont);
    editFont_ = std::move(editFont);
    treeFont_ = std::move(treeFont);
    escapeFont_ = std::move(escapeFont);
    ImageList2 = std::move(images);
    layoutControls();
}

void TMorvaneForm::layoutControls() {
    if (!TreeView1)
        return;
    const MainLayout layout = currentLayout();
    HDWP batch = BeginDeferWindowPos(6);
    place(batch, TreeView1, layout.treeView1);
    place(batch, Button2, layout.button2);
    place(batch, Button3, layout.button3);
    place(batch, Edit1, layout.edit1);
    place(batch, Panel1, layout.panel1);
    place(batch, Label1, layout.label1);
    if (batch)
        EndDeferWindowPos(batch);
    // SpeedButton1 keeps its designed size until start-up fills the panel.
    if (GetWindowTextLengthW(SpeedButton1) > 0)
        SetWindowPos(SpeedButton1, nullptr, 0, 0, layout.speedButton1.width,
                     layout.speedButton1.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TMorvaneForm::onDpiChanged(UINT dpi, const RECT& suggested) {
    applyDpi(dpi);
    SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

} // namespace morvane
