#pragma once
// What the stand-in received, one line per event: microseconds on the
// performance counter (shared by all processes of the machine), a TAB, the
// event, a TAB, its detail. The whole file is rewritten atomically on every
// event, so a reader never sees half a line.
#include <functional>
#include <string>
#include <vector>

namespace standin {

class EventLog {
  public:
    explicit EventLog(std::wstring path) : path_(std::move(path)) {}

    void add(std::wstring_view event, std::wstring_view detail = {});
    // The lines shown in the window, newest last.
    const std::vector<std::wstring>& shown() const { return shown_; }
    void setOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

  private:
    std::wstring path_;
    std::string text_;
    std::vector<std::wstring> shown_;
    std::function<void()> onChange_;
};

// Control characters as <0D> and the like, so a line stays one line.
std::wstring escapeControls(std::wstring_view text);

} // namespace standin
