// The main window's side of the Target CAD dialog.
#include "app/main_window.h"
#include "cad_targets/target_line.h"
#include "cad_targets/win32/target_dialog.h"
#include "platform/services.h"
#include "platform/win32/win32_text.h"
#include "shell/caption.h"

namespace morvane {

void MainWindow::makeTargetDialog() {
    if (!state_.targetDialog)
        state_.targetDialog = std::make_unique<TargetDialog>(
            hwnd(), environment_.exeFolder + std::u16string(kTargetListFileName),
            platformServices(), darkExtras_, colours_.question());
}

void MainWindow::openTargetDialog() {
    makeTargetDialog();
    const auto choice = state_.targetDialog->choose(state_.targetProgID);
    if (!choice)
        return;
    SetWindowTextW(hwnd(), toWide(chosenTargetCaption(kApplicationTitle, choice->name)).c_str());
    state_.targetProgID = choice->progId;
}

} // namespace morvane
