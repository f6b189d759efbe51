#pragma once
// Values of the settings file and the window placement they lead to.
#include <cstdint>
#include <optional>
#include <string_view>

namespace morvane {

// A signed 32-bit integer in decimal, or in hexadecimal after "0x", "0X" or
// "$" (up to 32 bits, taken as their two's-complement value), with an
// optional sign in front. nullopt for an empty or malformed text.
std::optional<int32_t> parseSettingsInteger(std::u16string_view text);

struct WindowBounds {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const WindowBounds&) const = default;
};

// How far a window's visible frame lies inside its outer rectangle on each
// side: Windows 10 and later leave the sizing borders beside and below a
// window invisible.
struct FrameInsets {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const FrameInsets&) const = default;
};

// (screen - size) / 2, truncated toward zero.
int centredEdge(int screenSize, int windowSize);

// Re-centres the top edge, then the left edge, when the window does not lie
// within the primary screen: an edge must be greater than 0 and the far edge
// not beyond the screen. Width and height are never changed. The rule
// judges what the user sees, the visible frame: bounds less the invisible
// insets, so that a window snapped to the screen's right or bottom edge,
// whose invisible border reaches past it, stays. Re-centring centres the
// outer rectangle, as a window without a stored place is.
WindowBounds keepOnScreen(WindowBounds bounds, int screenWidth, int screenHeight,
                          FrameInsets invisible = {});

} // namespace morvane
