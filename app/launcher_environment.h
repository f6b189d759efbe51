#pragma once
// Where the launcher finds its files: found once by the host from the
// program's own path (a test passes a folder of its own) and handed to the
// main window, which reads and writes only there.
#include <string>
#include <string_view>

#include "live/live_lists.h"

namespace morvane {

struct LauncherEnvironment {
    std::u16string exeFolder;    // ends with a path separator
    std::u16string settingsPath; // the executable's path with ".ini"
    bool quitOnClose = true;     // closing the main window ends the message loop
    // The operator's own settings file, used when the one beside the exe
    // cannot be written or says so (shell/settings_location.h); empty for
    // none.
    std::u16string userSettingsPath;
    // How the command list and the target list are followed while the
    // window runs; a test shortens the waits.
    LiveListTimings liveLists;
};

// The environment of a program at programPath: its folder, and its path
// with the extension (if any) replaced by ".ini"; with the user's local
// application data folder, the operator's own settings file in it.
LauncherEnvironment environmentOfProgram(std::u16string_view programPath,
                                         std::u16string_view localAppData = {});

// The environment of the running exe.
LauncherEnvironment environmentOfThisProgram();

} // namespace morvane
