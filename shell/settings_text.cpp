#include "shell/settings_text.h"

#include "text/letters.h"

namespace morvane {
namespace {

// What the profile functions' buffer of 2048 characters holds, its end mark
// taken off.
constexpr size_t kLongestValue = 2047;

} // namespace

std::optional<size_t> SettingsText::lineOf(SettingsKey key) const {
    const std::u16string wantedSection = upperAscii(key.section);
    const std::u16string wantedName = upperAscii(key.name);
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::u16string_view text = trimBlanks(lines_[i]);
        if (text.starts_with(u"[")) {
            const size_t close = text.find(u']');
            inSection = upperAscii(trimBlanks(text.substr(
                            1, close == text.npos ? text.npos : close - 1))) == wantedSection;
            continue;
        }
        const size_t equals = text.find(u'=');
        if (inSection && equals != text.npos &&
            upperAscii(trimBlanks(text.substr(0, equals))) == wantedName)
            return i;
    }
    return std::nullopt;
}

SettingsPairs SettingsText::readSection(std::u16string_view section) const {
    const std::u16string wantedSection = upperAscii(section);
    SettingsPairs pairs;
    bool inSection = false;
    for (const auto& line : lines_) {
        const std::u16string_view text = trimBlanks(line);
        if (text.starts_with(u"[")) {
            const size_t close = text.find(u']');
            inSection = upperAscii(trimBlanks(text.substr(
                            1, close == text.npos ? text.npos : close - 1))) == wantedSection;
            continue;
        }
        const size_t equals = text.find(u'=');
        if (!inSection || equals == text.npos)
            continue;
        const std::u16string name(trimBlanks(text.substr(0, equals)));
        if (auto value = readText({section, name}))
            pairs.emplace_back(name, std::move(*value));
    }
    return pairs;
}

std::optional<std::u16string> SettingsText::readText(SettingsKey key) const {
    const auto line = lineOf(key);
    if (!line)
        return std::nullopt;
    const std::u16string_view text = trimBlanks(lines_[*line]);
    std::u16string_view value = trimBlanks(text.substr(text.find(u'=') + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::u16string(value.substr(0, kLongestValue));
}

} // namespace morvane
