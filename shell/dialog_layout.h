#pragma once
// Where the target dialog's and the message box's controls go at a DPI:
// sizes designed at 96 DPI and scaled, as the main window's layout is.
// Text widths are measured by the caller, in the font of that DPI.
#include <array>
#include <vector>

#include "shell/control_rect.h"

namespace morvane {

struct TargetDialogLayout {
    int clientWidth = 0, clientHeight = 0;
    ControlRect targetList;
    ControlRect editsGroup; // the frame drawn around the edits and their buttons
    ControlRect nameLabel, nameEdit, progIdLabel, progIdEdit;
    std::array<ControlRect, 3> editButtons; // 追加, 削除, 変更
    ControlRect okButton, cancelButton;
};

// The labels are as wide as their texts where those are wider than designed,
// so a wider fallback font for the Japanese characters never cuts them.
TargetDialogLayout layOutTargetDialog(int dpi, int nameLabelTextWidth, int progIdLabelTextWidth);

struct MessageBoxLayout {
    int clientWidth = 0, clientHeight = 0;
    ControlRect icon, text;
    std::vector<ControlRect> buttons; // left to right
};

// The widest the message text may be before its lines break.
int messageTextMaxWidth(int dpi);
// The text's size as measured with lines broken at messageTextMaxWidth.
MessageBoxLayout layOutMessageBox(int dpi, int textWidth, int textHeight, int buttonCount);

} // namespace morvane
