// Process start of MorvaneX: OLE, the dark main window, the message loop.
#include <windows.h>

#include <commctrl.h>

#include "app/launcher_state.h"
#include "app/main_window.h"
#include "platform/win32/scoped.h"
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

    morvane::LauncherState state;
    morvane::MainWindow window(state, morvane::LauncherEnvironment::forThisProgram(), darkExtras,
                               highContrast);
    HWND main = window.create();
    if (!main)
        return 1;
    ShowWindow(main, showCommand);
    UpdateWindow(main);

    MSG msg{};
    for (;;) {
        // Once the window is painted and nothing waits, the hidden target
        // dialog is made (at once if the menu asks for it sooner).
        if (!state.targetDialog && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            window.makeTargetDialog();
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
            break;
        if (window.preTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}
