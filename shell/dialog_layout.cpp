#include "shell/dialog_layout.h"

#include <algorithm>

namespace morvane {
namespace {

// A place designed at 96 DPI, relative to an origin; left and top are
// scaled with the origin, so that children of a group stay where the group's
// frame puts them.
struct Place96 {
    int left, top, width, height;
};

ControlRect placeAt(const Place96& p, int originX, int originY, int dpi, int minWidth = 0) {
    return {scaleForDpi(originX + p.left, dpi), scaleForDpi(originY + p.top, dpi),
            std::max(minWidth, scaleForDpi(p.width, dpi)), scaleForDpi(p.height, dpi)};
}

// The target dialog as designed.
constexpr int kTargetClientWidth = 315, kTargetClientHeight = 307;
constexpr Place96 kTargetListPlace{8, 8, 297, 137};
constexpr int kGroupX = 8, kGroupY = 151, kGroupWidth = 297, kGroupHeight = 105;
// Children of the group, relative to its top-left corner.
constexpr Place96 kNameLabelPlace{16, 3, 64, 14};
constexpr Place96 kNameEditPlace{16, 23, 198, 24};
constexpr Place96 kProgIdLabelPlace{16, 53, 114, 14};
constexpr Place96 kProgIdEditPlace{16, 73, 198, 24};
constexpr Place96 kEditButtonPlaces[3] = {{220, 21, 71, 22}, {220, 49, 71, 22}, {220, 77, 71, 22}};
constexpr Place96 kOkButtonPlace{80, 271, 75, 25};
constexpr Place96 kCancelButtonPlace{161, 271, 88, 25};

} // namespace

TargetDialogLayout layOutTargetDialog(int dpi, int nameLabelTextWidth, int progIdLabelTextWidth) {
    TargetDialogLayout layout;
    layout.clientWidth = scaleForDpi(kTargetClientWidth, dpi);
    layout.clientHeight = scaleForDpi(kTargetClientHeight, dpi);
    layout.targetList = placeAt(kTargetListPlace, 0, 0, dpi);
    const int groupLeft = scaleForDpi(kGroupX, dpi), groupTop = scaleForDpi(kGroupY, dpi);
    layout.editsGroup = {groupLeft, groupTop, scaleForDpi(kGroupX + kGroupWidth, dpi) - groupLeft,
                         scaleForDpi(kGroupY + kGroupHeight, dpi) - groupTop};
    layout.nameLabel = placeAt(kNameLabelPlace, kGroupX, kGroupY, dpi, nameLabelTextWidth);
    layout.nameEdit = placeAt(kNameEditPlace, kGroupX, kGroupY, dpi);
    layout.progIdLabel = placeAt(kProgIdLabelPlace, kGroupX, kGroupY, dpi, progIdLabelTextWidth);
    layout.progIdEdit = placeAt(kProgIdEditPlace, kGroupX, kGroupY, dpi);
    for (size_t i = 0; i < layout.editButtons.size(); ++i)
        layout.editButtons[i] = placeAt(kEditButtonPlaces[i], kGroupX, kGroupY, dpi);
    layout.okButton = placeAt(kOkButtonPlace, 0, 0, dpi);
    layout.cancelButton = placeAt(kCancelButtonPlace, 0, 0, dpi);
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
