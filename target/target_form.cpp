#include "target/target_form.h"

#include "platform/services.h"
#include "target/target_line.h"

namespace morvane {

TargetFormModel::TargetFormModel(std::u16string listPath, const PlatformServices& services,
                                 TargetFormView& view)
    : services_(services), view_(view), list_(services.collator), file_(std::move(listPath)) {}

void TargetFormModel::select(int index) {
    list_.select(index);
    view_.selectionSet(list_.selected());
}

void TargetFormModel::save() {
    file_.write(list_.lines(), services_);
}

void TargetFormModel::userSelected(int index) {
    list_.select(index);
    ListBox1Click();
}

void TargetFormModel::FormShow(std::u16string_view dialogProgID) {
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
        if (targetLineMatches(list_.lines()[static_cast<size_t>(i)], dialogProgID)) {
            select(i);
            ListBox1Click();
            return;
        }
    }
}

void TargetFormModel::ListBox1Click() {
    const auto parts = splitTargetLine(list_.at(list_.selected()));
    view_.setEdit1Text(parts.name);
    view_.setEdit2Text(parts.progId);
}

void TargetFormModel::SpeedButton1Click() {
    const std::u16string line = makeTargetLine(view_.edit1Text(), view_.edit2Text());
    view_.lineInserted(list_.addSorted(line), line);
    select(list_.findIgnoreCase(line));
    ListBox1Click();
    save();
}

void TargetFormModel::SpeedButton2Click() {
    const int index = list_.selected();
    if (list_.removeAt(index))
        view_.lineRemoved(index);
    view_.setEdit1Text(u"");
    view_.setEdit2Text(u"");
    const int count = list_.count();
    if (index + 1 < count) {
        // With nothing selected this selects -1 again, and ListBox1Click
        // raises the index error before anything is saved.
        select(index);
        ListBox1Click();
    } else if (index - 1 >= 0) {
        select(index - 1);
        ListBox1Click();
    } else {
        select(-1);
    }
    save();
}

void TargetFormModel::SpeedButton3Click() {
    const int index = list_.selected();
    const std::u16string line = makeTargetLine(view_.edit1Text(), view_.edit2Text());
    list_.replaceAt(index, line);
    view_.lineRemoved(index);
    view_.lineInserted(index, line);
    view_.selectionSet(index);
    save();
}

} // namespace morvane
