#pragma once
// The parts of a vertical scroll bar and what the mouse does on them,
// worked out from the scrolled control's range, page and position. Lengths
// are in pixels from the top of the bar.
namespace morvane {

// As a scroll bar keeps it: rows min..max, page rows in view, the first row
// in view at pos.
struct ScrollState {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;

    bool operator==(const ScrollState&) const = default;
};

struct ScrollBarLayout {
    int arrow = 0; // height of each arrow button, at the two ends
    int trackTop = 0;
    int trackBottom = 0;
    bool hasThumb = false; // no thumb when nothing scrolls or it has no room
    int thumbTop = 0;
    int thumbBottom = 0;

    bool operator==(const ScrollBarLayout&) const = default;
};

enum class ScrollBarPart { kNone, kUpArrow, kPageUp, kThumb, kPageDown, kDownArrow };

// The highest first row: the last page ends on the last row.
int lastScrollPosition(const ScrollState& state);

// A bar of this height and width: square arrows (halved when the bar is
// too short for both), the thumb as long as the page is of the rows but
// never shorter than minThumb.
ScrollBarLayout layOutScrollBar(int height, int width, const ScrollState& state, int minThumb);

ScrollBarPart scrollBarPartAt(const ScrollBarLayout& layout, int y);

// The first row to show when the thumb's top is dragged to thumbTop.
int scrollPositionForThumb(const ScrollBarLayout& layout, const ScrollState& state, int thumbTop);

} // namespace morvane
