#pragma once
// Conversions between UTF-8 bytes, UTF-16 text and UTF-16 byte streams.
#include <optional>
#include <string>
#include <string_view>

namespace morvane {

// Lenient UTF-8 decode: every invalid sequence becomes U+FFFD, as the Windows
// converter does for marked files.
std::u16string utf8ToUtf16(std::string_view bytes);

// Strict UTF-8 decode: nullopt for any invalid, overlong, surrogate or
// truncated sequence.
std::optional<std::u16string> utf8ToUtf16Strict(std::string_view bytes);

// Unpaired surrogates become U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

// UTF-16 code units from raw bytes; a trailing odd byte is dropped.
std::u16string utf16FromBytes(std::string_view bytes, bool bigEndian);
std::string utf16ToBytes(std::u16string_view text, bool bigEndian);

} // namespace morvane
