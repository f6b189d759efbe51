#pragma once
// The main window: a small always-on-top tool window with the search
// toolbar, the Escape button and the command tree.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>

#include "app/launcher_state.h"
#include "app/node_images.h"
#include "list/tree_model.h"
#include "platform/services.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wine_workarounds.h"
#include "shell/main_layout.h"
#include "ui/dark_controls.h"
#include "ui/dark_extras.h"
#include "ui/dark_theme.h"
#include "ui/high_contrast.h"
#include "ui/panel.h"
#include "ui/window_base.h"
#include "ui/window_hook.h"
#include "ui/window_icons.h"

namespace morvane {

// Where the window finds its files. The program passes its own folder;
// tests pass a folder of their own.
struct LauncherEnvironment {
    std::u16string exeFolder;    // ends with a path separator
    std::u16string settingsPath; // the executable's path with ".ini"
    bool quitOnClose = true;     // closing the main window ends the message loop

    static LauncherEnvironment forThisProgram();
};

// Control and menu identifiers (WM_COMMAND, WM_NOTIFY).
enum MainWindowId : int {
    kCommandTreeId = 101,
    kCommandOrderButtonId,
    kFileOrderButtonId,
    kSearchBoxId,
    kEscapePanelId,
    kEscapeButtonId,
    kSearchLabelId,
    kTargetCadItem = 201,
    kListSeparator,
    kEditListItem,
    kReloadListItem,
    kVersionSeparator,
    kVersionItem,
};

// The program's icon in the resources (resources/MorvaneX.rc).
inline constexpr int kProgramIconId = 1;
// What screen readers call the tree (the search box takes its label's).
inline constexpr std::u16string_view kCommandTreeName = u"コマンド一覧";

class LauncherHost;

class MainWindow final : public WindowBase {
  public:
    // Made by its host, which it reaches for the state, the system's
    // answers (services, the dark extras that give the tree and the search
    // box the system's dark themes), the CAD link and the target dialog.
    MainWindow(LauncherHost& host, LauncherEnvironment environment);
    ~MainWindow() override;

    // Creates the window (restoring its place and loading the list) without
    // showing it.
    HWND create();

    const LauncherEnvironment& environment() const { return environment_; }
    // The colours the window paints with now.
    const dark::Palette& palette() const { return colours_.palette(); }
    LauncherState& state() { return state_; }
    // The executable's folder followed by "MorvaneList.txt".
    std::u16string listFilePath() const;

    // The tree shows the command list in file or command order (the search
    // text left as it is).
    void showRowsInFileOrder();
    void showRowsInCommandOrder();
    void loadMorvaneList(std::u16string_view path);
    // "MorvaneX [ name ]" for the target ProgID, when the target list names it.
    void lookUpCaption();
    // Sets the search text; a change shows the search results at once.
    void setSearchText(std::u16string_view text);

    // The message loop's step before dispatching a message: the window's
    // own keys (translateKey), then the dialog manager's Tab and Shift+Tab.
    // True when msg is handled and must not be dispatched.
    bool preTranslateMessage(MSG& msg);
    // Keys of the whole window that no control sees first (Ctrl+F). True
    // when msg was one of them.
    bool translateKey(const MSG& msg);

    // What the controls and menu items do. Handlers of a subject live in a
    // part of their own (main_window_<subject>.cpp); onCommand, onNotify and
    // handleMessage call them for their control, menu item or message.
    void showSearchResults();
    void showCommandOrder(); // "ABC順"
    void showFileOrder();    // "取得順"
    void editListInNotepad();
    void reloadList();
    void showVersion();
    // "ターゲット CAD" (main_window_target.cpp).
    void openTargetDialog();
    // The CAD link (main_window_cad.cpp): the selected row, and "ESC".
    void runSelectedRow();
    void pressEscapeInCad();
    // Ctrl+F: the search box with its text selected, ready to be typed over.
    void focusSearchBox();
    // Down in the search box: the tree, its first row selected.
    void focusFirstRow();
    // Focus frames on every control once the keyboard is used.
    void showFocusFrames();
    // WM_DROPFILES: the first dropped LISP file, after the user agrees,
    // becomes the command list.
    void acceptDroppedLsp(HDROP drop);

    HWND commandTree = nullptr;
    HWND commandOrderButton = nullptr;
    HWND fileOrderButton = nullptr;
    HWND searchBox = nullptr;
    HWND escapePanel = nullptr;
    HWND escapeButton = nullptr;
    HWND searchLabel = nullptr;
    HMENU contextMenu = nullptr;

  private:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    void startUp();
    void shutDown();
    void saveSettings();
    // WM_ENDSESSION: the settings written as on close, without a box.
    void saveSettingsAtSessionEnd() noexcept;
    void createControls();
    void createContextMenu();
    // The colours, and the dark extras on or off, for the high-contrast
    // answer of now: at creation, and again whenever the system's colours
    // or its high-contrast setting change. Repaints everything.
    void applyColours();
    void applyDpi(UINT dpi);
    void layoutControls();
    MainLayout currentLayout() const;
    void showNodes(std::optional<TreeNodes> nodes);

    void onCommand(int id, int code);
    LRESULT onNotify(NMHDR& header);
    void onContextMenu(HWND source, LPARAM lp);
    POINT keyboardMenuPoint(HWND source) const;
    void onDpiChanged(UINT dpi, const RECT& suggested);
    // True when the focus was given back (the default handling would put
    // it on the window itself).
    bool onActivate(WPARAM wp);
    bool onSearchBoxKey(WPARAM key);
    static LRESULT searchBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                 WindowHook& hook) noexcept;
    static LRESULT commandTreeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                   WindowHook& hook) noexcept;

    PlatformServices& services() const;
    const dark::Extras& darkExtras() const;

    LauncherHost& host_;
    LauncherState& state_;
    LauncherEnvironment environment_;
    // What the controls' owners and the search box's border paint with.
    dark::WindowPalette colours_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueFont windowFont_;
    UniqueFont editFont_;
    UniqueFont treeFont_;
    UniqueFont escapeFont_;
    UniqueImageList nodeImages_;
    WindowIcons icons_;
    UniqueMenu contextMenuOwner_;
    // What commandTree shows, node for node: each build changes only the
    // rows that differ.
    TreeNodes shownNodes_;
    // Under Wine the CAD, once activated, can end up drawn above us.
    wine::TopmostRestacker restacker_;
    // Start-up has sized the Escape button to fill its panel; from then on
    // the layout keeps it so.
    bool escapeButtonFillsPanel_ = false;
    // What draws and colours the controls.
    Panel escapePanel_;
    dark::ButtonPainter buttonPainter_{dark::ButtonLook::Normal, colours_.palette()};
    dark::ButtonPainter escapeButtonPainter_{dark::ButtonLook::Lime, colours_.palette()};
    dark::TextColours textColours_{colours_.palette()};
    dark::TreeSelection treeSelection_{colours_.palette()};
};

} // namespace morvane
