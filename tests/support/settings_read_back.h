#pragma once
// What the profile functions hand back for values written to the settings
// file, for tests and fuzz targets that write values and read them again
// without a settings file: blanks at the ends trimmed (Wine trims every
// Unicode space; a few of them stand for all), then a pair of enclosing
// quotes removed.
#include <string>
#include <string_view>

#include "shell/launcher_settings.h"

namespace morvane::test {

inline std::u16string asReadBack(std::u16string_view value) {
    auto blank = [](char16_t c) { return c <= 32 || c == 0x3000 || c == 0xA0 || c == 0x2028; };
    while (!value.empty() && blank(value.front()))
        value.remove_prefix(1);
    while (!value.empty() && blank(value.back()))
        value.remove_suffix(1);
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::u16string(value);
}

// Each pair's value as read back, the keys as written.
inline SettingsPairs asReadBack(const SettingsPairs& written) {
    SettingsPairs read;
    read.reserve(written.size());
    for (const auto& [key, value] : written)
        read.emplace_back(key, asReadBack(value));
    return read;
}

} // namespace morvane::test
