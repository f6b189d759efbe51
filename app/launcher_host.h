#pragma once
// The one owner of the launcher's long-lived objects, made by wWinMain (and
// by a test): the state, the UI thread's message filter, the CAD link's
// adapters, the main window and the target dialog. It wires them: each
// window is handed what it uses when it is made, and none reaches back.
#include <windows.h>

#include <memory>
#include <optional>
#include <string_view>

#include "app/activation_hotkey.h"
#include "app/launcher_environment.h"
#include "app/launcher_state.h"
#include "app/main_window.h"
#include "app/message_filter.h"
#include "app/system_answers.h"
#include "cad/cad_link.h"
#include "cad/win32/cad_automation_win32.h"
#include "cad_targets/win32/target_dialog.h"

namespace morvane {

class LauncherHost final {
  public:
    // The windows are made later.
    LauncherHost(LauncherEnvironment environment, const SystemAnswers& system);
    // The dialog goes first, then the main window (revoking the filter),
    // then the adapters.
    ~LauncherHost();
    LauncherHost(const LauncherHost&) = delete;
    LauncherHost& operator=(const LauncherHost&) = delete;

    // Creates the main window (restoring its place and loading the list)
    // without showing it, and once it is there registers the UI thread's
    // message filter and the hotkey the settings name, which stay
    // registered until the window is gone.
    HWND createMainWindow();
    // Makes the hidden target dialog, owned by the main window, unless
    // there is one: once the main window is painted and idle, or at once
    // when the menu asks for it sooner.
    void makeTargetDialog();
    // The choice of the target dialog (made if need be), opened for the
    // target progId.
    std::optional<TargetChoice> chooseTarget(std::u16string_view progId);
    // The program's message loop, to WM_QUIT; its exit code.
    int runMessageLoop();

    LauncherState& state() { return state_; }
    const SystemAnswers& system() const { return system_; }
    MainWindow& mainWindow() { return mainWindow_; }
    TargetDialog* targetDialog() const { return targetDialog_.get(); }
    // The registered filter, or nullptr.
    MessageFilter* messageFilter() const {
        return messageFilter_ ? messageFilter_->filter() : nullptr;
    }

    // The settings' hotkey is registered for the main window.
    bool hotkeyRegistered() const { return hotkey_.has_value(); }

  private:
    SystemAnswers system_;
    LauncherState state_;
    std::optional<MessageFilterRegistration> messageFilter_;
    std::optional<HotkeyRegistration> hotkey_;
    ComCadAutomation cadAutomation_;
    Win32CadDesktop cadDesktop_;
    MainWindow mainWindow_;
    std::unique_ptr<TargetDialog> targetDialog_;
};

} // namespace morvane
