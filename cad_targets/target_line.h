#pragma once
// One line of the target list TargetCAD_APIVersion.txt: a name, a TAB, a
// ProgID. Nothing is quoted or trimmed.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

inline constexpr std::u16string_view kTargetListFileName = u"TargetCAD_APIVersion.txt";

struct TargetLineParts {
    std::u16string name;
    std::u16string progId;
};

// Splits at the first TAB; the ProgID keeps any further TABs. A line without
// a TAB is all ProgID.
TargetLineParts splitTargetLine(std::u16string_view line);

std::u16string makeTargetLine(std::u16string_view name, std::u16string_view progId);

// True when the line holds TAB + progId anywhere, so a versioned ProgID
// matches its prefix and an empty one matches every line with a TAB.
bool targetLineMatches(std::u16string_view line, std::u16string_view progId);

// The start-up caption's name: in the first matching line, the text before
// the matching TAB; nullopt when no line matches.
std::optional<std::u16string> findTargetName(const std::vector<std::u16string>& lines,
                                             std::u16string_view progId);

} // namespace morvane
