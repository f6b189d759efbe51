// The parts of a vertical scroll bar and dragging its thumb.
#include <gtest/gtest.h>

#include "shell/scroll_bar_layout.h"

namespace morvane {
namespace {

// 100 rows, 10 in view, on a bar 17 wide and 134 high: a 100-pixel track.
constexpr ScrollState kHundredRows{0, 99, 10, 0};

TEST(ScrollBarLayout, ThumbIsAsLongAsThePageAndTravelsTheTrack) {
    const struct {
        const char* name;
        int height;
        ScrollState state;
        ScrollBarLayout expected;
    } cases[] = {
        {"at the top", 134, kHundredRows, {17, 17, 117, true, 17, 27}},
        {"at the last page", 134, {0, 99, 10, 90}, {17, 17, 117, true, 107, 117}},
        {"half way", 134, {0, 99, 10, 45}, {17, 17, 117, true, 62, 72}},
        {"past the end is the end", 134, {0, 99, 10, 500}, {17, 17, 117, true, 107, 117}},
        {"short page: thumb kept at its least", 134, {0, 9999, 10, 0}, {17, 17, 117, true, 17, 25}},
        {"everything in view", 134, {0, 9, 10, 0}, {17, 17, 117, false, 0, 0}},
        {"no rows", 134, {0, -1, 0, 0}, {17, 17, 117, false, 0, 0}},
        {"no room for a thumb", 40, kHundredRows, {17, 17, 23, false, 0, 0}},
        {"too short for whole arrows", 20, kHundredRows, {10, 10, 10, false, 0, 0}},
        {"nothing", 0, kHundredRows, {0, 0, 0, false, 0, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(layOutScrollBar(c.height, 17, c.state, 8), c.expected);
    }
}

TEST(ScrollBarLayout, PartsFromTopToBottom) {
    const ScrollBarLayout bar = layOutScrollBar(134, 17, {0, 99, 10, 45}, 8); // thumb 62..72
    const struct {
        int y;
        ScrollBarPart part;
    } cases[] = {{-1, ScrollBarPart::kNone},       {0, ScrollBarPart::kUpArrow},
                 {16, ScrollBarPart::kUpArrow},    {17, ScrollBarPart::kPageUp},
                 {61, ScrollBarPart::kPageUp},     {62, ScrollBarPart::kThumb},
                 {71, ScrollBarPart::kThumb},      {72, ScrollBarPart::kPageDown},
                 {116, ScrollBarPart::kPageDown},  {117, ScrollBarPart::kDownArrow},
                 {133, ScrollBarPart::kDownArrow}, {134, ScrollBarPart::kNone}};
    for (const auto& c : cases)
        EXPECT_EQ(scrollBarPartAt(bar, c.y), c.part) << "y " << c.y;
    const ScrollBarLayout still = layOutScrollBar(134, 17, {0, 9, 10, 0}, 8);
    EXPECT_EQ(scrollBarPartAt(still, 60), ScrollBarPart::kNone) << "no paging without a thumb";
    EXPECT_EQ(scrollBarPartAt(still, 0), ScrollBarPart::kUpArrow);
}

TEST(ScrollBarLayout, DraggingTheThumbPicksTheNearestRow) {
    const ScrollBarLayout bar = layOutScrollBar(134, 17, kHundredRows, 8); // travel 90 px
    const struct {
        int thumbTop;
        int pos;
    } cases[] = {{17, 0}, {0, 0}, {18, 1}, {62, 45}, {106, 89}, {107, 90}, {500, 90}};
    for (const auto& c : cases)
        EXPECT_EQ(scrollPositionForThumb(bar, kHundredRows, c.thumbTop), c.pos)
            << "thumb at " << c.thumbTop;
    // A drag and the thumb drawn for its result agree.
    for (int pos = 0; pos <= 90; ++pos) {
        ScrollState state = kHundredRows;
        state.pos = pos;
        const int top = layOutScrollBar(134, 17, state, 8).thumbTop;
        EXPECT_EQ(scrollPositionForThumb(bar, kHundredRows, top), pos);
    }
    const ScrollState still{0, 9, 10, 0};
    EXPECT_EQ(scrollPositionForThumb(layOutScrollBar(134, 17, still, 8), still, 80), 0);
}

} // namespace
} // namespace morvane
