#include "platform/code_page_flags.h"

namespace morvane::code_page {
namespace {

constexpr unsigned kUtf8 = 65001;
constexpr unsigned kGb18030 = 54936;

// WideCharToMultiByte's flags besides WC_ERR_INVALID_CHARS: WC_DISCARDNS,
// WC_SEPCHARS, WC_DEFAULTCHAR, WC_COMPOSITECHECK, WC_NO_BEST_FIT_CHARS.
constexpr Flags kEncodeFlags = 0x10 | 0x20 | 0x40 | 0x200 | kNoBestFitChars;
// MultiByteToWideChar's: MB_PRECOMPOSED, MB_COMPOSITE, MB_USEGLYPHCHARS,
// MB_ERR_INVALID_CHARS.
constexpr Flags kComposite = 0x02;
constexpr Flags kDecodeFlags = kPrecomposed | kComposite | 0x04 | kFailOnInvalidBytes;

// The code pages both conversions take no flag for: Symbol, the ISO-2022
// ones, ISCII, UTF-7.
bool takesNoFlag(unsigned codePage) {
    switch (codePage) {
    case 42:
    case 50220:
    case 50221:
    case 50222:
    case 50225:
    case 50227:
    case 50229:
    case 65000:
        return true;
    default:
        return codePage >= 57002 && codePage <= 57011;
    }
}

} // namespace

bool encodeTakes(unsigned codePage, Flags flags) {
    if (codePage == kUtf8 || codePage == kGb18030)
        return flags == 0 || flags == kFailOnInvalidUnits;
    // HZ-GB2312 takes none in this direction only.
    if (takesNoFlag(codePage) || codePage == 52936)
        return flags == 0;
    return (flags & ~kEncodeFlags) == 0;
}

bool decodeTakes(unsigned codePage, Flags flags) {
    if (codePage == kUtf8 || codePage == kGb18030)
        return flags == 0 || flags == kFailOnInvalidBytes;
    if (takesNoFlag(codePage))
        return flags == 0;
    return (flags & ~kDecodeFlags) == 0 &&
           (flags & (kPrecomposed | kComposite)) != (kPrecomposed | kComposite);
}

Flags encodeFlags(unsigned codePage) {
    return encodeTakes(codePage, kNoBestFitChars) ? kNoBestFitChars : 0;
}

Flags decodeFlags(unsigned codePage, bool validating) {
    return validating && decodeTakes(codePage, kFailOnInvalidBytes) ? kFailOnInvalidBytes : 0;
}

} // namespace morvane::code_page
