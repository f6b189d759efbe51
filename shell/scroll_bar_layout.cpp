#include "shell/scroll_bar_layout.h"

#include <algorithm>
#include <cstdint>

namespace morvane {

int lastScrollPosition(const ScrollState& state) {
    return state.max - std::max(state.page - 1, 0);
}

ScrollBarLayout layOutScrollBar(int height, int width, const ScrollState& state, int minThumb) {
    ScrollBarLayout layout;
    height = std::max(height, 0);
    layout.arrow = std::min(width, height / 2);
    layout.trackTop = layout.arrow;
    layout.trackBottom = height - layout.arrow;
    const int track = layout.trackBottom - layout.trackTop;
    const int64_t rows = int64_t{state.max} - state.min + 1;
    const int last = lastScrollPosition(state);
    if (rows <= 0 || last <= state.min || track <= 0)
        return layout;
    int thumb = state.page > 0 ? static_cast<int>(int64_t{track} * state.page / rows) : width;
    thumb = std::max(thumb, minThumb);
    if (thumb >= track)
        return layout;
    const int pos = std::clamp(state.pos, state.min, last);
    layout.hasThumb = true;
    layout.thumbTop = layout.trackTop + static_cast<int>(int64_t{track - thumb} *
                                                         (pos - state.min) / (last - state.min));
    layout.thumbBottom = layout.thumbTop + thumb;
    return layout;
}

ScrollBarPart scrollBarPartAt(const ScrollBarLayout& layout, int y) {
    if (y < 0 || y >= layout.trackBottom + layout.arrow)
        return ScrollBarPart::kNone;
    if (y < layout.trackTop)
        return ScrollBarPart::kUpArrow;
    if (y >= layout.trackBottom)
        return ScrollBarPart::kDownArrow;
    if (!layout.hasThumb)
        return ScrollBarPart::kNone;
    if (y < layout.thumbTop)
        return ScrollBarPart::kPageUp;
    if (y >= layout.thumbBottom)
        return ScrollBarPart::kPageDown;
    return ScrollBarPart::kThumb;
}

int scrollPositionForThumb(const ScrollBarLayout& layout, const ScrollState& state, int thumbTop) {
    const int last = lastScrollPosition(state);
    const int travel =
        (layout.trackBottom - layout.trackTop) - (layout.thumbBottom - layout.thumbTop);
    if (!layout.hasThumb || travel <= 0 || last <= state.min)
        return state.min;
    const int offset = std::clamp(thumbTop - layout.trackTop, 0, travel);
    // Rounded to the nearest row.
    return state.min +
           static_cast<int>((int64_t{offset} * (last - state.min) + travel / 2) / travel);
}

} // namespace morvane
