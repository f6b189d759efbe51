// Prints how the Windows text services the program uses treat every input
// that matters, so the POSIX stand-ins can be checked against (and built
// from) the real thing. Run it in the Japanese ANSI code page (932).
//
//   nls_reference codepage   the reference a test checks the code page
//                            against: every 1-byte text decoded, digests of
//                            every 2-byte text decoded and of every UTF-16
//                            unit encoded, and longer texts
//   nls_reference codepage-table
//                            the same results as a table to build the code
//                            page from (tools/nls_reference/make_cp932_table.py)
//   nls_reference collation  sort keys of the characters command names use,
//                            and a list of texts sorted by CompareStringW
//
// Output is plain text, one record a line (see the format notes below), with
// runs of consecutive results folded into one line to keep it small.
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/win32_text.h"
#include "services/services.h"

namespace {

std::string hexBytes(const std::string& bytes) {
    std::string out;
    char buffer[4];
    for (unsigned char b : bytes) {
        std::snprintf(buffer, sizeof buffer, "%02X", b);
        out += buffer;
    }
    return out.empty() ? "-" : out;
}

std::string hexUnits(const std::wstring& units) {
    std::string out;
    char buffer[8];
    for (wchar_t u : units) {
        std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(u));
        out += buffer;
    }
    return out.empty() ? "-" : out;
}

// The program's own Win32 conversions: the reference is what it does.
std::wstring decodeAcp(const std::string& bytes) {
    return morvane::toWide(morvane::platformServices().ansi.decode(bytes));
}

std::string encodeAcp(const std::wstring& text) {
    return morvane::platformServices().ansi.encode(morvane::fromWide(text));
}

// Folds results into runs: "<tag> <first input> <count> <step> <first result>",
// where each further input (one more than the last) gives the previous result
// with its last element raised by step (0 or 1). Results are vectors of
// elements (bytes or units).
class RunWriter {
  public:
    RunWriter(const char* tag, int inputDigits, bool units)
        : tag_(tag), digits_(inputDigits), units_(units) {}
    ~RunWriter() { flush(); }

    void add(unsigned input, const std::vector<unsigned>& result) {
        if (count_ > 0 && input == first_ + count_ && result.size() == last_.size() &&
            !result.empty() && std::equal(result.begin(), result.end() - 1, last_.begin())) {
            const long delta = static_cast<long>(result.back()) - static_cast<long>(last_.back());
            if ((count_ == 1 && (delta == 0 || delta == 1)) || (count_ > 1 && delta == step_)) {
                step_ = static_cast<int>(delta);
                ++count_;
                last_ = result;
                return;
            }
        }
        flush();
        first_ = input;
        count_ = 1;
        step_ = 0;
        firstResult_ = result;
        last_ = result;
    }

  private:
    void flush() {
        if (count_ == 0)
            return;
        std::string result;
        char buffer[8];
        for (unsigned e : firstResult_) {
            std::snprintf(buffer, sizeof buffer, units_ ? "%04X" : "%02X", e);
            result += buffer;
        }
        std::printf("%s %0*X %u %d %s\n", tag_, digits_, first_, count_, step_,
                    result.empty() ? "-" : result.c_str());
        count_ = 0;
    }

    const char* tag_;
    int digits_;
    bool units_;
    unsigned first_ = 0, count_ = 0;
    int step_ = 0;
    std::vector<unsigned> firstResult_, last_;
};

std::vector<unsigned> elements(const std::wstring& units) {
    return std::vector<unsigned>(units.begin(), units.end());
}

std::vector<unsigned> elements(const std::string& bytes) {
    std::vector<unsigned> out;
    for (unsigned char b : bytes)
        out.push_back(b);
    return out;
}

// A small fixed generator, so every run prints the same texts.
struct Random {
    uint32_t state;
    uint32_t next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
    unsigned below(unsigned n) { return next() % n; }
};

// Longer texts: lead bytes before every kind of byte and at the end, and
// surrogates alone, paired and reversed.
//   xd <bytes> <units>    decoding of a longer text
//   xe <units> <bytes>    encoding of a longer text
void printLongerTexts() {
    Random random{932};
    const unsigned char interesting[] = {0x00, 0x22, 0x3F, 0x40, 0x5C, 0x7F, 0x80,
                                         0x81, 0x9F, 0xA0, 0xA1, 0xDF, 0xE0, 0xE9,
                                         0xEF, 0xF0, 0xFC, 0xFD, 0xFE, 0xFF};
    for (int n = 0; n < 600; ++n) {
        std::string bytes(1 + random.below(7), '\0');
        for (auto& b : bytes)
            b = static_cast<char>(random.below(3) == 0
                                      ? random.below(256)
                                      : interesting[random.below(sizeof interesting)]);
        std::printf("xd %s %s\n", hexBytes(bytes).c_str(), hexUnits(decodeAcp(bytes)).c_str());
    }
    const wchar_t units[] = {L'A', 0x3042, 0x00E9, 0xD800, 0xDBFF, 0xDC00, 0xDFFF, 0x20AC, 0xFFFD};
    for (int n = 0; n < 200; ++n) {
        std::wstring text(1 + random.below(5), L'\0');
        for (auto& u : text)
            u = units[random.below(sizeof units / sizeof units[0])];
        std::printf("xe %s %s\n", hexUnits(text).c_str(), hexBytes(encodeAcp(text)).c_str());
    }
}

// Records (a record is left out where it follows from the others):
//   d1 <byte> <count> <step> <units>       decoding of one byte
//   d2 <byte pair> <count> <step> <units>  decoding of two bytes, where it is
//                                          not the two bytes decoded alone
//   e  <unit> <count> <step> <bytes>       encoding of one UTF-16 unit, where
//                                          it is not the one byte or byte pair
//                                          that decodes to the unit ("3F"
//                                          when there is none)
void printCodePageTable() {
    std::printf("# MultiByteToWideChar / WideCharToMultiByte, CP_ACP = %u\n", GetACP());
    std::vector<std::wstring> singles(256);
    std::vector<std::vector<std::string>> sources(65536); // unit -> texts decoding to it
    {
        RunWriter runs("d1", 2, true);
        for (unsigned b = 0; b < 256; ++b) {
            const std::string byte(1, static_cast<char>(b));
            singles[b] = decodeAcp(byte);
            runs.add(b, elements(singles[b]));
        }
    }
    std::vector<bool> leadByte(256, false);
    {
        RunWriter runs("d2", 4, true);
        for (unsigned pair = 0; pair < 65536; ++pair) {
            const std::string bytes{static_cast<char>(pair >> 8), static_cast<char>(pair & 0xFF)};
            const std::wstring decoded = decodeAcp(bytes);
            if (decoded == singles[pair >> 8] + singles[pair & 0xFF])
                continue;
            runs.add(pair, elements(decoded));
            leadByte[pair >> 8] = true;
            if (decoded.size() == 1)
                sources[decoded[0]].push_back(bytes);
        }
    }
    for (unsigned b = 0; b < 256; ++b)
        if (!leadByte[b] && singles[b].size() == 1)
            sources[singles[b][0]].push_back(std::string(1, static_cast<char>(b)));
    {
        RunWriter runs("e", 4, false);
        for (unsigned unit = 0; unit < 65536; ++unit) {
            const std::string encoded = encodeAcp(std::wstring(1, static_cast<wchar_t>(unit)));
            const std::string implied = sources[unit].size() == 1 ? sources[unit][0] : "?";
            if (encoded != implied)
                runs.add(unit, elements(encoded));
        }
    }
}

// FNV-1a over the results of one row of 256 inputs, each result preceded by
// its length.
struct Digest {
    uint64_t value = 14695981039346656037ull;
    void add(unsigned byte) {
        value ^= byte & 0xFF;
        value *= 1099511628211ull;
    }
};

// Records:
//   d1 <byte> <count> <step> <units>   decoding of one byte (as in the table)
//   h2 <first byte> <digest>           decoding of the 256 pairs of a first
//                                      byte: each result's unit count, then
//                                      its units, low byte first
//   he <high byte> <digest>            encoding of the 256 units of a high
//                                      byte: each result's byte count, then
//                                      its bytes
//   xd, xe                             longer texts (above)
void printCodePage() {
    std::printf("# MultiByteToWideChar / WideCharToMultiByte, CP_ACP = %u\n", GetACP());
    {
        RunWriter runs("d1", 2, true);
        for (unsigned b = 0; b < 256; ++b)
            runs.add(b, elements(decodeAcp(std::string(1, static_cast<char>(b)))));
    }
    for (unsigned first = 0; first < 256; ++first) {
        Digest digest;
        for (unsigned second = 0; second < 256; ++second) {
            const std::string bytes{static_cast<char>(first), static_cast<char>(second)};
            const std::wstring decoded = decodeAcp(bytes);
            digest.add(static_cast<unsigned>(decoded.size()));
            for (wchar_t u : decoded) {
                digest.add(u);
                digest.add(u >> 8);
            }
        }
        std::printf("h2 %02X %016llX\n", first, static_cast<unsigned long long>(digest.value));
    }
    for (unsigned high = 0; high < 256; ++high) {
        Digest digest;
        for (unsigned low = 0; low < 256; ++low) {
            const std::string encoded =
                encodeAcp(std::wstring(1, static_cast<wchar_t>(high << 8 | low)));
            digest.add(static_cast<unsigned>(encoded.size()));
            for (char b : encoded)
                digest.add(static_cast<unsigned char>(b));
        }
        std::printf("he %02X %016llX\n", high, static_cast<unsigned long long>(digest.value));
    }
    printLongerTexts();
}

std::string sortKey(const std::wstring& text) {
    std::string key(1024, '\0');
    const int n = LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, text.data(),
                               static_cast<int>(text.size()), reinterpret_cast<LPWSTR>(key.data()),
                               static_cast<int>(key.size()));
    key.resize(n > 0 ? static_cast<size_t>(n - 1) : 0); // without the final NUL
    return key;
}

int compare(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(),
                          static_cast<int>(a.size()), b.data(), static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

// The characters command names are made of: ASCII, Latin-1, Japanese
// punctuation, kana in both widths, full-width ASCII and the JIS level-1
// kanji (the common ones).
std::vector<wchar_t> commandNameCharacters() {
    std::vector<wchar_t> out;
    const auto range = [&](unsigned first, unsigned last) {
        for (unsigned c = first; c <= last; ++c)
            out.push_back(static_cast<wchar_t>(c));
    };
    range(0x20, 0x7E);
    range(0xA0, 0xFF);
    range(0x3000, 0x3003);
    range(0x3005, 0x3005);
    range(0x300C, 0x300F);
    range(0x3041, 0x3096);
    range(0x309B, 0x309E);
    range(0x30A1, 0x30FE);
    range(0xFF01, 0xFF5E);
    range(0xFF61, 0xFF9F);
    for (unsigned lead = 0x88; lead <= 0x98; ++lead)
        for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail == 0x7F || (lead == 0x88 && trail < 0x9F) || (lead == 0x98 && trail > 0x72))
                continue;
            const char bytes[2] = {static_cast<char>(lead), static_cast<char>(trail)};
            const std::wstring c = decodeAcp(std::string(bytes, 2));
            if (c.size() == 1 && c[0] != 0x30FB)
                out.push_back(c[0]);
        }
    return out;
}

// Records:
//   k <unit> <sort key>    LCMapStringW(LCMAP_SORTKEY | NORM_IGNORECASE)
//   m <kana> <mark> <key>  the same for a kana followed by a mark
//   s <text> <rel> <key>   texts in CompareStringW order with their sort keys;
//                          rel is "<" or "="
//                          to the text on the line before ("<" on the first)
void printCollation() {
    std::printf("# LCMapStringW / CompareStringW, LOCALE_USER_DEFAULT = %04lX, NORM_IGNORECASE\n",
                static_cast<unsigned long>(GetUserDefaultLCID()));
    const auto characters = commandNameCharacters();
    for (wchar_t c : characters)
        std::printf("k %04X %s\n", static_cast<unsigned>(c), hexBytes(sortKey({c})).c_str());
    // A long-vowel or iteration mark takes its weights from the kana before
    // it.
    const wchar_t marks[] = {0x30FC, 0xFF70, 0x309D, 0x309E, 0x30FD, 0x30FE};
    for (wchar_t c : characters) {
        const bool kana = (c >= 0x3041 && c <= 0x3096) || (c >= 0x30A1 && c <= 0x30FA) ||
                          (c >= 0xFF66 && c <= 0xFF9D);
        if (!kana)
            continue;
        for (wchar_t mark : marks)
            std::printf("m %04X %04X %s\n", static_cast<unsigned>(c), static_cast<unsigned>(mark),
                        hexBytes(sortKey({c, mark})).c_str());
    }

    // Texts that stress each level: close relatives of one another (case,
    // width, kana kind, accents, hyphens and apostrophes in different places,
    // prefixes) as well as random ones.
    Random random{1252};
    std::vector<std::wstring> texts;
    const std::wstring alphabet = L"aAbBcCzZ09_-'.:!~ \u00e9\u00c9\u00e6\u00df\u00fc"
                                  L"\u3042\u30a2\uff71\u3041\u30a1\u304b\u304c\u30ab\u30ac"
                                  L"\u30fc\u309d\u30fd\u4e00\u4e8c\u5b57";
    for (wchar_t c : characters)
        texts.push_back({c});
    for (int n = 0; n < 2500; ++n) {
        std::wstring text(1 + random.below(5), L'\0');
        for (auto& c : text)
            c = random.below(2)
                    ? alphabet[random.below(static_cast<unsigned>(alphabet.size()))]
                    : characters[random.below(static_cast<unsigned>(characters.size()))];
        texts.push_back(text);
    }
    std::stable_sort(texts.begin(), texts.end(), [](const std::wstring& a, const std::wstring& b) {
        return compare(a, b) < 0;
    });
    for (size_t i = 0; i < texts.size(); ++i) {
        const bool equal = i > 0 && compare(texts[i - 1], texts[i]) == 0;
        std::printf("s %s %s %s\n", hexUnits(texts[i]).c_str(), equal ? "=" : "<",
                    hexBytes(sortKey(texts[i])).c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    _setmode(_fileno(stdout), _O_BINARY); // LF line ends on every platform
    const std::string what = argc > 1 ? argv[1] : "";
    if (what == "codepage")
        printCodePage();
    else if (what == "codepage-table")
        printCodePageTable();
    else if (what == "collation")
        printCollation();
    else {
        std::fprintf(stderr, "usage: nls_reference codepage|codepage-table|collation\n");
        return 2;
    }
    return 0;
}
