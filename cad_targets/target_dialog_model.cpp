#include "cad_targets/target_dialog_model.h"

#include "cad_targets/target_line.h"
#include "services/services.h"

namespace morvane {

TargetDialogModel::TargetDialogModel(std::u16string listPath, const PlatformServices& services,
                                     TargetDialogView& view)
    : services_(services), view_(view), list_(services.collator), file_(std::move(listPath)) {}

void TargetDialogModel::select(int index) {
    list_.select(index);
    view_.selectionSet(list_.selected());
}

void TargetDialogModel::save() {
    file_.write(list_.lines(), services_);
    if (saved_)
        saved_(file_.path());
}

void TargetDialogModel::userSelected(int index) {
    list_.select(index);
    showSelectedTarget();
}

void TargetDialogModel::load(std::u16string_view progId) {
    auto lines = file_.read(services_);
    if (!lines)
        return;
    list_.clear();
    view_.listCleared();
    for (auto& line : *lines) {
        const std::u16string shown = line;
        view_.lineInserted(list_.addSorted(std::move(line)), shown);
    }
    for (int i = 0; i < list_.count(); ++i) {
        if (targetLineMatches(list_.lines()[static_cast<size_t>(i)], progId)) {
            select(i);
            showSelectedTarget();
            return;
        }
    }
}

void TargetDialogModel::showSelectedTarget() {
    const auto parts = splitTargetLine(list_.at(list_.selected()));
    view_.setNameText(parts.name);
    view_.setProgIdText(parts.progId);
}

void TargetDialogModel::addTarget() {
    const std::u16string line = makeTargetLine(view_.nameText(), view_.progIdText());
    view_.lineInserted(list_.addSorted(line), line);
    select(list_.findIgnoreCase(line));
    showSelectedTarget();
    save();
}

void TargetDialogModel::deleteTarget() {
    const int index = list_.selected();
    if (list_.removeAt(index))
        view_.lineRemoved(index);
    view_.setNameText(u"");
    view_.setProgIdText(u"");
    const int count = list_.count();
    if (index + 1 < count) {
        // With nothing selected this selects -1 again, and showSelectedTarget
        // raises the index error before anything is saved.
        select(index);
        showSelectedTarget();
    } else if (index - 1 >= 0) {
        select(index - 1);
        showSelectedTarget();
    } else {
        select(-1);
    }
    save();
}

void TargetDialogModel::changeTarget() {
    const int index = list_.selected();
    const std::u16string line = makeTargetLine(view_.nameText(), view_.progIdText());
    list_.replaceAt(index, line);
    view_.lineRemoved(index);
    view_.lineInserted(index, line);
    view_.selectionSet(index);
    save();
}

} // namespace morvane
