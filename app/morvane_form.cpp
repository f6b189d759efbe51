// The main window's life: creation with FormCreate, the message dispatch, and
// FormDestroy.
#include "app/morvane_form.h"

#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "app/app_state.h"
#include "app/dark_theme.h"
#include "app/dpi.h"
#include "app/message_box.h"
#include "app/message_filter.h"
#include "app/panel.h"
#include "app/settings_file.h"
#include "platform/services.h"
#include "platform/win32/win32_text.h"
#include "shell/caption.h"
#include "shell/main_layout.h"
#include "shell/settings_values.h"
#include "target/win32/TaregetCADUnit.h"

namespace morvane {
namespace {

constexpr wchar_t kFormClass[] = L"TMorvaneForm";
constexpr DWORD kFormStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Topmost from the start: Wine does not keep a later HWND_TOPMOST on a
// window that already owns the tree's tooltip. WS_EX_APPWINDOW gives the
// window its own task-bar button.
constexpr DWORD kFormExStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
// Posted when another window became active: see onMessage.
constexpr UINT kRestackMessage = WM_APP + 1;

SIZE designedOuterSize(UINT dpi) {
    RECT frame{0, 0, scaled(kDesignedClientWidth, dpi), scaled(kDesignedClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, kFormStyle, FALSE, kFormExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

// The outer rectangle to remember: the restored one while minimised.
RECT currentOuterRect(HWND hwnd) {
    RECT rect{};
    if (IsIconic(hwnd)) {
        WINDOWPLACEMENT placement{};
        placement.length = sizeof placement;
        GetWindowPlacement(hwnd, &placement);
        return placement.rcNormalPosition;
    }
    GetWindowRect(hwnd, &rect);
    return rect;
}

} // namespace

FormEnvironment FormEnvironment::forThisProgram() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    FormEnvironment environment;
    const size_t separator = path.find_last_of(L"\\/");
    environment.exeFolder = fromWide(path.substr(0, separator + 1));
    const size_t dot = path.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot > separator + 1;
    environment.settingsPath = fromWide((hasExtension ? path.substr(0, dot) : path) + L".ini");
    return environment;
}

TMorvaneForm::TMorvaneForm(FormEnvironment environment) : environment_(std::move(environment)) {}

TMorvaneForm::~TMorvaneForm() {
    targetCADForm_.reset();
    if (hwnd())
        DestroyWindow(hwnd());
}

std::u16string TMorvaneForm::listFilePath() const {
    return environment_.exeFolder + std::u16string(kListFileName);
}

HWND TMorvaneForm::create() {
    registerClass(kFormClass, LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(1)));
    const UINT dpi = systemDpi();
    const SIZE size = designedOuterSize(dpi);
    return createWindow(kFormClass, L"Morvane", kFormStyle, kFormExStyle, 0, 0, size.cx, size.cy,
                        nullptr);
}

void TMorvaneForm::FormCreate() {
    setSearchText(u"");
    targetProgID = kDefaultProgID;

    const SettingsReader settings(environment_.settingsPath);
    RECT outer;
    GetWindowRect(hwnd(), &outer);
    WindowBounds bounds{outer.left, outer.top, outer.right - outer.left, outer.bottom - outer.top};
    bounds.width = settings.readInteger(u"Form", u"Width").value_or(bounds.width);
    bounds.height = settings.readInteger(u"Form", u"Height").value_or(bounds.height);
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    bounds.left =
        settings.readInteger(u"Form", u"Left").value_or(centredEdge(screenWidth, bounds.width));
    bounds.top =
        settings.readInteger(u"Form", u"Top").value_or(centredEdge(screenHeight, bounds.height));
    bounds = keepOnScreen(bounds, screenWidth, screenHeight);
    SetWindowPos(hwnd(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    targetProgID = settings.readText(u"Target", u"ProgID").value_or(std::u16string(kDefaultProgID));

    // The Escape button fills its lime-green panel.
    RECT panel;
    GetClientRect(Panel1, &panel);
    SetWindowPos(SpeedButton1, nullptr, 0, 0, panel.right, panel.bottom, SWP_NOZORDER);
    SetWindowTextW(SpeedButton1, L"ESC");
    setPanelColour(Panel1, dark::kLimeGreen);

    loadMorvaneList(listFilePath());
    makeTreeViewItemsByRow();
    lookUpCaption();
    DragAcceptFiles(hwnd(), TRUE);
    // Created topmost already (see kFormExStyle); a second z-order change
    // would only cost Wine a round of window updates.
    if (!(GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST))
        SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);

    messageFilter = new TMessageFilter();
    messageFilter->RegisterFilter();
}

void TMorvaneForm::saveSettings() {
    SettingsWriter settings(environment_.settingsPath);
    const RECT outer = currentOuterRect(hwnd());
    settings.writeInteger(u"Form", u"Width", outer.right - outer.left);
    settings.writeInteger(u"Form", u"Height", outer.bottom - outer.top);
    settings.writeInteger(u"Form", u"Left", outer.left);
    settings.writeInteger(u"Form", u"Top", outer.top);
    settings.writeText(u"Target", u"ProgID", targetProgID);
    settings.commit();
}

void TMorvaneForm::FormDestroy() {
    // The window is already hidden: the error box stands on its own.
    runGuarded(nullptr, [&] { saveSettings(); });
    if (messageFilter)
        std::exchange(messageFilter, nullptr)->RevokeFilter();
}

void TMorvaneForm::lookUpCaption() {
    const auto caption =
        morvane::lookUpCaption(environment_.exeFolder, targetProgID, platformServices());
    if (caption)
        SetWindowTextW(hwnd(), wptr(*caption));
}

LRESULT TMorvaneForm::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    // Counts the messages being handled, nested ones included, so that the
    // restacking below waits for the handler that made another window active
    // (it may still be pressing keys into it).
    ++messageDepth_;
    const LRESULT result = handleMessage(msg, wp, lp);
    if (--messageDepth_ == 0 && std::exchange(restackPending_, false))
        PostMessageW(hwnd(), kRestackMessage, 0, 0);
    return result;
}

LRESULT TMorvaneForm::handleMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_CREATE:
        dpi_ = dpiOfWindow(hwnd());
        dark::useDarkTitleBar(hwnd());
        createControls();
        createPopupMenu();
        applyDpi(dpi_);
        runGuarded(hwnd(), [&] { FormCreate(); });
        return 0;
    case WM_DESTROY:
        FormDestroy();
        if (environment_.quitOnClose)
            PostQuitMessage(0);
        return 0;
    case WM_SIZE:
        layoutControls();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_ERASEBKGND:
        dark::eraseBackground(hwnd(), reinterpret_cast<HDC>(wp));
        return 1;
    case WM_CTLCOLOREDIT:
        return dark::colourEdit(reinterpret_cast<HDC>(wp));
    case WM_CTLCOLORSTATIC:
        return dark::colourStatic(reinterpret_cast<HDC>(wp));
    case WM_COMMAND:
        onCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_DRAWITEM:
        onDrawItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp));
        return TRUE;
    case WM_MEASUREITEM:
        return dark::measureMenuItem(hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_CONTEXTMENU:
        onContextMenu(lp);
        return 0;
    case WM_ACTIVATE:
        // Wine's desktop can leave a newly activated window (the CAD) stacked
        // above ours on screen although ours is topmost; stacking it again
        // once the other window is in front puts it back. A no-op on Windows.
        if (LOWORD(wp) == WA_INACTIVE && (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST))
            PostMessageW(hwnd(), kRestackMessage, 0, 0);
        return defaultProc(msg, wp, lp);
    case kRestackMessage:
        if (messageDepth_ > 1) { // inside another handler's wait: later
            restackPending_ = true;
            return 0;
        }
        if (GetWindowLongPtrW(hwnd(), GWL_EXSTYLE) & WS_EX_TOPMOST)
            SetWindowPos(hwnd(), HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
        return 0;
    case WM_DROPFILES:
        runGuarded(hwnd(), [&] { acceptDroppedLsp(reinterpret_cast<HDROP>(wp)); });
        return 0;
    }
    return defaultProc(msg, wp, lp);
}

void TMorvaneForm::onCommand(int id, int code) {
    switch (id) {
    case kEdit1:
        if (code == EN_CHANGE)
            runGuarded(hwnd(), [&] { Edit1Change(); });
        return;
    case kButton2:
        if (code == BN_CLICKED)
            runGuarded(hwnd(), [&] { Button2Click(); });
        return;
    case kButton3:
        if (code == BN_CLICKED)
            runGuarded(hwnd(), [&] { Button3Click(); });
        return;
    case kMorvaneListtxt1:
        runGuarded(hwnd(), [&] { MorvaneListtxt1Click(); });
        return;
    case kMorvaneListtxt2:
        runGuarded(hwnd(), [&] { MorvaneListtxt2Click(); });
        return;
    case kN3:
        runGuarded(hwnd(), [&] { N3Click(); });
        return;
    case kCAD2:
        runGuarded(hwnd(), [&] { CAD2Click(); });
        return;
    case kSpeedButton1:
        if (code == BN_CLICKED)
            runGuarded(hwnd(), [&] { SpeedButton1Click(); });
        return;
    }
}

LRESULT TMorvaneForm::onNotify(NMHDR& header) {
    if (header.hwndFrom != TreeView1)
        return 0;
    switch (header.code) {
    case NM_CUSTOMDRAW:
        return onTreeCustomDraw(reinterpret_cast<NMTVCUSTOMDRAW&>(header));
    case NM_DBLCLK:
        runGuarded(hwnd(), [&] { TreeView1DblClick(); });
        return 0;
    case TVN_SELCHANGEDW: {
        // The dark selection is drawn per row: repaint the rows it left and
        // entered.
        const auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        for (HTREEITEM item : {change.itemOld.hItem, change.itemNew.hItem}) {
            RECT rect;
            if (item && TreeView_GetItemRect(TreeView1, item, &rect, FALSE))
                InvalidateRect(TreeView1, &rect, FALSE);
        }
        return 0;
    }
    }
    return 0;
}

LRESULT TMorvaneForm::onTreeCustomDraw(NMTVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        if (draw.nmcd.uItemState & CDIS_SELECTED) {
            draw.clrText = dark::kText;
            draw.clrTextBk = GetFocus() == TreeView1 ? dark::kSelection : dark::kSelectionInactive;
        }
        return CDRF_DODEFAULT;
    }
    return CDRF_DODEFAULT;
}

void TMorvaneForm::onDrawItem(DRAWITEMSTRUCT& item) {
    if (dark::drawMenuItem(item))
        return;
    const bool escape = item.hwndItem == SpeedButton1;
    dark::drawButton(item, escape ? dark::ButtonLook::Lime : dark::ButtonLook::Normal);
}

void TMorvaneForm::onContextMenu(LPARAM lp) {
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (at.x == -1 && at.y == -1) { // from the keyboard
        at = {0, 0};
        ClientToScreen(hwnd(), &at);
    }
    TrackPopupMenu(PopupMenu1, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   hwnd(), nullptr);
}

} // namespace morvane
