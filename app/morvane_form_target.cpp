// The main window's side of the Target CAD dialog.
#include "app/app_state.h"
#include "app/morvane_form.h"
#include "shell/caption.h"
#include "target/win32/TaregetCADUnit.h"
#include "target/win32/target_cad_choice.h"

namespace morvane {

void TMorvaneForm::CAD2Click() {
    if (TargetCADForm)
        chooseTargetCad(hwnd(), kApplicationTitle, *TargetCADForm, targetProgID);
}

} // namespace morvane
