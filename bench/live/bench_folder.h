#pragma once
// What both live-list benchmarks share: a folder of their own under the
// temporary folder, gone with the run, and the figures they print.
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/win32/win32_text.h"

namespace morvane::bench {

class BenchFolder {
  public:
    explicit BenchFolder(const std::string& name) {
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        path_ = std::filesystem::path(temp) / (name + "-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(path_);
    }
    ~BenchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    // The folder, ending with a separator.
    std::u16string folder() const { return fromWide(path_.wstring()) + u"\\"; }

  private:
    std::filesystem::path path_;
};

inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

inline double worst(const std::vector<double>& values) {
    return *std::max_element(values.begin(), values.end());
}

} // namespace morvane::bench
