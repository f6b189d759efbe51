// The target dialog's and the message box's places at 96, 144 and 192 DPI.
#include <gtest/gtest.h>

#include "shell/dialog_layout.h"

namespace morvane {
namespace {

struct TargetCase {
    int dpi;
    int labelTextWidth; // both labels' measured texts
    int clientWidth, clientHeight;
    ControlRect targetList, editsGroup, nameLabel, progIdLabel, nameEdit, changeButton, okButton,
        cancelButton;
};

TEST(TargetDialogLayout, ScalesTheDesignAndWidensLabelsForTheirText) {
    const TargetCase cases[] = {
        {96,
         50,
         315,
         307,
         {8, 8, 297, 137},
         {8, 151, 297, 105},
         {24, 154, 64, 14},
         {24, 204, 114, 14},
         {24, 174, 198, 24},
         {228, 228, 71, 22},
         {80, 271, 75, 25},
         {161, 271, 88, 25}},
        // Halves round away from zero; the group's size is the difference of
        // its scaled edges, so its frame meets the scaled children.
        {144,
         90,
         473,
         461,
         {12, 12, 446, 206},
         {12, 227, 446, 157},
         {36, 231, 96, 21},
         {36, 306, 171, 21},
         {36, 261, 297, 36},
         {342, 342, 107, 33},
         {120, 407, 113, 38},
         {242, 407, 132, 38}},
        {192,
         300,
         630,
         614,
         {16, 16, 594, 274},
         {16, 302, 594, 210},
         {48, 308, 300, 28},
         {48, 408, 300, 28},
         {48, 348, 396, 48},
         {456, 456, 142, 44},
         {160, 542, 150, 50},
         {322, 542, 176, 50}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const auto layout = layOutTargetDialog(c.dpi, c.labelTextWidth, c.labelTextWidth);
        EXPECT_EQ(layout.clientWidth, c.clientWidth);
        EXPECT_EQ(layout.clientHeight, c.clientHeight);
        EXPECT_EQ(layout.targetList, c.targetList);
        EXPECT_EQ(layout.editsGroup, c.editsGroup);
        EXPECT_EQ(layout.nameLabel, c.nameLabel);
        EXPECT_EQ(layout.progIdLabel, c.progIdLabel);
        EXPECT_EQ(layout.nameEdit, c.nameEdit);
        EXPECT_EQ(layout.editButtons[2], c.changeButton);
        EXPECT_EQ(layout.okButton, c.okButton);
        EXPECT_EQ(layout.cancelButton, c.cancelButton);
    }
}

TEST(TargetDialogLayout, EditButtonsStandInAColumnBesideTheEdits) {
    const auto layout = layOutTargetDialog(96, 0, 0);
    EXPECT_EQ(layout.editButtons[0], (ControlRect{228, 172, 71, 22}));
    EXPECT_EQ(layout.editButtons[1], (ControlRect{228, 200, 71, 22}));
    EXPECT_EQ(layout.progIdEdit, (ControlRect{24, 224, 198, 24}));
}

struct MessageBoxCase {
    int dpi;
    int textWidth, textHeight, buttonCount;
    int clientWidth, clientHeight;
    ControlRect icon, text;
    std::vector<ControlRect> buttons;
};

TEST(MessageBoxLayout, TextBesideTheIconAndButtonsRightAlignedBelow) {
    const MessageBoxCase cases[] = {
        // One line of text; the width is the text's, above the minimum.
        {96, 200, 16, 1, 272, 104, {14, 14, 32, 32}, {58, 22, 200, 16}, {{170, 64, 88, 26}}},
        // A narrow text taller than the icon: the minimum width, the text
        // at the top, two buttons.
        {144,
         100,
         60,
         2,
         390,
         168,
         {21, 21, 48, 48},
         {87, 21, 100, 60},
         {{93, 108, 132, 39}, {237, 108, 132, 39}}},
        // A text as wide as allowed and lower than a line: one line high,
        // centred on the icon.
        {192,
         880,
         10,
         2,
         1024,
         208,
         {28, 28, 64, 64},
         {116, 44, 880, 32},
         {{628, 128, 176, 52}, {820, 128, 176, 52}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        const auto layout = layOutMessageBox(c.dpi, c.textWidth, c.textHeight, c.buttonCount);
        EXPECT_EQ(layout.clientWidth, c.clientWidth);
        EXPECT_EQ(layout.clientHeight, c.clientHeight);
        EXPECT_EQ(layout.icon, c.icon);
        EXPECT_EQ(layout.text, c.text);
        EXPECT_EQ(layout.buttons, c.buttons);
    }
    EXPECT_EQ(messageTextMaxWidth(96), 440);
    EXPECT_EQ(messageTextMaxWidth(192), 880);
}

} // namespace
} // namespace morvane
