#pragma once
// The main window: a small always-on-top tool window with the search
// toolbar, the Escape button and the command tree.
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "app/launcher_environment.h"
#include "app/launcher_state.h"
#include "app/node_images.h"
#include "app/shown_tree.h"
#include "app/system_answers.h"
#include "cad/cad_link.h"
#include "cad_targets/win32/target_dialog.h"
#include "list/tree_model.h"
#include "list/view_place.h"
#include "live/live_lists.h"
#include "platform/win32/folder_watch.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wine_workarounds.h"
#include "services/services.h"
#include "shell/main_layout.h"
#include "shell/settings_location.h"
#include "ui/dark_controls.h"
#include "ui/dark_extras.h"
#include "ui/dark_theme.h"
#include "ui/high_contrast.h"
#include "ui/panel.h"
#include "ui/window_base.h"
#include "ui/window_hook.h"
#include "ui/window_icons.h"

namespace morvane {

// What the main window is handed when it is made: the state it works on,
// the system's answers, the CAD link, the target chooser and whom to tell
// when it is gone. Its owner outlives the window and everything named here.
struct MainWindowLinks {
    LauncherState& state;
    // The services, the dark extras that give the tree and the search box
    // the system's dark themes, the high-contrast answer and the invisible
    // frame borders.
    const SystemAnswers& system;
    CadLink cad;
    // "ターゲット CAD": the user's choice for the current ProgID, or nothing
    // when cancelled.
    std::function<std::optional<TargetChoice>(std::u16string_view progId)> chooseTarget;
    // WM_DESTROY, once the settings are saved.
    std::function<void()> destroyed;
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
    kPinSeparator,
    kPinItem, // "ピン留め"
};

// The program's icon in the resources (resources/MorvaneX.rc).
inline constexpr int kProgramIconId = 1;
// What screen readers call the tree (the search box takes its label's).
inline constexpr std::u16string_view kCommandTreeName = u"コマンド一覧";

class MainWindow final : public WindowBase {
  public:
    MainWindow(LauncherEnvironment environment, MainWindowLinks links);
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
    // Keys of the whole window that no control sees first (Ctrl+F, Ctrl+D). True
    // when msg was one of them.
    bool translateKey(const MSG& msg);

    // What the controls and menu items do. Handlers of a subject live in a
    // part of their own (main_window_<subject>.cpp); onCommand, onNotify and
    // onOtherMessage call them for their control, menu item or message.
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
    // "ピン留め" and Ctrl+D (main_window_pins.cpp): pins or unpins the
    // command row of that key, writes the pins at once and rebuilds the
    // tree keeping its selection. Nothing for another row.
    void togglePin(int32_t row);
    // Ctrl+D: the same for the tree's selected row.
    void togglePinOfSelectedRow();
    // "ピン留め" chosen: the same for the row the menu was opened for.
    void togglePinOfMenuRow();
    // The window wrote this file itself (the target dialog's 追加, 削除 and
    // 変更): not a change to read again.
    void listWrittenHere(LiveFile file);
    // The hotkey (main_window_hotkey.cpp): the launcher restored, in front,
    // the search text selected in its box; pressed while the launcher is in
    // front, the window that was in front before gets the focus back.
    void activateFromHotkey();
    // [Keys] Activate as read at start: nullopt when missing.
    const std::optional<std::u16string>& activateSetting() const { return activateSetting_; }
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
    // Every message, nested ones included, inside the restacker's count;
    // then the window base's routing.
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    // WM_CREATE: controls, menu, colours, DPI, then startUp.
    void onInit() override;
    void onCommand(int id, int code) override;
    LRESULT onNotify(NMHDR& header) override;
    void onDpiChanged(UINT dpi, const RECT& suggested) override;
    void onDeactivated() noexcept override;
    HWND firstFocus() const override { return commandTree; }
    // The main window's own messages.
    LRESULT onOtherMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

    void startUp();
    void shutDown();
    void saveSettings();
    // WM_ENDSESSION: the settings written as on close, without a box.
    void saveSettingsAtSessionEnd() noexcept;
    // WM_ENDSESSION while the session goes on: with ENDSESSION_CLOSEAPP (the
    // Restart Manager of an installer or updater) the program must end.
    void endSession(LPARAM reasons) noexcept;
    // The invisible part of the frame at the window's style and DPI, by
    // the system's answer.
    FrameInsets invisibleFrame() const;
    void createControls();
    void createContextMenu();
    // The colours, and the dark extras on or off, for the high-contrast
    // answer of now: at creation, and again whenever the system's colours
    // or its high-contrast setting change. Repaints everything.
    void applyColours();
    void applyDpi(UINT dpi);
    void layoutControls();
    MainLayout currentLayout() const;
    // A build shown from its top, its first node selected; nothing for
    // nullopt.
    void showNodes(std::optional<TreeNodes> nodes);
    // The tree changed into nodes, its selection and scrolling left to the
    // caller.
    void replaceNodes(TreeNodes nodes);
    // The node of place.selected selected and that of place.top the first
    // on show, where the tree shows them; the first node otherwise.
    void showPlace(const TreePlace& place);
    // The nodes of a view of the rows, the search box's text as it is.
    std::optional<TreeNodes> nodesOfView(ListView view);

    // Lists that arrive live (main_window_live.cpp): the folder watch's
    // message and the one timer of the lists.
    static constexpr UINT kListsChangedMessage = WM_APP + 2;
    static constexpr UINT_PTR kListCheckTimer = 1;
    // Starts following the two files; stamps are those taken before they
    // were read.
    void startFollowingLists(const LiveStamps& stamps);
    void stopFollowingLists();
    // The folder watch's message, and the timer: quiet, whatever fails.
    void listsChanged() noexcept;
    void checkLists() noexcept;
    // The one timer, set for the moment the watch asks to be checked.
    void scheduleListCheck();
    // A read the watch asked for.
    ReloadResult reloadChangedFile(LiveFile file);
    ReloadResult reloadChangedList();
    ReloadResult reloadChangedTargets();
    // The file is on show as it was at stamp, by the window's own doing.
    void showingFile(LiveFile file, std::optional<FileStamp> stamp);
    std::optional<FileStamp> stampOf(LiveFile file) const;
    LiveStamps stampLists() const;

    void onContextMenu(HWND source, LPARAM lp);
    // The row key the menu's "ピン留め" applies to: the row under the pointer
    // for a right click on a row, otherwise the selected row.
    std::optional<int32_t> menuPinRow(HWND source, LPARAM lp) const;
    // "ピン留め" checked for a pinned command row, greyed for any other row.
    void preparePinItem(std::optional<int32_t> row);
    // The view on show built again, the selected node selected again.
    void rebuildKeepingSelection();
    // The pins into the settings file at once.
    void savePins();
    POINT keyboardMenuPoint(HWND source) const;
    bool onSearchBoxKey(WPARAM key);
    static LRESULT searchBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                 WindowHook& hook) noexcept;
    static LRESULT commandTreeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                                   WindowHook& hook) noexcept;

    PlatformServices& services() const { return links_.system.services; }
    const dark::Extras& darkExtras() const { return links_.system.darkExtras; }

    LauncherEnvironment environment_;
    MainWindowLinks links_;
    LauncherState& state_;
    // The row the open menu's "ピン留め" applies to.
    std::optional<int32_t> menuRow_;
    // The view the tree's last build was of.
    ListView shownView_ = ListView::FileOrder;
    // The command list and the target list followed while the window runs
    // (main_window_live.cpp): the watch decides when to read which file
    // again, the folder watch tells it of changes as they happen.
    std::optional<LiveListWatch> liveLists_;
    std::unique_ptr<FolderWatch> folderWatch_;
    // The context menu is open: its "ピン留め" names a row by its key.
    bool menuOpen_ = false;
    // A failed write of the pins has shown its box: once is enough.
    bool pinWriteFailureShown_ = false;
    std::optional<std::u16string> activateSetting_;
    // The window in front when the hotkey brought the launcher up.
    HWND beforeHotkey_ = nullptr;
    // Set when the session's end closes the window: the settings are saved
    // already, and nobody would see a box.
    bool endingWithSession_ = false;
    // Which settings files this user reads and writes, decided at start.
    SettingsFiles settingsFiles_;
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
    // What commandTree shows, node for node, and the item of each.
    ShownTree shownTree_;
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
