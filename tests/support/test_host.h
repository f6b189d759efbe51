#pragma once
// The system's answers a test host goes by: the real services, the
// system's dark extras unless the test brings a stand-in's, and the system's
// high-contrast answer unless the test gives its own.
#include <memory>
#include <string>

#include "app/launcher_host.h"
#include "platform/services.h"
#include "support/temp_dir.h"
#include "ui/dark_extras.h"
#include "ui/high_contrast.h"

namespace morvane::test {

inline SystemAnswers
thisSystem(const dark::Extras& extras = dark::Extras::ofThisSystem(),
           const HighContrastQuestion& highContrast = HighContrastQuestion::ofThisSystem()) {
    return {platformServices(), extras, highContrast};
}

// A host over a command list of one group and 40 commands in dir: enough
// rows for the tree to need its scroll bar. Its main window is not made yet.
inline std::unique_ptr<LauncherHost> hostOverLongList(TempDir& dir, const SystemAnswers& answers) {
    std::string list = "GROUP\r\n";
    for (int i = 0; i < 40; ++i)
        list += "CMD" + std::to_string(i) + "\tdo " + std::to_string(i) + "\r\n";
    dir.write(u"MorvaneList.txt", list);
    return std::make_unique<LauncherHost>(
        LauncherEnvironment{dir.folder(), dir.file(u"MorvaneX.ini"), false}, answers);
}

} // namespace morvane::test
