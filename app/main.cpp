// Process start of MorvaneX: OLE, the common controls, the dark extras, and
// the host that owns everything else.
#include <windows.h>

#include <commctrl.h>

#include "app/launcher_host.h"
#include "platform/win32/scoped.h"
#include "services/services.h"
#include "ui/dark_extras.h"
#include "ui/high_contrast.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // The UI thread is a single-threaded apartment for the CAD's automation.
    morvane::OleScope ole;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    const auto& darkExtras = morvane::dark::Extras::ofThisSystem();
    const auto& highContrast = morvane::HighContrastQuestion::ofThisSystem();
    // With high contrast on, the system's own menus and parts.
    if (!highContrast.isOn())
        darkExtras.enableForProcess();

    morvane::LauncherHost host(morvane::environmentOfThisProgram(),
                               {morvane::platformServices(), darkExtras, highContrast});
    HWND main = host.createMainWindow();
    if (!main)
        return 1;
    ShowWindow(main, showCommand);
    UpdateWindow(main);
    return host.runMessageLoop();
}
