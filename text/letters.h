#pragma once
// Letter case, trimming and message formatting shared by every part.
#include <initializer_list>
#include <string>
#include <string_view>

namespace morvane {

constexpr bool isBlankCode(char16_t c) {
    return c <= 32;
}

// Capitals for a to z only; every other character stays.
std::u16string upperAscii(std::u16string_view text);
void upperAsciiInPlace(std::u16string& text);
// True when a and b differ in the letter case of a to z at most.
bool equalIgnoringAsciiCase(std::u16string_view a, std::u16string_view b);

// Removes every character of code 32 or less from both ends.
std::u16string_view trimBlanks(std::u16string_view text);

// True when the text holds nothing but characters of code 32 or less.
bool isBlank(std::u16string_view text);

// Replaces each "%s" or "%d" in turn by the next argument.
std::u16string formatText(std::u16string_view pattern,
                          std::initializer_list<std::u16string_view> args);

std::u16string toDecimal(long long value);

} // namespace morvane
