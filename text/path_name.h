#pragma once
// The file-name part of a path written with either separator, as Windows
// takes both.
#include <cstddef>
#include <string_view>

namespace morvane {

// Index just after the last "\" or "/", 0 when there is neither: the
// folder is path.substr(0, fileNameStart(path)), separator included.
inline size_t fileNameStart(std::u16string_view path) {
    const size_t separator = path.find_last_of(u"\\/");
    return separator == std::u16string_view::npos ? 0 : separator + 1;
}

} // namespace morvane
