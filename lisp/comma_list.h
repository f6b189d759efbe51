#pragma once
// Splits locator rows and argument text into items: blanks and commas both
// separate, a comma followed by blanks counts once.
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Codes 1 to 32 are blanks. Two commas with only blanks between them enclose
// an empty item; a comma that is the very last character adds an empty item.
std::vector<std::u16string_view> splitCommaList(std::u16string_view text);

} // namespace morvane
