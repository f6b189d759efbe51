// The main window's side of the Target CAD dialog.
#include "app/launcher_host.h"
#include "app/main_window.h"
#include "cad_targets/target_line.h"
#include "cad_targets/win32/target_dialog.h"
#include "platform/services.h"
#include "platform/win32/win32_text.h"
#include "shell/caption.h"

namespace morvane {

void MainWindow::openTargetDialog() {
    const auto choice = host_.chooseTarget(state_.targetProgID);
    if (!choice)
        return;
    SetWindowTextW(hwnd(), toWide(chosenTargetCaption(kApplicationTitle, choice->name)).c_str());
    state_.targetProgID = choice->progId;
}

} // namespace morvane
