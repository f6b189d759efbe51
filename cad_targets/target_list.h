#pragma once
// The target list as the dialog's sorted list box holds it: ordered lines and
// a selection (-1 for none). Loading and adding insert at the sorted place,
// letter case ignored; replacing keeps the place, so the list may be out of
// order until it is loaded again.
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

class TextCollator;

class TargetList {
  public:
    explicit TargetList(const TextCollator& collator) : collator_(&collator) {}

    const std::vector<std::u16string>& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    int selected() const { return selected_; }

    // The line at index; outside the list throws the list index error.
    const std::u16string& at(int index) const;

    // Like the list box: an index outside the list selects nothing.
    void select(int index);

    void clear();

    // Inserts after the lines that sort equal, so equal lines keep their
    // loading order. Returns the index.
    int addSorted(std::u16string line);

    // The first line equal to text when letter case is ignored, or -1.
    int findIgnoreCase(std::u16string_view text) const;

    // Removes the line at index; -1 (or any index outside) removes nothing.
    // Returns whether a line was removed.
    bool removeAt(int index);

    // Puts line at index without sorting and selects it; throws the list
    // index error, changing nothing, when index is outside the list.
    void replaceAt(int index, std::u16string line);

  private:
    const TextCollator* collator_;
    std::vector<std::u16string> lines_;
    int selected_ = -1;
};

// "リストのインデックスが範囲を超えています (%d)"
[[noreturn]] void throwListIndexError(int index);

} // namespace morvane
