#pragma once
// Lines of LISP source as the indexer passes them between its stages.
#include <functional>
#include <string>
#include <vector>

namespace morvane {

using LspLines = std::vector<std::u16string>;

// Receives the new position of a progress indicator; nothing in the program
// passes one, but the stages keep the hook for callers that show progress.
using LspProgress = std::function<void(int position)>;

// Calls progress with a rising position before every line whose index is a
// multiple of lineCount / divisor (at least 1), and with 0 at the end.
class ProgressSteps {
  public:
    ProgressSteps(const LspProgress& progress, size_t lineCount, int divisor)
        : progress_(progress), step_(divisor > 0 && lineCount / static_cast<size_t>(divisor) > 0
                                         ? lineCount / static_cast<size_t>(divisor)
                                         : 1) {}
    ProgressSteps(const ProgressSteps&) = delete;
    ProgressSteps& operator=(const ProgressSteps&) = delete;

    void beforeLine(size_t index) {
        if (progress_ && index % step_ == 0)
            progress_(++position_);
    }
    void finish() {
        if (progress_)
            progress_(0);
    }

  private:
    const LspProgress& progress_;
    size_t step_;
    int position_ = 0;
};

} // namespace morvane
