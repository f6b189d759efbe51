// Integers of the settings file and keeping the window on the primary screen.
#include <gtest/gtest.h>

#include "shell/settings_values.h"
#include "support/case_name.h"

namespace morvane {
namespace {

struct IntegerCase {
    const char* name;
    friend void PrintTo(const IntegerCase& c, std::ostream* os) { *os << c.name; }
    std::u16string text;
    std::optional<int32_t> value;
};

class SettingsInteger : public testing::TestWithParam<IntegerCase> {};

TEST_P(SettingsInteger, ParsesDecimalAndHexOrRefuses) {
    EXPECT_EQ(parseSettingsInteger(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SettingsInteger,
    testing::Values(IntegerCase{"decimal", u"300", 300}, IntegerCase{"negative", u"-1920", -1920},
                    IntegerCase{"plus sign", u"+7", 7}, IntegerCase{"zero", u"0", 0},
                    IntegerCase{"int max", u"2147483647", INT32_MAX},
                    IntegerCase{"int min", u"-2147483648", INT32_MIN},
                    IntegerCase{"above int max", u"2147483648", std::nullopt},
                    IntegerCase{"below int min", u"-2147483649", std::nullopt},
                    IntegerCase{"hex 0x", u"0x1F", 31}, IntegerCase{"hex 0X upper", u"0X1f", 31},
                    IntegerCase{"hex dollar", u"$FF", 255},
                    IntegerCase{"negative hex", u"-$10", -16},
                    IntegerCase{"hex all bits", u"$FFFFFFFF", -1},
                    IntegerCase{"hex beyond 32 bits", u"$100000000", std::nullopt},
                    IntegerCase{"prefix without digits", u"0x", std::nullopt},
                    IntegerCase{"dollar alone", u"$", std::nullopt},
                    IntegerCase{"empty", u"", std::nullopt},
                    IntegerCase{"sign alone", u"-", std::nullopt},
                    IntegerCase{"trailing letters", u"12px", std::nullopt},
                    IntegerCase{"inner blank", u"1 2", std::nullopt},
                    IntegerCase{"decimal with hex digit", u"1A", std::nullopt},
                    IntegerCase{"x without zero", u"x10", std::nullopt},
                    IntegerCase{"full-width digits", u"\uFF11\uFF12", std::nullopt},
                    IntegerCase{"fraction", u"1.5", std::nullopt}),
    test::CaseName());

struct PlacementCase {
    const char* name;
    friend void PrintTo(const PlacementCase& c, std::ostream* os) { *os << c.name; }
    WindowBounds stored;
    int screenWidth;
    int screenHeight;
    WindowBounds expected;
};

class KeepOnScreen : public testing::TestWithParam<PlacementCase> {};

TEST_P(KeepOnScreen, RecentresEdgesOutsideThePrimaryScreen) {
    const auto& c = GetParam();
    EXPECT_EQ(keepOnScreen(c.stored, c.screenWidth, c.screenHeight), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, KeepOnScreen,
    testing::Values(
        PlacementCase{"inside stays", {100, 100, 300, 250}, 1920, 1080, {100, 100, 300, 250}},
        PlacementCase{"left 0 recentred", {0, 100, 300, 250}, 1920, 1080, {810, 100, 300, 250}},
        PlacementCase{"left 1 stays", {1, 100, 300, 250}, 1920, 1080, {1, 100, 300, 250}},
        PlacementCase{"top 0 recentred", {100, 0, 300, 250}, 1920, 1080, {100, 415, 300, 250}},
        PlacementCase{
            "bottom on edge stays", {100, 830, 300, 250}, 1920, 1080, {100, 830, 300, 250}},
        PlacementCase{"bottom past edge", {100, 831, 300, 250}, 1920, 1080, {100, 415, 300, 250}},
        PlacementCase{"right on edge stays", {1620, 5, 300, 250}, 1920, 1080, {1620, 5, 300, 250}},
        PlacementCase{"right past edge", {1621, 5, 300, 250}, 1920, 1080, {810, 5, 300, 250}},
        PlacementCase{
            "monitor on the left", {-1500, 200, 300, 250}, 1920, 1080, {810, 200, 300, 250}},
        PlacementCase{
            "each edge judged alone", {-5, 2000, 300, 250}, 1920, 1080, {810, 415, 300, 250}},
        PlacementCase{
            "wider than screen, odd", {0, 10, 2003, 100}, 2000, 1000, {-1, 10, 2003, 100}},
        PlacementCase{
            "wider than screen by one", {0, 10, 2001, 100}, 2000, 1000, {0, 10, 2001, 100}},
        PlacementCase{
            "size never corrected", {5, 5, 5000, 4000}, 1920, 1080, {-1540, -1460, 5000, 4000}},
        // Stored values are any 32-bit integers: sums that leave the int range
        // must still count as beyond the screen.
        PlacementCase{
            "bottom sum overflows", {100, 2147483600, 300, 250}, 1920, 1080, {100, 415, 300, 250}},
        PlacementCase{
            "right sum overflows", {2147483600, 100, 250, 300}, 1920, 1080, {835, 100, 250, 300}},
        PlacementCase{
            "edges at INT_MAX", {INT32_MAX, INT32_MAX, 1, 1}, 1920, 1080, {959, 539, 1, 1}},
        PlacementCase{
            "edges at INT_MIN", {INT32_MIN, INT32_MIN, 300, 250}, 1920, 1080, {810, 415, 300, 250}},
        PlacementCase{"size INT_MIN",
                      {100, 100, INT32_MIN, INT32_MIN},
                      1920,
                      1080,
                      {100, 100, INT32_MIN, INT32_MIN}},
        PlacementCase{"size INT_MIN off screen",
                      {-1, -1, INT32_MIN, INT32_MIN},
                      1920,
                      1080,
                      {1073742784, 1073742364, INT32_MIN, INT32_MIN}},
        PlacementCase{"size INT_MAX",
                      {1, 1, INT32_MAX, INT32_MAX},
                      1920,
                      1080,
                      {-1073740863, -1073741283, INT32_MAX, INT32_MAX}}),
    test::CaseName());

// The rule judges the visible frame: Windows 10 and later leave the sizing
// borders beside and below a window invisible (7 pixels at 96 DPI, 11 at 144
// DPI), and a window the user snapped to the screen's right or bottom edge
// reaches past it by that much. The stored outer rectangle is kept or
// re-centred as a whole.
struct VisibleFrameCase {
    const char* name;
    friend void PrintTo(const VisibleFrameCase& c, std::ostream* os) { *os << c.name; }
    FrameInsets invisible;
    WindowBounds stored;
    int screenWidth;
    int screenHeight;
    WindowBounds expected;
};

class KeepVisibleFrameOnScreen : public testing::TestWithParam<VisibleFrameCase> {};

TEST_P(KeepVisibleFrameOnScreen, JudgesTheVisibleFrameAndPlacesTheOuterRectangle) {
    const auto& c = GetParam();
    EXPECT_EQ(keepOnScreen(c.stored, c.screenWidth, c.screenHeight, c.invisible), c.expected);
}

constexpr FrameInsets kNone{};
constexpr FrameInsets kAt96{7, 0, 7, 7};
constexpr FrameInsets kAt144{11, 0, 11, 11};

INSTANTIATE_TEST_SUITE_P(
    Cases, KeepVisibleFrameOnScreen,
    testing::Values(
        // 96 DPI, a 300 x 250 window on 1920 x 1080.
        VisibleFrameCase{
            "96 inside stays", kAt96, {100, 100, 300, 250}, 1920, 1080, {100, 100, 300, 250}},
        VisibleFrameCase{"96 snapped right stays",
                         kAt96,
                         {1627, 100, 300, 250},
                         1920,
                         1080,
                         {1627, 100, 300, 250}},
        VisibleFrameCase{"96 visible right past the edge",
                         kAt96,
                         {1628, 100, 300, 250},
                         1920,
                         1080,
                         {810, 100, 300, 250}},
        VisibleFrameCase{"96 snapped bottom stays",
                         kAt96,
                         {100, 837, 300, 250},
                         1920,
                         1080,
                         {100, 837, 300, 250}},
        VisibleFrameCase{"96 visible bottom past the edge",
                         kAt96,
                         {100, 838, 300, 250},
                         1920,
                         1080,
                         {100, 415, 300, 250}},
        VisibleFrameCase{"96 snapped into the corner stays",
                         kAt96,
                         {1627, 837, 300, 250},
                         1920,
                         1080,
                         {1627, 837, 300, 250}},
        VisibleFrameCase{"96 visible left at 1 stays",
                         kAt96,
                         {-6, 100, 300, 250},
                         1920,
                         1080,
                         {-6, 100, 300, 250}},
        VisibleFrameCase{"96 visible left at 0 recentred",
                         kAt96,
                         {-7, 100, 300, 250},
                         1920,
                         1080,
                         {810, 100, 300, 250}},
        VisibleFrameCase{"96 top has no inset: 1 stays",
                         kAt96,
                         {100, 1, 300, 250},
                         1920,
                         1080,
                         {100, 1, 300, 250}},
        VisibleFrameCase{"96 top has no inset: 0 recentred",
                         kAt96,
                         {100, 0, 300, 250},
                         1920,
                         1080,
                         {100, 415, 300, 250}},
        // 144 DPI, a 450 x 375 window on 2880 x 1620.
        VisibleFrameCase{"144 snapped right stays",
                         kAt144,
                         {2441, 100, 450, 375},
                         2880,
                         1620,
                         {2441, 100, 450, 375}},
        VisibleFrameCase{"144 visible right past the edge",
                         kAt144,
                         {2442, 100, 450, 375},
                         2880,
                         1620,
                         {1215, 100, 450, 375}},
        VisibleFrameCase{"144 snapped bottom stays",
                         kAt144,
                         {100, 1256, 450, 375},
                         2880,
                         1620,
                         {100, 1256, 450, 375}},
        VisibleFrameCase{"144 visible bottom past the edge",
                         kAt144,
                         {100, 1257, 450, 375},
                         2880,
                         1620,
                         {100, 622, 450, 375}},
        VisibleFrameCase{"144 visible left at 1 stays",
                         kAt144,
                         {-10, 100, 450, 375},
                         2880,
                         1620,
                         {-10, 100, 450, 375}},
        VisibleFrameCase{"144 visible left at 0 recentred",
                         kAt144,
                         {-11, 100, 450, 375},
                         2880,
                         1620,
                         {1215, 100, 450, 375}},
        // Without invisible borders (Wine, systems before Windows 10) the
        // same places are judged by the outer rectangle, as always.
        VisibleFrameCase{"none snapped right at 96 recentred",
                         kNone,
                         {1627, 100, 300, 250},
                         1920,
                         1080,
                         {810, 100, 300, 250}},
        VisibleFrameCase{"none snapped bottom at 144 recentred",
                         kNone,
                         {100, 1256, 450, 375},
                         2880,
                         1620,
                         {100, 622, 450, 375}},
        VisibleFrameCase{"none right on edge stays",
                         kNone,
                         {1620, 100, 300, 250},
                         1920,
                         1080,
                         {1620, 100, 300, 250}},
        VisibleFrameCase{
            "none left 0 recentred", kNone, {0, 100, 300, 250}, 1920, 1080, {810, 100, 300, 250}},
        // Stored values are any 32-bit integers, insets or not.
        VisibleFrameCase{"96 right sum overflows",
                         kAt96,
                         {2147483600, 100, 250, 300},
                         1920,
                         1080,
                         {835, 100, 250, 300}},
        VisibleFrameCase{"96 edges at INT_MIN",
                         kAt96,
                         {INT32_MIN, INT32_MIN, 300, 250},
                         1920,
                         1080,
                         {810, 415, 300, 250}}),
    test::CaseName());

TEST(CentredEdge, TruncatesTowardZero) {
    EXPECT_EQ(centredEdge(1920, 300), 810);
    EXPECT_EQ(centredEdge(1080, 250), 415);
    EXPECT_EQ(centredEdge(2000, 2003), -1);
    EXPECT_EQ(centredEdge(2000, 2001), 0);
    // Differences beyond the int range, halved, fit again.
    EXPECT_EQ(centredEdge(INT32_MAX, INT32_MIN), INT32_MAX);
    EXPECT_EQ(centredEdge(INT32_MIN, INT32_MAX), -INT32_MAX);
    EXPECT_EQ(centredEdge(1080, INT32_MIN), 1073742364);
}

} // namespace
} // namespace morvane
