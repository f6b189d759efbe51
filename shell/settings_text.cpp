#include "shell/settings_text.h"

#include <algorithm>

#include "text/letters.h"

namespace morvane {
namespace {

// What the profile functions' buffer of 2048 characters holds, its end mark
// taken off.
constexpr size_t kLongestValue = 2047;

// The name of the section a line opens, when it opens one.
std::optional<std::u16string_view> sectionOpenedBy(std::u16string_view text) {
    if (!text.starts_with(u"["))
        return std::nullopt;
    const size_t close = text.find(u']');
    return trimBlanks(text.substr(1, close == text.npos ? text.npos : close - 1));
}

} // namespace

std::vector<SettingsText::KeyLine> SettingsText::keyLines(std::u16string_view section) const {
    std::vector<KeyLine> keys;
    bool inSection = false;
    for (size_t i = 0; i < lines_.size(); ++i) {
        const std::u16string_view text = trimBlanks(lines_[i]);
        if (const auto opened = sectionOpenedBy(text)) {
            inSection = equalIgnoringAsciiCase(*opened, section);
            continue;
        }
        const size_t equals = text.find(u'=');
        if (inSection && equals != text.npos)
            keys.push_back({trimBlanks(text.substr(0, equals)), i});
    }
    return keys;
}

std::optional<size_t> SettingsText::lineOf(SettingsKey key) const {
    for (const KeyLine& line : keyLines(key.section))
        if (equalIgnoringAsciiCase(line.name, key.name))
            return line.index;
    return std::nullopt;
}

SettingsPairs SettingsText::readSection(std::u16string_view section) const {
    const auto keys = keyLines(section);
    SettingsPairs pairs;
    for (auto key = keys.begin(); key != keys.end(); ++key) {
        // A name given twice answers with its first line's value.
        const auto first = std::find_if(keys.begin(), key + 1, [&](const KeyLine& earlier) {
            return equalIgnoringAsciiCase(earlier.name, key->name);
        });
        pairs.emplace_back(std::u16string(key->name), valueOn(first->index));
    }
    return pairs;
}

std::optional<std::u16string> SettingsText::readText(SettingsKey key) const {
    const auto line = lineOf(key);
    if (!line)
        return std::nullopt;
    return valueOn(*line);
}

std::u16string SettingsText::valueOn(size_t line) const {
    const std::u16string_view text = trimBlanks(lines_[line]);
    std::u16string_view value = trimBlanks(text.substr(text.find(u'=') + 1));
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::u16string(value.substr(0, kLongestValue));
}

} // namespace morvane
