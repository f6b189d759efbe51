#pragma once
// Bridges between the core's UTF-16 text and Windows' wide strings.
#include <windows.h>

#include <string>
#include <string_view>

namespace morvane {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide characters are UTF-16");

inline const wchar_t* wptr(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

inline std::wstring toWide(std::u16string_view text) {
    return std::wstring(wptr(text), text.size());
}

inline std::u16string fromWide(std::wstring_view text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// The system's text for an error code, without the trailing line break and
// full stop that FormatMessageW adds.
std::u16string systemErrorText(DWORD error);

} // namespace morvane
