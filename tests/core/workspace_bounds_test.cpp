// A minimised window's restored rectangle from workspace to screen
// coordinates, for every place of the task bar.
#include <gtest/gtest.h>

#include <climits>

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

} // namespace
} // namespace morvane
