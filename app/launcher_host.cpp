#include "app/launcher_host.h"

#include "cad_targets/target_line.h"

namespace morvane {

LauncherHost::LauncherHost(LauncherEnvironment environment, const SystemAnswers& system)
    : system_(system),
      mainWindow_(std::move(environment),
                  MainWindowLinks{
                      state_,
                      system_,
                      CadLink{cadAutomation_, cadDesktop_, system_.services.clock},
                      [this](std::u16string_view progId) { return chooseTarget(progId); },
                      // The filter goes with the window: nothing calls the CAD
                      // once the window is gone. The hotkey goes while the
                      // window still is.
                      [this] {
                          messageFilter_.reset();
                          hotkey_.reset();
                      },
                  }) {}

// The members go in reverse order: the dialog, the main window (which
// destroys its window and so revokes the filter), then the CAD adapters.
LauncherHost::~LauncherHost() = default;

HWND LauncherHost::createMainWindow() {
    HWND window = mainWindow_.create();
    if (window) {
        messageFilter_.emplace();
        registerActivationHotkey(hotkey_, window, mainWindow_.activateSetting());
    }
    return window;
}

void LauncherHost::makeTargetDialog() {
    if (targetDialog_ || !mainWindow_.hwnd())
        return;
    targetDialog_ = std::make_unique<TargetDialog>(
        mainWindow_.hwnd(),
        mainWindow_.environment().exeFolder + std::u16string(kTargetListFileName), system_.services,
        system_.darkExtras, system_.highContrast);
    // Its saves re-sort and rewrite the target list: not changes for the
    // main window to follow, whose caption follows the dialog's OK.
    targetDialog_->onListSaved(
        [this](std::u16string_view) { mainWindow_.listWrittenHere(LiveFile::TargetList); });
}

std::optional<TargetChoice> LauncherHost::chooseTarget(std::u16string_view progId) {
    makeTargetDialog();
    if (!targetDialog_)
        return std::nullopt;
    return targetDialog_->choose(progId);
}

int LauncherHost::runMessageLoop() {
    MSG msg{};
    for (;;) {
        // Once the window is painted and nothing waits, the hidden target
        // dialog is made (at once if the menu asks for it sooner).
        if (!targetDialog_ && !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE))
            makeTargetDialog();
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0)
            break;
        if (mainWindow_.preTranslateMessage(msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

} // namespace morvane
