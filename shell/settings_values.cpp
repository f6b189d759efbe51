#include "shell/settings_values.h"

namespace morvane {
namespace {

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

std::optional<uint32_t> parseHex(std::u16string_view digits) {
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : digits) {
        const int digit = hexDigit(c);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(digit);
        if (value > UINT32_MAX)
            return std::nullopt;
    }
    return static_cast<uint32_t>(value);
}

std::optional<uint64_t> parseDecimal(std::u16string_view digits) {
    if (digits.empty())
        return std::nullopt;
    uint64_t value = 0;
    for (char16_t c : digits) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + static_cast<uint64_t>(c - u'0');
        if (value > uint64_t{INT32_MAX} + 1)
            return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<int32_t> parseSettingsInteger(std::u16string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        text.remove_prefix(1);
    }
    std::optional<int64_t> magnitude;
    if (text.starts_with(u"0x") || text.starts_with(u"0X")) {
        if (auto hex = parseHex(text.substr(2)))
            magnitude = static_cast<int32_t>(*hex); // bit pattern: $FFFFFFFF is -1
    } else if (text.starts_with(u"$")) {
        if (auto hex = parseHex(text.substr(1)))
            magnitude = static_cast<int32_t>(*hex);
    } else if (auto decimal = parseDecimal(text)) {
        if (*decimal > uint64_t{INT32_MAX} && !negative)
            return std::nullopt;
        magnitude = static_cast<int64_t>(*decimal);
    }
    if (!magnitude)
        return std::nullopt;
    const int64_t value = negative ? -*magnitude : *magnitude;
    if (value < INT32_MIN || value > INT32_MAX)
        return std::nullopt;
    return static_cast<int32_t>(value);
}

// Stored values are any 32-bit integers, so sums and differences are taken in
// 64 bits; half of any such difference fits in an int again.
int centredEdge(int screenSize, int windowSize) {
    return static_cast<int>((int64_t{screenSize} - windowSize) / 2);
}

namespace {

// The visible part of an outer span [edge, edge + size) lies inside it by
// nearInset and farInset; it must start at 1 or later and end at the
// screen's edge or before.
bool fitsBefore(int edge, int size, int nearInset, int farInset, int screenSize) {
    const int64_t visibleEdge = int64_t{edge} + nearInset;
    const int64_t visibleEnd = int64_t{edge} + size - farInset;
    return visibleEdge >= 1 && visibleEnd <= screenSize;
}

} // namespace

WindowBounds keepOnScreen(WindowBounds bounds, int screenWidth, int screenHeight,
                          FrameInsets invisible) {
    if (!fitsBefore(bounds.top, bounds.height, invisible.top, invisible.bottom, screenHeight))
        bounds.top = centredEdge(screenHeight, bounds.height);
    if (!fitsBefore(bounds.left, bounds.width, invisible.left, invisible.right, screenWidth))
        bounds.left = centredEdge(screenWidth, bounds.width);
    return bounds;
}

} // namespace morvane
