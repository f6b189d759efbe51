// The main window's life: creation with startUp, the message dispatch, and
// shutDown.
#include "app/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "app/launcher_host.h"
#include "app/settings_file.h"
#include "list/list_file.h"
#include "platform/services.h"
#include "platform/win32/program_path.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wine_workarounds.h"
#include "shell/caption.h"
#include "shell/main_layout.h"
#include "shell/settings_values.h"
#include "shell/workspace_bounds.h"
#include "ui/dark_theme.h"
#include "ui/dpi.h"
#include "ui/message_box.h"
#include "ui/panel.h"
#include "ui/topmost.h"

namespace morvane {
namespace {

constexpr wchar_t kWindowClass[] = L"MorvaneX.Main";
constexpr DWORD kWindowStyle =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// Topmost from the start: Wine does not keep a later HWND_TOPMOST on a
// window that already owns the tree's tooltip. WS_EX_APPWINDOW gives the
// window its own task-bar button.
constexpr DWORD kWindowExStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;

SIZE designedOuterSize(UINT dpi) {
    RECT frame{0, 0, scaled(kDesignedClientWidth, dpi), scaled(kDesignedClientHeight, dpi)};
    AdjustWindowRectExForDpi(&frame, kWindowStyle, FALSE, kWindowExStyle, dpi);
    return {frame.right - frame.left, frame.bottom - frame.top};
}

WindowBounds boundsOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

WindowBounds outerBounds(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return boundsOf(rect);
}

// The outer rectangle to remember, in screen coordinates: the restored one
// while minimised.
WindowBounds currentOuterBounds(HWND hwnd) {
    if (!IsIconic(hwnd))
        return outerBounds(hwnd);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    GetWindowPlacement(hwnd, &placement);
    const WindowBounds normal = boundsOf(placement.rcNormalPosition);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &monitor))
        return normal;
    return workspaceToScreen(normal, {monitor.rcWork.left, monitor.rcWork.top},
                             {monitor.rcMonitor.left, monitor.rcMonitor.top});
}

} // namespace

LauncherEnvironment LauncherEnvironment::forThisProgram() {
    const std::wstring path = thisProgramPath();
    LauncherEnvironment environment;
    const size_t separator = path.find_last_of(L"\\/");
    environment.exeFolder = fromWide(path.substr(0, separator + 1));
    const size_t dot = path.find_last_of(L'.');
    const bool hasExtension = dot != std::wstring::npos && dot > separator + 1;
    environment.settingsPath = fromWide((hasExtension ? path.substr(0, dot) : path) + L".ini");
    return environment;
}

MainWindow::MainWindow(LauncherHost& host, LauncherEnvironment environment)
    : host_(host), state_(host.state()), environment_(std::move(environment)),
      colours_(host.system().highContrast) {}

MainWindow::~MainWindow() {
    if (hwnd())
        DestroyWindow(hwnd());
}

PlatformServices& MainWindow::services() const {
    return host_.system().services;
}

const dark::Extras& MainWindow::darkExtras() const {
    return host_.system().darkExtras;
}

std::u16string MainWindow::listFilePath() const {
    return environment_.exeFolder + std::u16string(kListFileName);
}

HWND MainWindow::create() {
    registerClass(kWindowClass,
                  LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId)));
    const UINT dpi = systemDpi();
    const SIZE size = designedOuterSize(dpi);
    return createWindow(kWindowClass, L"Morvane", kWindowStyle, kWindowExStyle, 0, 0, size.cx,
                        size.cy, nullptr);
}

void MainWindow::startUp() {
    setSearchText(u"");
    state_.targetProgID = kDefaultProgID;

    const SettingsReader settings(services().files, environment_.settingsPath);
    WindowBounds bounds = outerBounds(hwnd());
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
    state_.targetProgID =
        settings.readText(u"Target", u"ProgID").value_or(std::u16string(kDefaultProgID));

    // The Escape button fills its panel (lime green, coloured by applyColours).
    RECT panel;
    GetClientRect(escapePanel, &panel);
    SetWindowPos(escapeButton, nullptr, 0, 0, panel.right, panel.bottom, SWP_NOZORDER);
    SetWindowTextW(escapeButton, L"ESC");
    escapeButtonFillsPanel_ = true;

    loadMorvaneList(listFilePath());
    showRowsInFileOrder();
    lookUpCaption();
    DragAcceptFiles(hwnd(), TRUE);
    // Created topmost already (see kWindowExStyle); a second z-order change
    // would only cost a round of window updates.
    if (!isTopmost(hwnd()))
        setTopmost(hwnd(), true);

    host_.registerMessageFilter();
}

void MainWindow::saveSettings() {
    SettingsWriter settings(services().files, environment_.settingsPath);
    const WindowBounds outer = currentOuterBounds(hwnd());
    settings.writeInteger(u"Form", u"Width", outer.width);
    settings.writeInteger(u"Form", u"Height", outer.height);
    settings.writeInteger(u"Form", u"Left", outer.left);
    settings.writeInteger(u"Form", u"Top", outer.top);
    settings.writeText(u"Target", u"ProgID", state_.targetProgID);
    settings.commit();
}

void MainWindow::saveSettingsAtSessionEnd() noexcept {
    // Windows may end the process after this message without WM_DESTROY.
    // A failure shows no box: the session is ending and nobody would see it.
    try {
        saveSettings();
    } catch (...) {
    }
}

void MainWindow::shutDown() {
    // The window is already hidden: the error box stands on its own.
    runGuarded(nullptr, [&] { saveSettings(); });
    host_.revokeMessageFilter();
}

void MainWindow::lookUpCaption() {
    const auto caption =
        morvane::lookUpCaption(environment_.exeFolder, state_.targetProgID, services());
    if (caption)
        setWindowText(hwnd(), *caption);
}

LRESULT MainWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    restacker_.enter();
    const LRESULT result = handleMessage(msg, wp, lp);
    restacker_.leave(hwnd());
    return result;
}

LRESULT MainWindow::handleMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_CREATE:
        dpi_ = dpiOfWindow(hwnd());
        createControls();
        createContextMenu();
        applyColours();
        applyDpi(dpi_);
        runGuarded(hwnd(), [&] { startUp(); });
        // Focus frames as the input that started the program asks: hidden
        // after the mouse until a key is used.
        SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
        return 0;
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        // The common controls hear of new system colours only from their
        // parent.
        if (msg == WM_SYSCOLORCHANGE)
            SendMessageW(commandTree, WM_SYSCOLORCHANGE, 0, 0);
        if (dark::WindowPalette::changesColours(msg, wp))
            applyColours();
        return defaultProc(msg, wp, lp);
    case WM_DESTROY:
        dark::publishPalette(hwnd(), nullptr);
        shutDown();
        if (environment_.quitOnClose)
            PostQuitMessage(0);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // never holds up the log-off or shut-down
    case WM_ENDSESSION:
        if (wp)
            saveSettingsAtSessionEnd();
        return 0;
    case WM_SIZE:
        layoutControls();
        return 0;
    case WM_DPICHANGED:
        onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_ERASEBKGND:
        dark::eraseBackground(hwnd(), reinterpret_cast<HDC>(wp), palette());
        return 1;
    case WM_COMMAND:
        onCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_NOTIFY:
        return onNotify(*reinterpret_cast<NMHDR*>(lp));
    case WM_DRAWITEM: // the menu's items; the controls' go to their owners
        return dark::drawMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), palette());
    case WM_MEASUREITEM:
        return dark::measureMenuItem(hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_CONTEXTMENU:
        onContextMenu(reinterpret_cast<HWND>(wp), lp);
        return 0;
    case WM_ACTIVATE:
        if (onActivate(wp))
            return 0;
        return defaultProc(msg, wp, lp);
    case wine::TopmostRestacker::kMessage:
        restacker_.restackMessage(hwnd());
        return 0;
    case WM_DROPFILES:
        runGuarded(hwnd(), [&] { acceptDroppedLsp(reinterpret_cast<HDROP>(wp)); });
        return 0;
    }
    return defaultProc(msg, wp, lp);
}

bool MainWindow::onActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        rememberFocus();
        restacker_.deactivated(hwnd());
        return false;
    }
    if (HIWORD(wp)) // minimised: the focus comes back with the restore
        return false;
    restoreFocus(commandTree);
    return true;
}

void MainWindow::onCommand(int id, int code) {
    // Which notification of which control runs which handler. Menu items
    // run on any code (0 from the menu, 1 from an accelerator).
    constexpr int kAnyCode = -1;
    struct Route {
        int id;
        int code;
        void (MainWindow::*handler)();
    };
    static constexpr Route kRoutes[] = {
        {kSearchBoxId, EN_CHANGE, &MainWindow::showSearchResults},
        {kCommandOrderButtonId, BN_CLICKED, &MainWindow::showCommandOrder},
        {kFileOrderButtonId, BN_CLICKED, &MainWindow::showFileOrder},
        {kEscapeButtonId, BN_CLICKED, &MainWindow::pressEscapeInCad},
        {kTargetCadItem, kAnyCode, &MainWindow::openTargetDialog},
        {kEditListItem, kAnyCode, &MainWindow::editListInNotepad},
        {kReloadListItem, kAnyCode, &MainWindow::reloadList},
        {kVersionItem, kAnyCode, &MainWindow::showVersion},
    };
    for (const Route& route : kRoutes) {
        if (route.id == id && (route.code == kAnyCode || route.code == code)) {
            runGuarded(hwnd(), [&] { (this->*route.handler)(); });
            return;
        }
    }
}

LRESULT MainWindow::onNotify(NMHDR& header) {
    if (header.hwndFrom != commandTree)
        return 0;
    switch (header.code) {
    case NM_DBLCLK:
        runGuarded(hwnd(), [&] { runSelectedRow(); });
        return 0;
    case NM_RETURN: // Enter runs the row as a double-click does
        runGuarded(hwnd(), [&] { runSelectedRow(); });
        return TRUE;
    case TVN_SELCHANGEDW: {
        // The dark selection is drawn per row: repaint the rows it left and
        // entered.
        const auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
        for (HTREEITEM item : {change.itemOld.hItem, change.itemNew.hItem}) {
            RECT rect;
            if (item && TreeView_GetItemRect(commandTree, item, &rect, FALSE))
                InvalidateRect(commandTree, &rect, FALSE);
        }
        return 0;
    }
    }
    return 0;
}

void MainWindow::onContextMenu(HWND source, LPARAM lp) {
    POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    if (at.x == -1 && at.y == -1) // from the keyboard
        at = keyboardMenuPoint(source);
    TrackPopupMenu(contextMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   hwnd(), nullptr);
}

} // namespace morvane
