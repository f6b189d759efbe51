#pragma once
// Names and values inside the checker's messages, in double quotes so blanks
// at their ends show.
#include <string>
#include <string_view>

namespace morvane {

inline std::u16string quoted(std::u16string_view text) {
    std::u16string out(u"\"");
    out += text;
    out += u'"';
    return out;
}

} // namespace morvane
