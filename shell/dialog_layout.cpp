#include "shell/dialog_layout.h"

#include <algorithm>

namespace morvane {
namespace {

// A place designed at 96 DPI relative to an origin, scaled with the origin so
// that children of a group stay where the group's frame puts them; at least
// minWidth wide.
ControlRect placeAt(const ControlRect& designed, int originX, int originY, int dpi,
                    int minWidth = 0) {
    ControlRect place = scaleForDpi(ControlRect{originX + designed.left, originY + designed.top,
                                                designed.width, designed.height},
                                    dpi);
    place.width = std::max(minWidth, place.width);
    return place;
}

// The target dialog as designed.
constexpr int kTargetClientWidth = 315, kTargetClientHeight = 307;
constexpr ControlRect kTargetListPlace{8, 8, 297, 137};
constexpr int kGroupX = 8, kGroupY = 151, kGroupWidth = 297, kGroupHeight = 105;
// Children of the group, relative to its top-left corner.
constexpr ControlRect kNameLabelPlace{16, 3, 64, 14};
constexpr ControlRect kNameEditPlace{16, 23, 198, 24};
constexpr ControlRect kProgIdLabelPlace{16, 53, 114, 14};
constexpr ControlRect kProgIdEditPlace{16, 73, 198, 24};
constexpr ControlRect kEditButtonPlaces[3] = {
    {220, 21, 71, 22}, {220, 49, 71, 22}, {220, 77, 71, 22}};
constexpr ControlRect kOkButtonPlace{80, 271, 75, 25};
constexpr ControlRect kCancelButtonPlace{161, 271, 88, 25};

} // namespace

TargetDialogLayout layOutTargetDialog(int dpi, int nameLabelTextWidth, int progIdLabelTextWidth) {
    TargetDialogLayout layout;
    layout.clientWidth = scaleForDpi(kTargetClientWidth, dpi);
    layout.clientHeight = scaleForDpi(kTargetClientHeight, dpi);
    layout.targetList = scaleForDpi(kTargetListPlace, dpi);
    const int groupLeft = scaleForDpi(kGroupX, dpi), groupTop = scaleForDpi(kGroupY, dpi);
    layout.editsGroup = {groupLeft, groupTop, scaleForDpi(kGroupX + kGroupWidth, dpi) - groupLeft,
                         scaleForDpi(kGroupY + kGroupHeight, dpi) - groupTop};
    layout.nameLabel = placeAt(kNameLabelPlace, kGroupX, kGroupY, dpi, nameLabelTextWidth);
    layout.nameEdit = placeAt(kNameEditPlace, kGroupX, kGroupY, dpi);
    layout.progIdLabel = placeAt(kProgIdLabelPlace, kGroupX, kGroupY, dpi, progIdLabelTextWidth);
    layout.progIdEdit = placeAt(kProgIdEditPlace, kGroupX, kGroupY, dpi);
    for (size_t i = 0; i < layout.editButtons.size(); ++i)
        layout.editButtons[i] = placeAt(kEditButtonPlaces[i], kGroupX, kGroupY, dpi);
    layout.okButton = scaleForDpi(kOkButtonPlace, dpi);
    layout.cancelButton = scaleForDpi(kCancelButtonPlace, dpi);
    return layout;
}

int messageTextMaxWidth(int dpi) {
    return scaleForDpi(440, dpi);
}

MessageBoxLayout layOutMessageBox(int dpi, int textWidth, int textHeight, int buttonCount) {
    const int margin = scaleForDpi(14, dpi);
    const int iconSize = scaleForDpi(32, dpi);
    const int gap = scaleForDpi(12, dpi);
    textHeight = std::max(textHeight, scaleForDpi(16, dpi));
    const int buttonWidth = scaleForDpi(88, dpi);
    const int buttonHeight = scaleForDpi(26, dpi);
    const int buttonGap = scaleForDpi(8, dpi);
    const int buttonsWidth = buttonCount * buttonWidth + (buttonCount - 1) * buttonGap;
    const int bodyHeight = std::max(iconSize, textHeight);

    MessageBoxLayout layout;
    layout.clientWidth = std::max({margin + iconSize + gap + textWidth + margin,
                                   buttonsWidth + 2 * margin, scaleForDpi(260, dpi)});
    layout.clientHeight = margin + bodyHeight + scaleForDpi(18, dpi) + buttonHeight + margin;
    layout.icon = {margin, margin, iconSize, iconSize};
    layout.text = {margin + iconSize + gap, margin + (bodyHeight - textHeight) / 2, textWidth,
                   textHeight};
    int x = layout.clientWidth - margin - buttonsWidth;
    const int y = layout.clientHeight - margin - buttonHeight;
    for (int i = 0; i < buttonCount; ++i) {
        layout.buttons.push_back({x, y, buttonWidth, buttonHeight});
        x += buttonWidth + buttonGap;
    }
    return layout;
}

} // namespace morvane
