// A minimised window's restored rectangle from workspace to screen
// coordinates, for every place of the task bar.
#include <gtest/gtest.h>

#include <climits>
#include <optional>

#include "shell/workspace_bounds.h"
#include "support/case_name.h"

namespace morvane {
namespace {

struct WorkspaceCase {
    const char* name;
    friend void PrintTo(const WorkspaceCase& c, std::ostream* os) { *os << c.name; }
    WindowBounds workspace;
    ScreenPoint workArea;
    ScreenPoint monitor;
    WindowBounds screen;
};

class WorkspaceToScreen : public testing::TestWithParam<WorkspaceCase> {};

TEST_P(WorkspaceToScreen, MovesByTheWorkAreasOffsetAndKeepsTheSize) {
    const auto& c = GetParam();
    EXPECT_EQ(workspaceToScreen(c.workspace, c.workArea, c.monitor), c.screen);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WorkspaceToScreen,
    testing::Values(
        WorkspaceCase{
            "task bar at the bottom", {40, 30, 300, 250}, {0, 0}, {0, 0}, {40, 30, 300, 250}},
        WorkspaceCase{
            "task bar at the top", {40, 30, 300, 250}, {0, 48}, {0, 0}, {40, 78, 300, 250}},
        WorkspaceCase{
            "task bar at the left", {40, 30, 300, 250}, {62, 0}, {0, 0}, {102, 30, 300, 250}},
        WorkspaceCase{"second monitor, bar at its top",
                      {10, 20, 300, 250},
                      {1920, 40},
                      {1920, 0},
                      {10, 60, 300, 250}},
        WorkspaceCase{"monitor left of the primary, bar at its left",
                      {-1500, 5, 300, 250},
                      {-1860, 0},
                      {-1920, 0},
                      {-1440, 5, 300, 250}},
        WorkspaceCase{"near the limit: clamped, not wrapped",
                      {INT_MAX - 10, INT_MIN + 10, 300, 250},
                      {100, -100},
                      {0, 0},
                      {INT_MAX, INT_MIN, 300, 250}}),
    test::CaseName());

// The rectangle the settings keep: the window's own unless it is
// minimised, when the restored one stands in, in screen coordinates.
struct RememberCase {
    const char* name;
    friend void PrintTo(const RememberCase& c, std::ostream* os) { *os << c.name; }
    bool minimised;
    std::optional<MonitorOrigins> monitor;
    WindowBounds expected;
};

class BoundsToRemember : public testing::TestWithParam<RememberCase> {};

TEST_P(BoundsToRemember, TakesTheRestoredRectangleWhileMinimised) {
    const auto& c = GetParam();
    const WindowBounds outer{-32000, -32000, 160, 28}; // where a minimised window is
    const WindowBounds restored{40, 30, 300, 250};     // in workspace coordinates
    EXPECT_EQ(boundsToRemember(c.minimised, outer, restored, c.monitor), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BoundsToRemember,
    testing::Values(
        RememberCase{
            "shown: its own", false, MonitorOrigins{{0, 48}, {0, 0}}, {-32000, -32000, 160, 28}},
        RememberCase{"minimised, bar at the bottom",
                     true,
                     MonitorOrigins{{0, 0}, {0, 0}},
                     {40, 30, 300, 250}},
        RememberCase{
            "minimised, bar at the top", true, MonitorOrigins{{0, 48}, {0, 0}}, {40, 78, 300, 250}},
        RememberCase{"minimised on a second monitor, bar at its left",
                     true,
                     MonitorOrigins{{1982, 0}, {1920, 0}},
                     {102, 30, 300, 250}},
        RememberCase{
            "minimised, monitor unknown: as given", true, std::nullopt, {40, 30, 300, 250}}),
    test::CaseName());

} // namespace
} // namespace morvane
