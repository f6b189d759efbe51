// The main window's life: creation with startUp, the message dispatch, and
// shutDown.
#include "app/main_window.h"

#include <shellapi.h>
#include <windowsx.h>

#include <utility>

#include "app/settings_file.h"
#include "cad_targets/caption.h"
#include "list/list_file.h"
#include "list/pins.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/wine_workarounds.h"
#include "services/services.h"
#include "shell/launcher_settings.h"
#include "shell/main_layout.h"
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

// The outer rectangle to remember (boundsToRemember) from what the system
// says of the window and its monitor.
WindowBounds currentOuterBounds(HWND hwnd) {
    const bool minimised = IsIconic(hwnd) != FALSE;
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    MONITORINFO info{};
    info.cbSize = sizeof info;
    std::optional<MonitorOrigins> monitor;
    if (minimised) {
        GetWindowPlacement(hwnd, &placement);
        if (GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY), &info))
            monitor = MonitorOrigins{{info.rcWork.left, info.rcWork.top},
                                     {info.rcMonitor.left, info.rcMonitor.top}};
    }
    return boundsToRemember(minimised, outerBounds(hwnd), boundsOf(placement.rcNormalPosition),
                            monitor);
}

} // namespace

MainWindow::MainWindow(LauncherEnvironment environment, MainWindowLinks links)
    : environment_(std::move(environment)), links_(std::move(links)),
      state_(links_.state), settingsFiles_{SettingsPlace::BesideExe, environment_.settingsPath,
                                           environment_.userSettingsPath},
      colours_(links_.system.highContrast) {}

MainWindow::~MainWindow() {
    if (hwnd())
        DestroyWindow(hwnd());
}

std::u16string MainWindow::listFilePath() const {
    return environment_.exeFolder + std::u16string(kListFileName);
}

HWND MainWindow::create() {
    registerClass(kWindowClass,
                  LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconId)));
    const UINT dpi = systemDpi();
    const SIZE size = designedOuterSize(dpi);
    return createWindow(kWindowClass, toWide(kDesignedCaption).c_str(), kWindowStyle,
                        kWindowExStyle, 0, 0, size.cx, size.cy, nullptr);
}

void MainWindow::startUp() {
    setSearchText(u"");

    ProfileSettingsStorage storage(services().files);
    settingsFiles_ =
        chooseSettingsFiles(environment_.settingsPath, environment_.userSettingsPath, storage);
    const LauncherSettings settings = readSettings(settingsFiles_, storage);
    const WindowBounds designed = outerBounds(hwnd());
    const WindowBounds bounds =
        placeWindow(settings, designed.width, designed.height, GetSystemMetrics(SM_CXSCREEN),
                    GetSystemMetrics(SM_CYSCREEN), invisibleFrame());
    SetWindowPos(hwnd(), nullptr, bounds.left, bounds.top, bounds.width, bounds.height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    state_.targetProgID = settings.progId;
    state_.pins = pinsFromSettingsValues(settings.pinned);
    activateSetting_ = settings.activate;

    // The Escape button fills its panel (lime green, coloured by applyColours).
    RECT panel;
    GetClientRect(escapePanel, &panel);
    SetWindowPos(escapeButton, nullptr, 0, 0, panel.right, panel.bottom, SWP_NOZORDER);
    SetWindowTextW(escapeButton, L"ESC");
    escapeButtonFillsPanel_ = true;

    // The files' stamps before they are read: a change made while they are
    // read shows as one. The lists are followed from here on, also when the
    // list cannot be read now and start-up ends at it.
    startFollowingLists(stampLists());
    loadMorvaneList(listFilePath());
    showRowsInFileOrder();
    lookUpCaption();
    DragAcceptFiles(hwnd(), TRUE);
    // Created topmost already (see kWindowExStyle); a second z-order change
    // would only cost a round of window updates.
    if (!isTopmost(hwnd()))
        setTopmost(hwnd(), true);
}

FrameInsets MainWindow::invisibleFrame() const {
    const auto& question = links_.system.invisibleFrame;
    return question ? question(kWindowStyle, kWindowExStyle, dpi_) : FrameInsets{};
}

void MainWindow::saveSettings() {
    ProfileSettingsStorage storage(services().files);
    writeSettings(settingsFiles_,
                  LauncherSettings::toKeep(currentOuterBounds(hwnd()), state_.targetProgID,
                                           pinSettingsValues(state_.pins)),
                  storage);
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
    if (!endingWithSession_)
        runGuarded(nullptr, [&] { saveSettings(); });
    if (links_.destroyed)
        links_.destroyed();
}

void MainWindow::endSession(LPARAM reasons) noexcept {
    saveSettingsAtSessionEnd();
    // At log-off and shut-down the window lives on until Windows ends the
    // process. The Restart Manager instead waits for the program to end:
    // the window closes as the close box closes it, saving nothing again.
    if (reasons & ENDSESSION_CLOSEAPP) {
        endingWithSession_ = true;
        DestroyWindow(hwnd());
    }
}

void MainWindow::lookUpCaption() {
    const auto caption =
        morvane::lookUpCaption(environment_.exeFolder, state_.targetProgID, services());
    if (caption)
        setWindowText(hwnd(), *caption);
}

LRESULT MainWindow::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    // Kept: the window may be gone when the handler returns.
    HWND window = hwnd();
    restacker_.enter();
    const LRESULT result = WindowBase::onMessage(msg, wp, lp);
    restacker_.leave(window);
    return result;
}

void MainWindow::onInit() {
    dpi_ = dpiOfWindow(hwnd());
    createControls();
    createContextMenu();
    applyColours();
    applyDpi(dpi_);
    runGuarded(hwnd(), [&] { startUp(); });
    // Focus frames as the input that started the program asks: hidden
    // after the mouse until a key is used.
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
}

LRESULT MainWindow::onOtherMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
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
    case kListsChangedMessage:
        listsChanged();
        return 0;
    case WM_ENABLE:
        // A modal box or dialog has closed: changes that waited show now.
        if (wp)
            checkLists();
        return defaultProc(msg, wp, lp);
    case WM_TIMER:
        if (wp == kListCheckTimer) {
            checkLists();
            return 0;
        }
        return defaultProc(msg, wp, lp);
    case WM_DESTROY:
        stopFollowingLists();
        dark::publishPalette(hwnd(), nullptr);
        shutDown();
        if (environment_.quitOnClose)
            PostQuitMessage(0);
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE; // never holds up the log-off, the shut-down or a restart
    case WM_ENDSESSION:
        if (wp)
            endSession(lp);
        return 0;
    case WM_SIZE:
        layoutControls();
        return 0;
    case WM_ERASEBKGND:
        dark::eraseBackground(hwnd(), reinterpret_cast<HDC>(wp), palette());
        return 1;
    case WM_DRAWITEM: // the menu's items; the controls' go to their owners
        return dark::drawMenuItem(*reinterpret_cast<DRAWITEMSTRUCT*>(lp), palette());
    case WM_MEASUREITEM:
        return dark::measureMenuItem(hwnd(), *reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
    case WM_CONTEXTMENU:
        onContextMenu(reinterpret_cast<HWND>(wp), lp);
        return 0;
    case wine::TopmostRestacker::kMessage:
        restacker_.restackMessage(hwnd());
        return 0;
    case WM_HOTKEY:
        activateFromHotkey();
        return 0;
    case WM_DROPFILES:
        runGuarded(hwnd(), [&] { acceptDroppedLsp(reinterpret_cast<HDROP>(wp)); });
        return 0;
    }
    return defaultProc(msg, wp, lp);
}

void MainWindow::onDeactivated() noexcept {
    restacker_.deactivated(hwnd());
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
        {kPinItem, kAnyCode, &MainWindow::togglePinOfMenuRow},
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
    menuRow_ = menuPinRow(source, lp);
    preparePinItem(menuRow_);
    if (at.x == -1 && at.y == -1) // from the keyboard
        at = keyboardMenuPoint(source);
    menuOpen_ = true;
    TrackPopupMenu(contextMenu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0,
                   hwnd(), nullptr);
    menuOpen_ = false;
    // The chosen item's command is posted: it runs first, then the lists
    // are checked again.
    PostMessageW(hwnd(), kListsChangedMessage, 0, 0);
}

} // namespace morvane
