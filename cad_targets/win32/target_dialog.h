#pragma once
// The Target CAD dialog: made hidden once the main window is up and kept to
// the end, so that its list and edits live between openings; shown modally
// by the main window's "ターゲット CAD" menu item.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "cad_targets/target_dialog_model.h"
#include "platform/win32/scoped.h"
#include "ui/dark_controls.h"
#include "ui/dark_theme.h"
#include "ui/high_contrast.h"
#include "ui/window_base.h"
#include "ui/window_hook.h"

namespace morvane {

struct PlatformServices;

enum TargetDialogId : int {
    kTargetListId = 1001,
    kNameEditId,
    kProgIdEditId,
    kAddButtonId,
    kDeleteButtonId,
    kChangeButtonId,
    kOkButtonId,
    kCancelButtonId,
    kNameLabelId,
    kProgIdLabelId,
    kEditsGroupId,
};

// What screen readers call the list, the group box and the edits (the
// labels' texts say more than a name needs to).
inline constexpr std::u16string_view kTargetListName = u"ターゲット CAD 一覧";
inline constexpr std::u16string_view kEditsGroupTitle = u"ターゲットの編集";
inline constexpr std::u16string_view kNameEditName = u"名称";
inline constexpr std::u16string_view kProgIdEditName = u"ProgID";

// What the user took with OK: the edits' texts.
struct TargetChoice {
    std::u16string name;
    std::u16string progId;
};

class TargetDialog final : public DialogBase, private TargetDialogView {
  public:
    // Hidden until chosen from; owned by owner (the main window). darkExtras
    // (kept by reference) gives the list and the edits the system's dark
    // themes where it has them; highContrast (the owner's, kept too) answers
    // whether the system's colours replace the dark ones.
    TargetDialog(HWND owner, std::u16string listPath, const PlatformServices& services,
                 const dark::Extras& darkExtras, const HighContrastQuestion& highContrast);
    ~TargetDialog() override;

    // Reloads the list, preselecting the line of progId, and shows the
    // dialog centred on the screen and modal over its owner, the owner
    // stepping out of always-on-top and the dialog into it meanwhile.
    // The edits' texts on OK; nullopt on 取り消し or the close box.
    std::optional<TargetChoice> choose(std::u16string_view progId);

    std::u16string nameText() const override;
    std::u16string progIdText() const override;
    const TargetDialogModel& model() const { return model_; }
    // After each save of the list (追加, 削除, 変更): see TargetDialogModel.
    void onListSaved(std::function<void(std::u16string_view path)> saved) {
        model_.onSaved(std::move(saved));
    }
    // The colours the dialog paints with now.
    const dark::Palette& palette() const { return colours_.palette(); }

    // What the list and the buttons do; an error ends the handler and shows
    // the error box. The model owns the selection; the list box shows it
    // and reports the user's moves of it (LBN_SELCHANGE).
    void userSelected(int index);
    void addTarget();
    void deleteTarget();
    void changeTarget();

  private:
    void setNameText(std::u16string_view text) override;
    void setProgIdText(std::u16string_view text) override;
    void listCleared() override;
    void lineInserted(int index, std::u16string_view line) override;
    void lineRemoved(int index) override;
    void selectionSet(int index) override;

    void onInit() override;
    void onOpen() override;
    void onCommand(int id, int code) override;
    void onDpiChanged(UINT dpi, const RECT& suggested) override;
    LRESULT onOtherMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

    int listSelection() const;
    // The colours for the high-contrast answer of now (see MainWindow's).
    void applyColours();
    void applyDpi(UINT dpi);
    void placeCentred();
    void onEditKey(wchar_t& key);
    static LRESULT editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept;
    static LRESULT listProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept;

    TargetDialogModel model_;
    const dark::Extras& darkExtras_;
    // What the controls' owners and the border hooks paint with.
    dark::WindowPalette colours_;
    // The ProgID whose line the next opening preselects.
    std::u16string openingProgId_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    // The client size of the layout at dpi_.
    SIZE clientSize_{};
    UniqueFont dialogFont_, listFont_, labelFont_, editFont_;
    dark::ListRows listRows_{colours_.palette()};
    dark::TextColours labels_{colours_.palette()};
    dark::ButtonPainter buttonPainter_{dark::ButtonLook::Normal, colours_.palette()};
    HWND targetList_ = nullptr, nameEdit_ = nullptr, progIdEdit_ = nullptr;
    HWND nameLabel_ = nullptr, progIdLabel_ = nullptr, okButton_ = nullptr, cancelButton_ = nullptr;
    HWND addButton_ = nullptr, deleteButton_ = nullptr, changeButton_ = nullptr;
    HWND editsGroup_ = nullptr;
};

} // namespace morvane
