// The target dialog's and the message box's places at 96, 144 and 192 DPI.
#include <gtest/gtest.h>

#include <vector>

#include "shell/dialog_layout.h"

namespace morvane {
namespace {

// The client size, then the list, the group's frame, the two labels, the
// name edit, 変更, OK and 取り消し.
std::vector<ControlRect> targetPlaces(const TargetDialogLayout& layout) {
    return {{0, 0, layout.clientWidth, layout.clientHeight},
            layout.targetList,
            layout.editsGroup,
            layout.nameLabel,
            layout.progIdLabel,
            layout.nameEdit,
            layout.editButtons[2],
            layout.okButton,
            layout.cancelButton};
}

TEST(TargetDialogLayout, ScalesTheDesignAndWidensLabelsForTheirText) {
    struct Case {
        int dpi;
        int labelTextWidth; // both labels' measured texts
        std::vector<ControlRect> places;
    };
    const Case cases[] = {
        {96,
         50,
         {{0, 0, 315, 307},
          {8, 8, 297, 137},
          {8, 151, 297, 105},
          {24, 154, 64, 14},
          {24, 204, 114, 14},
          {24, 174, 198, 24},
          {228, 228, 71, 22},
          {80, 271, 75, 25},
          {161, 271, 88, 25}}},
        // Halves round away from zero; the group's size is the difference of
        // its scaled edges, so its frame meets the scaled children.
        {144,
         90,
         {{0, 0, 473, 461},
          {12, 12, 446, 206},
          {12, 227, 446, 157},
          {36, 231, 96, 21},
          {36, 306, 171, 21},
          {36, 261, 297, 36},
          {342, 342, 107, 33},
          {120, 407, 113, 38},
          {242, 407, 132, 38}}},
        {192,
         300,
         {{0, 0, 630, 614},
          {16, 16, 594, 274},
          {16, 302, 594, 210},
          {48, 308, 300, 28},
          {48, 408, 300, 28},
          {48, 348, 396, 48},
          {456, 456, 142, 44},
          {160, 542, 150, 50},
          {322, 542, 176, 50}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(targetPlaces(layOutTargetDialog(c.dpi, c.labelTextWidth, c.labelTextWidth)),
                  c.places)
            << c.dpi << " DPI";
}

TEST(TargetDialogLayout, EditButtonsStandInAColumnBesideTheEdits) {
    const auto layout = layOutTargetDialog(96, 0, 0);
    EXPECT_EQ(layout.editButtons[0], (ControlRect{228, 172, 71, 22}));
    EXPECT_EQ(layout.editButtons[1], (ControlRect{228, 200, 71, 22}));
    EXPECT_EQ(layout.progIdEdit, (ControlRect{24, 224, 198, 24}));
}

// The client size, the icon and the text, then the buttons from the left.
std::vector<ControlRect> messageBoxPlaces(const MessageBoxLayout& layout) {
    std::vector<ControlRect> places{
        {0, 0, layout.clientWidth, layout.clientHeight}, layout.icon, layout.text};
    places.insert(places.end(), layout.buttons.begin(), layout.buttons.end());
    return places;
}

TEST(MessageBoxLayout, TextBesideTheIconAndButtonsRightAlignedBelow) {
    struct Case {
        int dpi;
        int textWidth, textHeight, buttonCount;
        std::vector<ControlRect> places;
    };
    const Case cases[] = {
        // One line of text; the width is the text's, above the minimum.
        {96,
         200,
         16,
         1,
         {{0, 0, 272, 104}, {14, 14, 32, 32}, {58, 22, 200, 16}, {170, 64, 88, 26}}},
        // A narrow text taller than the icon: the minimum width, the text at
        // the top, two buttons.
        {144,
         100,
         60,
         2,
         {{0, 0, 390, 168},
          {21, 21, 48, 48},
          {87, 21, 100, 60},
          {93, 108, 132, 39},
          {237, 108, 132, 39}}},
        // A text as wide as allowed and lower than a line: one line high,
        // centred on the icon.
        {192,
         880,
         10,
         2,
         {{0, 0, 1024, 208},
          {28, 28, 64, 64},
          {116, 44, 880, 32},
          {628, 128, 176, 52},
          {820, 128, 176, 52}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            messageBoxPlaces(layOutMessageBox(c.dpi, c.textWidth, c.textHeight, c.buttonCount)),
            c.places)
            << c.dpi << " DPI";
    EXPECT_EQ(messageTextMaxWidth(96), 440);
    EXPECT_EQ(messageTextMaxWidth(192), 880);
}

} // namespace
} // namespace morvane
