#include "cad_targets/target_line.h"

namespace morvane {
namespace {

constexpr char16_t kTab = u'\t';

std::u16string tabAnd(std::u16string_view progId) {
    std::u16string needle(1, kTab);
    needle += progId;
    return needle;
}

} // namespace

TargetLineParts splitTargetLine(std::u16string_view line) {
    const size_t tab = line.find(kTab);
    if (tab == std::u16string_view::npos)
        return {u"", std::u16string(line)};
    return {std::u16string(line.substr(0, tab)), std::u16string(line.substr(tab + 1))};
}

std::u16string makeTargetLine(std::u16string_view name, std::u16string_view progId) {
    std::u16string line(name);
    line += kTab;
    line += progId;
    return line;
}

bool targetLineMatches(std::u16string_view line, std::u16string_view progId) {
    return line.find(tabAnd(progId)) != std::u16string_view::npos;
}

std::optional<std::u16string> findTargetName(const std::vector<std::u16string>& lines,
                                             std::u16string_view progId) {
    const std::u16string needle = tabAnd(progId);
    for (const auto& line : lines) {
        const size_t at = line.find(needle);
        if (at != std::u16string::npos)
            return line.substr(0, at);
    }
    return std::nullopt;
}

} // namespace morvane
