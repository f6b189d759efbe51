#pragma once
// TMorvaneForm, the main window: a small always-on-top tool window with the
// search toolbar, the Escape button and the command tree.
#include <windows.h>

#include <shellapi.h>

#include <memory>
#include <string>
#include <string_view>

#include "app/node_images.h"
#include "app/window_base.h"
#include "list/tree_model.h"
#include "platform/win32/scoped.h"
#include "shell/main_layout.h"

namespace morvane {

// Where the form finds its files. The program passes its own folder; tests
// pass a folder of their own.
struct FormEnvironment {
    std::u16string exeFolder;    // ends with a path separator
    std::u16string settingsPath; // the executable's path with ".ini"
    bool quitOnClose = true;     // closing the main window ends the message loop

    static FormEnvironment forThisProgram();
};

// Control and menu identifiers (WM_COMMAND, WM_NOTIFY).
enum FormId : int {
    kTreeView1 = 101,
    kButton2,
    kButton3,
    kEdit1,
    kPanel1,
    kSpeedButton1,
    kLabel1,
    kCAD2 = 201,
    kN1,
    kMorvaneListtxt1,
    kMorvaneListtxt2,
    kN2,
    kN3,
};

inline constexpr std::u16string_view kListFileName = u"MorvaneList.txt";

class TTargetCADForm;

class TMorvaneForm final : public WindowBase {
  public:
    explicit TMorvaneForm(FormEnvironment environment);
    ~TMorvaneForm() override;

    // Creates the window (running FormCreate) without showing it.
    HWND create();

    const FormEnvironment& environment() const { return environment_; }
    // The executable's folder followed by "MorvaneList.txt".
    std::u16string listFilePath() const;

    // The three views of the command list (every build rebuilds the tree).
    void makeTreeViewItemsByRow();
    void makeTreeViewItemsByCmd();
    void makeTreeViewItemsByStr();
    void loadMorvaneList(std::u16string_view fName);
    // "MorvaneX [ name ]" for targetProgID, when the target list names it.
    void lookUpCaption();
    // Sets the search text; a change runs Edit1Change at once.
    void setSearchText(std::u16string_view text);

    // Event handlers. Handlers of further subjects go into parts of their own
    // (morvane_form_<subject>.cpp); onCommand, onNotify and onMessage call
    // them for their control, menu item or message.
    void Edit1Change();
    void Button2Click();
    void Button3Click();
    void MorvaneListtxt1Click();
    void MorvaneListtxt2Click();
    void N3Click();
    // "ターゲット CAD": the target dialog (morvane_form_target.cpp).
    void CAD2Click();
    // Makes the hidden target dialog unless there is one. The program calls
    // it once the window is painted and idle; CAD2Click calls it too, in
    // case the menu is used before that.
    void makeTargetCADForm();
    // The CAD link (morvane_form_cad.cpp).
    void TreeView1DblClick();
    void SpeedButton1Click();
    // WM_DROPFILES: the first dropped LISP file, after the user agrees,
    // becomes the command list.
    void acceptDroppedLsp(HDROP drop);

    HWND TreeView1 = nullptr;
    HWND Button2 = nullptr;
    HWND Button3 = nullptr;
    HWND Edit1 = nullptr;
    HWND Panel1 = nullptr;
    HWND SpeedButton1 = nullptr;
    HWND Label1 = nullptr;
    HMENU PopupMenu1 = nullptr;

  private:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept;

    void FormCreate();
    void FormDestroy();
    void saveSettings();
    void createControls();
    void createPopupMenu();
    void applyDpi(UINT dpi);
    void layoutControls();
    MainLayout currentLayout() const;
    void showNodes(std::optional<TreeNodes> nodes);

    void onCommand(int id, int code);
    LRESULT onNotify(NMHDR& header);
    LRESULT onTreeCustomDraw(NMTVCUSTOMDRAW& draw);
    void onDrawItem(DRAWITEMSTRUCT& item);
    void onContextMenu(LPARAM lp);
    void onDpiChanged(UINT dpi, const RECT& suggested);

    FormEnvironment environment_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueFont windowFont_;
    UniqueFont editFont_;
    UniqueFont treeFont_;
    UniqueFont escapeFont_;
    UniqueImageList ImageList2;
    UniqueMenu popupMenuOwner_;
    std::unique_ptr<TTargetCADForm> targetCADForm_;
    // What TreeView1 shows, node for node: each build changes only the rows
    // that differ.
    TreeNodes shownNodes_;
    int messageDepth_ = 0;
    bool restackPending_ = false;
};

} // namespace morvane
