// The main window's control rectangles at 96 and 144 DPI.
#include <gtest/gtest.h>

#include "shell/main_layout.h"

namespace morvane {
namespace {

TEST(MainLayout, DesignedSizeAt96DpiIsTheTable) {
    const MainLayout layout = layoutMainWindow(280, 202, 96);
    EXPECT_EQ(layout.commandTree, (ControlRect{0, 27, 280, 175}));
    EXPECT_EQ(layout.commandOrderButton, (ControlRect{176, 4, 50, 23}));
    EXPECT_EQ(layout.fileOrderButton, (ControlRect{128, 4, 50, 23}));
    EXPECT_EQ(layout.searchBox, (ControlRect{40, 4, 89, 22}));
    EXPECT_EQ(layout.escapePanel, (ControlRect{225, 4, 43, 23}));
    EXPECT_EQ(layout.escapeButton, (ControlRect{0, 0, 43, 23}));
    EXPECT_EQ(layout.searchLabel, (ControlRect{10, 8, 24, 13}));
}

TEST(MainLayout, ScalesAt144DpiAndTheTreeFollowsTheClientSize) {
    const MainLayout layout = layoutMainWindow(500, 400, 144);
    EXPECT_EQ(layout.commandTree, (ControlRect{0, 41, 500, 359})); // 27 * 1.5 rounds to 41
    EXPECT_EQ(layout.commandOrderButton, (ControlRect{264, 6, 75, 35}));
    EXPECT_EQ(layout.searchBox, (ControlRect{60, 6, 134, 33}));
    EXPECT_EQ(layout.escapePanel, (ControlRect{338, 6, 65, 35}));
    EXPECT_EQ(layout.escapeButton, (ControlRect{0, 0, 65, 35}));
}

TEST(MainLayout, TinyClientGivesNoNegativeTreeSize) {
    const MainLayout layout = layoutMainWindow(0, 10, 96);
    EXPECT_EQ(layout.commandTree, (ControlRect{0, 27, 0, 0}));
}

} // namespace
} // namespace morvane
