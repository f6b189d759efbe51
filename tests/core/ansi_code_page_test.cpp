// The ANSI code page against the reference that tools/nls_reference printed
// under Wine in code page 932 (data/cp932_reference.txt): natively this checks
// the POSIX stand-in, under Wine the Win32 conversion itself.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "services/services.h"
#include "support/case_name.h"

namespace morvane {
namespace {

std::string bytesFromHex(const std::string& hex) {
    std::string out;
    if (hex == "-")
        return out;
    for (size_t i = 0; i + 1 < hex.size(); i += 2)
        out.push_back(static_cast<char>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    return out;
}

std::u16string unitsFromHex(const std::string& hex) {
    std::u16string out;
    if (hex == "-")
        return out;
    for (size_t i = 0; i + 3 < hex.size(); i += 4)
        out.push_back(static_cast<char16_t>(std::stoul(hex.substr(i, 4), nullptr, 16)));
    return out;
}

// As the generator computes it: FNV-1a over each result's length and elements.
struct Digest {
    uint64_t value = 14695981039346656037ull;
    void add(unsigned byte) {
        value ^= byte & 0xFF;
        value *= 1099511628211ull;
    }
};

TEST(AnsiCodePage, MatchesWindowsForEveryByteUnitAndPair) {
    std::ifstream file(MORVANE_TEST_DATA_DIR "/cp932_reference.txt");
    ASSERT_TRUE(file) << "reference missing";
    const auto& ansi = platformServices().ansi;
    size_t records = 0;
    std::string line;
    while (std::getline(file, line)) {
        std::istringstream fields(line);
        std::string tag;
        fields >> tag;
        if (tag.empty() || tag[0] == '#')
            continue;
        ++records;
        if (tag == "d1") {
            std::string first, result;
            unsigned count = 0;
            int step = 0;
            fields >> first >> count >> step >> result;
            std::u16string expected = unitsFromHex(result);
            for (unsigned k = 0; k < count; ++k) {
                const char byte = static_cast<char>(std::stoul(first, nullptr, 16) + k);
                EXPECT_EQ(ansi.decode(std::string(1, byte)), expected)
                    << "byte " << std::hex << (static_cast<unsigned>(byte) & 0xFF);
                if (!expected.empty())
                    expected.back() = static_cast<char16_t>(expected.back() + step);
            }
        } else if (tag == "h2" || tag == "he") {
            std::string high, expected;
            fields >> high >> expected;
            const unsigned h = std::stoul(high, nullptr, 16);
            Digest digest;
            for (unsigned low = 0; low < 256; ++low) {
                if (tag == "h2") {
                    const std::string pair{static_cast<char>(h), static_cast<char>(low)};
                    const std::u16string decoded = ansi.decode(pair);
                    digest.add(static_cast<unsigned>(decoded.size()));
                    for (char16_t u : decoded) {
                        digest.add(u);
                        digest.add(u >> 8);
                    }
                } else {
                    const std::string encoded =
                        ansi.encode(std::u16string(1, static_cast<char16_t>(h << 8 | low)));
                    digest.add(static_cast<unsigned>(encoded.size()));
                    for (char b : encoded)
                        digest.add(static_cast<unsigned char>(b));
                }
            }
            char actual[17];
            std::snprintf(actual, sizeof actual, "%016llX",
                          static_cast<unsigned long long>(digest.value));
            EXPECT_EQ(actual, expected)
                << (tag == "h2" ? "pairs after byte " : "units of row ") << high;
        } else if (tag == "xd") {
            std::string bytes, units;
            fields >> bytes >> units;
            EXPECT_EQ(ansi.decode(bytesFromHex(bytes)), unitsFromHex(units)) << bytes;
        } else if (tag == "xe") {
            std::string units, bytes;
            fields >> units >> bytes;
            EXPECT_EQ(ansi.encode(unitsFromHex(units)), bytesFromHex(bytes)) << units;
        } else {
            ADD_FAILURE() << "unknown record: " << line;
        }
    }
    EXPECT_GT(records, 1000u);
}

struct DecodeCase {
    const char* name;
    friend void PrintTo(const DecodeCase& c, std::ostream* os) { *os << c.name; }
    std::string bytes;
    std::u16string text;
};

class AnsiDecode : public testing::TestWithParam<DecodeCase> {};

// The cases behind real differences from other CP932 converters.
TEST_P(AnsiDecode, DecodesAsWindows) {
    EXPECT_EQ(platformServices().ansi.decode(GetParam().bytes), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(Cases, AnsiDecode,
                         testing::Values(
                             // A Latin-1 letter is a lead byte: it takes the quote after it along.
                             DecodeCase{"accent swallows quote", "(\"caf\xE9\")", u"(\"caf\u30FB)"},
                             DecodeCase{"lead byte at the end", "A\x81", u"A\u30FB"},
                             DecodeCase{"lead byte before NUL", std::string("\x81\0B", 3),
                                        std::u16string(u"\u30FB\0B", 3)},
                             DecodeCase{"invalid trail taken along", "\x81\x20X", u"\u30FBX"},
                             DecodeCase{"undefined pair", "\x85\x40", u"\u30FB"},
                             DecodeCase{"user-defined area", "\xF0\x40", u"\uE000"},
                             DecodeCase{"single bytes outside JIS", "\x80\xA0\xFD\xFE\xFF",
                                        u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"},
                             DecodeCase{"NEC and IBM duplicates", "\x87\x90\x81\xE0\xFA\x59",
                                        u"\u2252\u2252\u2116"}),
                         test::CaseName());

TEST(AnsiEncode, UnitsWithoutACharacterBecomeTheDefault) {
    const auto& ansi = platformServices().ansi;
    EXPECT_EQ(ansi.encode(u"\u20AC\u00E9"), "??");               // no best-fit "e"
    EXPECT_EQ(ansi.encode(u"\U00020000"), "??");                 // each surrogate alone
    EXPECT_EQ(ansi.encode(u"\u2252\u2116"), "\x81\xE0\x87\x82"); // one of the duplicates
    EXPECT_EQ(ansi.encode(u"\uE000\uF8F0"), "\xF0\x40\xA0");     // private use round trips
}

} // namespace
} // namespace morvane
