#include "cad_targets/target_list.h"

#include <algorithm>

#include "services/services.h"
#include "text/letters.h"
#include "text/user_error.h"

namespace morvane {

void throwListIndexError(int index) {
    throw UserError(
        formatText(u"リストのインデックスが範囲を超えています (%d)", {toDecimal(index)}));
}

const std::u16string& TargetList::at(int index) const {
    if (index < 0 || index >= count())
        throwListIndexError(index);
    return lines_[static_cast<size_t>(index)];
}

void TargetList::select(int index) {
    selected_ = index >= 0 && index < count() ? index : -1;
}

void TargetList::clear() {
    lines_.clear();
    selected_ = -1;
}

int TargetList::addSorted(std::u16string line) {
    const auto place = std::upper_bound(lines_.begin(), lines_.end(), line,
                                        [this](const std::u16string& a, const std::u16string& b) {
                                            return collator_->compareIgnoreCase(a, b) < 0;
                                        });
    const int index = static_cast<int>(place - lines_.begin());
    lines_.insert(place, std::move(line));
    if (selected_ >= index)
        ++selected_;
    return index;
}

int TargetList::findIgnoreCase(std::u16string_view text) const {
    for (int i = 0; i < count(); ++i)
        if (collator_->compareIgnoreCase(lines_[static_cast<size_t>(i)], text) == 0)
            return i;
    return -1;
}

bool TargetList::removeAt(int index) {
    if (index < 0 || index >= count())
        return false;
    lines_.erase(lines_.begin() + index);
    if (selected_ == index)
        selected_ = -1;
    else if (selected_ > index)
        --selected_;
    return true;
}

void TargetList::replaceAt(int index, std::u16string line) {
    if (index < 0 || index >= count())
        throwListIndexError(index);
    lines_[static_cast<size_t>(index)] = std::move(line);
    selected_ = index;
}

} // namespace morvane
