// Settings-file text ("Key=Value" lines) through the value parser and the
// placement rule. Each value must parse as an independent reading of the
// rule says (decimal, or hexadecimal after 0x or $, as a 32-bit pattern;
// anything else refused), and a window the rule moves must end up on the
// primary screen whenever it fits there. The same text as a whole file, read
// by the profile functions' rules and placed by placeWindow, must obey the
// same rule.
#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "shell/launcher_settings.h"
#include "shell/settings_text.h"
#include "shell/settings_values.h"

using namespace morvane;
using fuzz::require;

namespace {

std::optional<int32_t> referenceParse(std::u16string_view text) {
    std::string ascii;
    for (char16_t c : text) {
        if (c > 0x7F)
            return std::nullopt;
        ascii.push_back(static_cast<char>(c));
    }
    bool negative = false;
    std::string_view rest = ascii;
    if (!rest.empty() && (rest[0] == '-' || rest[0] == '+')) {
        negative = rest[0] == '-';
        rest.remove_prefix(1);
    }
    int base = 10;
    if (rest.size() >= 2 && rest[0] == '0' && (rest[1] == 'x' || rest[1] == 'X')) {
        base = 16;
        rest.remove_prefix(2);
    } else if (!rest.empty() && rest[0] == '$') {
        base = 16;
        rest.remove_prefix(1);
    }
    if (rest.empty())
        return std::nullopt;
    for (char c : rest)
        if (base == 10 ? !(c >= '0' && c <= '9') : !std::isxdigit(static_cast<unsigned char>(c)))
            return std::nullopt;
    while (rest.size() > 1 && rest[0] == '0')
        rest.remove_prefix(1);
    if (rest.size() > (base == 16 ? 8u : 10u))
        return std::nullopt;
    uint64_t magnitude = 0;
    std::from_chars(rest.data(), rest.data() + rest.size(), magnitude, base);
    // Hexadecimal is a bit pattern: $FFFFFFFF is -1 before the sign applies.
    const int64_t value = base == 16 ? static_cast<int32_t>(static_cast<uint32_t>(magnitude))
                                     : static_cast<int64_t>(magnitude);
    const int64_t signedValue = negative ? -value : value;
    if (signedValue < INT32_MIN || signedValue > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(signedValue);
}

// One axis of the rule: kept when inside, otherwise centred.
void checkAxis(int stored, int placed, int size, int screen) {
    const bool inside = stored >= 1 && int64_t{stored} + size <= screen;
    if (inside) {
        require(placed == stored);
        return;
    }
    require(placed == (int64_t{screen} - size) / 2);
    if (size >= 0 && int64_t{size} + 2 <= screen)
        require(placed >= 1 && int64_t{placed} + size <= screen);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::InputReader input(data, size);
    // The primary screen: any size a monitor may report, even a strange one.
    const int screenWidth = static_cast<int16_t>(input.byte() << 8 | input.byte());
    const int screenHeight = static_cast<int16_t>(input.byte() << 8 | input.byte());
    int values[4] = {300, 250, INT32_MIN, INT32_MIN}; // Width, Height, Left, Top
    bool given[4] = {false, false, false, false};
    const std::u16string text(input.text() + u'\n' + input.text());
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(u'\n', start);
        if (end == std::u16string::npos)
            end = text.size();
        const std::u16string_view line(text.data() + start, end - start);
        start = end + 1;
        const size_t equals = line.find(u'=');
        if (equals == std::u16string_view::npos)
            continue;
        const auto key = line.substr(0, equals), value = line.substr(equals + 1);
        const auto parsed = parseSettingsInteger(value);
        require(parsed == referenceParse(value));
        static constexpr SettingsKey keys[4] = {kWidthKey, kHeightKey, kLeftKey, kTopKey};
        for (int k = 0; k < 4; ++k)
            if (key == keys[k].name && parsed) {
                values[k] = *parsed;
                given[k] = true;
            }
    }
    // Missing edges default to the centred ones, as at start-up.
    const int width = values[0], height = values[1];
    const int left = given[2] ? values[2] : centredEdge(screenWidth, width);
    const int top = given[3] ? values[3] : centredEdge(screenHeight, height);
    const WindowBounds placed = keepOnScreen({left, top, width, height}, screenWidth, screenHeight);
    require(placed.width == width && placed.height == height);
    checkAxis(left, placed.left, width, screenWidth);
    checkAxis(top, placed.top, height, screenHeight);

    // The whole text as the [Form] section of a settings file.
    std::vector<std::u16string> lines{u"[" + std::u16string(kWidthKey.section) + u"]"};
    for (size_t at = 0; at <= text.size();) {
        const size_t end = std::min(text.find(u'\n', at), text.size());
        lines.emplace_back(text.substr(at, end - at));
        at = end + 1;
    }
    const SettingsText file(std::move(lines));
    const LauncherSettings settings = LauncherSettings::read(file);
    for (const SettingsKey key : kPlaceKeys) {
        const auto value = file.readText(key);
        require(!value || value->size() <= 2047);
    }
    const WindowBounds fromFile = placeWindow(settings, 300, 250, screenWidth, screenHeight);
    require(fromFile.width == settings.width.value_or(300));
    require(fromFile.height == settings.height.value_or(250));
    checkAxis(settings.left.value_or(centredEdge(screenWidth, fromFile.width)), fromFile.left,
              fromFile.width, screenWidth);
    checkAxis(settings.top.value_or(centredEdge(screenHeight, fromFile.height)), fromFile.top,
              fromFile.height, screenHeight);
    return 0;
}
