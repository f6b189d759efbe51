// The main window's controls, fonts and images, and their places at the
// window's DPI.
#include <windows.h>

#include <commctrl.h>

#include "app/main_window.h"
#include "shell/main_layout.h"
#include "ui/accessible.h"
#include "ui/dark_controls.h"
#include "ui/dark_theme.h"
#include "ui/dpi.h"
#include "ui/flat_button.h"
#include "ui/panel.h"

namespace morvane {
namespace {

constexpr int kTreeIndent = 19;

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

MainLayout MainWindow::currentLayout() const {
    RECT client;
    GetClientRect(hwnd(), &client);
    return layoutMainWindow(client.right, client.bottom, static_cast<int>(dpi_));
}

void MainWindow::createControls() {
    const MainLayout layout = currentLayout();
    // Created in tab order: the tree, "ABC順", "取得順", the search box, then
    // the Escape panel, which takes no focus. The label "検索" comes right
    // before the search box: screen readers take the name of an edit from
    // the label created just before it.
    // No horizontal scrolling: a label wider than the tree shows whole in
    // the tree's tooltip, and no scroll bar takes a row of the small tree.
    // (Under Wine the tree also showed and hid a horizontal bar inside its
    // first paint, which painted the tree twice.)
    commandTree = createChild(hwnd(), WC_TREEVIEWW, u"",
                              WS_TABSTOP | WS_CLIPSIBLINGS | TVS_HASLINES | TVS_HASBUTTONS |
                                  TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_NOHSCROLL,
                              0, kCommandTreeId, layout.commandTree);
    TreeView_SetExtendedStyle(commandTree, TVS_EX_DOUBLEBUFFER, TVS_EX_DOUBLEBUFFER);

    commandOrderButton =
        dark::createPushButton(hwnd(), kCommandOrderButtonId, u"ABC順", layout.commandOrderButton,
                               WS_TABSTOP | WS_CLIPSIBLINGS);
    fileOrderButton = dark::createPushButton(hwnd(), kFileOrderButtonId, u"取得順",
                                             layout.fileOrderButton, WS_TABSTOP | WS_CLIPSIBLINGS);
    searchLabel = createChild(hwnd(), L"STATIC", u"検索", SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS,
                              0, kSearchLabelId, layout.searchLabel);
    searchBox = createChild(hwnd(), L"EDIT", u"", WS_TABSTOP | WS_CLIPSIBLINGS | ES_AUTOHSCROLL,
                            WS_EX_CLIENTEDGE, kSearchBoxId, layout.searchBox);
    // The Escape button is flat: a click leaves the focus where it was, so
    // the next key does not press ESC again.
    escapePanel = escapePanel_.create(hwnd(), kEscapePanelId, WS_VISIBLE | WS_CLIPSIBLINGS,
                                      layout.escapePanel, u"ESC");
    escapeButton = createFlatButton(escapePanel, kEscapeButtonId, u"", {0, 0, 50, 10});

    for (HWND button : {commandOrderButton, fileOrderButton})
        ownControl(button, buttonPainter_);
    describeForAccessibility(commandTree, kCommandTreeName, ROLE_SYSTEM_OUTLINE);
    describeForAccessibility(searchLabel, u"", ROLE_SYSTEM_STATICTEXT);
    ownControl(escapeButton, escapeButtonPainter_);
    ownControl(searchBox, textColours_);
    ownControl(searchLabel, textColours_);
    ownControl(commandTree, treeSelection_);
    addWindowHook(searchBox, searchBoxProc, this);
    addWindowHook(commandTree, commandTreeProc, this);
    setLastFocus(commandTree);
    dark::darkenEditBorder(searchBox, palette());
}

void MainWindow::createContextMenu() {
    contextMenuOwner_.reset(CreatePopupMenu());
    contextMenu = contextMenuOwner_.get();
    appendItem(contextMenu, kTargetCadItem, L"ターゲット CAD");
    appendItem(contextMenu, kListSeparator, nullptr);
    appendItem(contextMenu, kEditListItem,
               L"\u25A0 MorvaneList.txt を表示、編集 \uFF08メモ帳起動\uFF09...");
    appendItem(contextMenu, kReloadListItem, L"\u25A0 MorvaneList.txt を再読み込み");
    appendItem(contextMenu, kVersionSeparator, nullptr);
    appendItem(contextMenu, kVersionItem, L"\u25A0 バージョン情報 ...");
    appendItem(contextMenu, kPinSeparator, nullptr);
    appendItem(contextMenu, kPinItem, L"ピン留め");
    dark::makeMenuOwnerDrawn(contextMenu, palette());
}

// Fonts, images and indent for this DPI; the old ones go once the controls
// hold the new.
void MainWindow::applyDpi(UINT dpi) {
    dpi_ = dpi;
    const int d = static_cast<int>(dpi);
    auto windowFont = dark::createFont(dark::kUiFace, 11, d);
    auto editFont = dark::createFont(dark::kUiFace, 12, d);
    auto treeFont = dark::createFont(dark::kUiFace, 13, d);
    // Bold, so the dark caption stays legible on lime green.
    auto escapeFont = dark::createFont(dark::kUiFace, 11, d, FW_BOLD);
    SendMessageW(escapeButton, WM_SETFONT, reinterpret_cast<WPARAM>(escapeFont.get()), TRUE);
    for (HWND control : {commandOrderButton, fileOrderButton, searchLabel})
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), TRUE);
    SendMessageW(searchBox, WM_SETFONT, reinterpret_cast<WPARAM>(editFont.get()), TRUE);
    SendMessageW(commandTree, WM_SETFONT, reinterpret_cast<WPARAM>(treeFont.get()), TRUE);
    auto images = makeNodeImages(d);
    TreeView_SetImageList(commandTree, images.get(), TVSIL_NORMAL);
    TreeView_SetIndent(commandTree, scaled(kTreeIndent, dpi));
    windowFont_ = std::move(windowFont);
    editFont_ = std::move(editFont);
    treeFont_ = std::move(treeFont);
    escapeFont_ = std::move(escapeFont);
    nodeImages_ = std::move(images);
    icons_.show(hwnd(), MAKEINTRESOURCEW(kProgramIconId), dpi);
    layoutControls();
}

void MainWindow::layoutControls() {
    if (!commandTree)
        return;
    const MainLayout layout = currentLayout();
    HDWP batch = BeginDeferWindowPos(6);
    place(batch, commandTree, layout.commandTree);
    place(batch, commandOrderButton, layout.commandOrderButton);
    place(batch, fileOrderButton, layout.fileOrderButton);
    place(batch, searchBox, layout.searchBox);
    place(batch, escapePanel, layout.escapePanel);
    place(batch, searchLabel, layout.searchLabel);
    if (batch)
        EndDeferWindowPos(batch);
    // escapeButton keeps its designed size until start-up fills the panel.
    if (escapeButtonFillsPanel_)
        SetWindowPos(escapeButton, nullptr, 0, 0, layout.escapeButton.width,
                     layout.escapeButton.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void MainWindow::onDpiChanged(UINT dpi, const RECT& suggested) {
    applyDpi(dpi);
    moveTo(suggested);
}

} // namespace morvane
