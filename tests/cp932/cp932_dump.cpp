// Prints every conversion of the POSIX build's code page 932, for
// compare_with_python.py to check against a reference made without Wine:
//   s BB UUUU.. V      each byte alone: the units it decodes to, valid or not
//   p BBBB UUUU.. V    each byte 80-FF followed by each byte 01-FF
//   e UUUU BB..        each UTF-16 unit alone: the bytes it encodes to
// (hex; V is 1 when isValid takes the bytes, as MB_ERR_INVALID_CHARS would).
#include <cstdio>
#include <string>

#include "services/services.h"

namespace {

void printUnits(const std::u16string& units) {
    std::printf(" ");
    for (const char16_t unit : units)
        std::printf("%04X", static_cast<unsigned>(unit));
}

void printDecoded(const morvane::AnsiCodePage& cp932, const std::string& bytes) {
    printUnits(cp932.decode(bytes));
    std::printf(" %d\n", cp932.isValid(bytes) ? 1 : 0);
}

} // namespace

int main() {
    const auto& cp932 = morvane::platformServices().ansi.cp932();
    for (unsigned b = 0; b < 256; ++b) {
        std::printf("s %02X", b);
        printDecoded(cp932, std::string(1, static_cast<char>(b)));
    }
    for (unsigned lead = 0x80; lead < 256; ++lead) {
        for (unsigned trail = 1; trail < 256; ++trail) {
            std::printf("p %02X%02X", lead, trail);
            printDecoded(cp932, {static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    for (unsigned unit = 0; unit < 65536; ++unit) {
        std::printf("e %04X ", unit);
        for (const char byte : cp932.encode(std::u16string(1, static_cast<char16_t>(unit))))
            std::printf("%02X", static_cast<unsigned char>(byte));
        std::printf("\n");
    }
    return 0;
}
