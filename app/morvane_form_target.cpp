// The main window's side of the Target CAD dialog.
#include "app/app_state.h"
#include "app/morvane_form.h"
#include "platform/services.h"
#include "shell/caption.h"
#include "target/target_line.h"
#include "target/win32/TaregetCADUnit.h"
#include "target/win32/target_cad_choice.h"

namespace morvane {

void TMorvaneForm::makeTargetCADForm() {
    if (!TargetCADForm)
        targetCADForm_ = std::make_unique<TTargetCADForm>(
            hwnd(), environment_.exeFolder + std::u16string(kTargetListFileName),
            platformServices());
}

void TMorvaneForm::CAD2Click() {
    makeTargetCADForm();
    if (TargetCADForm)
        chooseTargetCad(hwnd(), kApplicationTitle, *TargetCADForm, targetProgID);
}

} // namespace morvane
