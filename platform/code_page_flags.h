#pragma once
// The flags Windows' code-page conversions take, code page by code page, as
// Microsoft documents them. WideCharToMultiByte and MultiByteToWideChar
// refuse a flag a code page does not take (ERROR_INVALID_FLAGS) and return 0;
// Wine takes any, so this is the one place the rule is written down, for the
// Win32 conversion, its checked calls and the test fakes that stand for it.
// Platform-free: the values are Windows' own (the Win32 side checks that).
#include <cstdint>

namespace morvane::code_page {

using Flags = uint32_t;

// WideCharToMultiByte: no best-fit guesses, a character the code page lacks
// becomes its default character.
inline constexpr Flags kNoBestFitChars = 0x400; // WC_NO_BEST_FIT_CHARS
// WideCharToMultiByte: fail on a lone surrogate.
inline constexpr Flags kFailOnInvalidUnits = 0x80; // WC_ERR_INVALID_CHARS
// MultiByteToWideChar: fail on bytes that are no character.
inline constexpr Flags kFailOnInvalidBytes = 0x08; // MB_ERR_INVALID_CHARS
// MultiByteToWideChar: the default composition, implied when no flag is set.
inline constexpr Flags kPrecomposed = 0x01; // MB_PRECOMPOSED

// What the program asks WideCharToMultiByte for: no best-fit guesses where
// the code page takes that flag; no flag where it takes none (UTF-8 among
// them: there every character has its bytes, and a lone surrogate becomes
// U+FFFD as in the program's own UTF-8 writer).
Flags encodeFlags(unsigned codePage);

// What the program asks MultiByteToWideChar for: when validating, failure on
// bytes that are no character, where the code page takes that flag; no flag
// otherwise (invalid bytes become the code page's default character).
Flags decodeFlags(unsigned codePage, bool validating);

// Whether Windows takes these flags for the code page, or fails the call
// with ERROR_INVALID_FLAGS.
bool encodeTakes(unsigned codePage, Flags flags);
bool decodeTakes(unsigned codePage, Flags flags);

} // namespace morvane::code_page
