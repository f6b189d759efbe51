#pragma once
// What the target dialog does, free of the window system: each handler of
// TargetDialog is one call here, and the dialog only mirrors the effects
// onto its list box and edits, in the order they happen. An error ends the
// handler where it is thrown; effects up to that point stay.
#include <functional>
#include <string>
#include <string_view>

#include "cad_targets/target_file.h"
#include "cad_targets/target_list.h"

namespace morvane {

struct PlatformServices;

// The dialog's controls as the handlers see them.
class TargetDialogView {
  public:
    virtual ~TargetDialogView() = default;
    virtual std::u16string nameText() const = 0;
    virtual std::u16string progIdText() const = 0;
    virtual void setNameText(std::u16string_view text) = 0;
    virtual void setProgIdText(std::u16string_view text) = 0;
    virtual void listCleared() = 0;
    virtual void lineInserted(int index, std::u16string_view line) = 0;
    virtual void lineRemoved(int index) = 0;
    // -1 selects nothing; never reported back as a user's selection.
    virtual void selectionSet(int index) = 0;
};

class TargetDialogModel {
  public:
    TargetDialogModel(std::u16string listPath, const PlatformServices& services,
                      TargetDialogView& view);

    const TargetList& list() const { return list_; }
    const TargetListFile& file() const { return file_; }

    // The user moved the list box's selection (the one way a selection
    // comes in; the model owns it and the list box shows it);
    // showSelectedTarget follows.
    void userSelected(int index);

    // Reloads the list from its file, if there is one, and preselects the
    // first line holding TAB + progId.
    void load(std::u16string_view progId);
    // Copies the selected line's name and ProgID into the edits.
    void showSelectedTarget();
    // 追加: adds the edits' line at its sorted place, selects it, saves.
    void addTarget();
    // 削除: removes the selected line, selects a neighbour, saves.
    void deleteTarget();
    // 変更 (and Enter in an edit): replaces the selected line in place, saves.
    void changeTarget();

    // Called with the file's path after each save that wrote the file, so
    // the owner can tell its own writes from others' (the main window's
    // live lists, live/live_lists.h: LiveListWatch::nowShowing).
    void onSaved(std::function<void(std::u16string_view path)> saved) { saved_ = std::move(saved); }

  private:
    void select(int index);
    void save();

    const PlatformServices& services_;
    TargetDialogView& view_;
    TargetList list_;
    TargetListFile file_;
    std::function<void(std::u16string_view path)> saved_;
};

} // namespace morvane
