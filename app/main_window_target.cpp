// The main window's side of the Target CAD dialog.
#include "app/main_window.h"
#include "cad_targets/caption.h"
#include "cad_targets/target_line.h"

namespace morvane {

void MainWindow::openTargetDialog() {
    const auto choice = links_.chooseTarget(state_.targetProgID);
    if (!choice)
        return;
    setWindowText(hwnd(), chosenTargetCaption(choice->name));
    state_.targetProgID = choice->progId;
}

} // namespace morvane
