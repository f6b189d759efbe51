#pragma once
// The system's answers a test host goes by: the real services, the
// system's dark extras unless the test brings a stand-in's, and the system's
// high-contrast answer unless the test gives its own.
#include <memory>
#include <string>

#include "app/launcher_host.h"
#include "services/services.h"
#include "support/temp_dir.h"
#include "ui/dark_extras.h"
#include "ui/high_contrast.h"

namespace morvane::test {

inline SystemAnswers
thisSystem(const dark::Extras& extras = dark::Extras::ofThisSystem(),
           const HighContrastQuestion& highContrast = HighContrastQuestion::ofThisSystem()) {
    return {platformServices(), extras, highContrast};
}

// The launcher as if it ran from dir, its settings beside it and the
// operator's own in dir's "user" folder; closing its window does not end the
// test's message loop. Its lists are followed with shorter waits than the
// program's, so that a test of a change waits a fraction of a second.
inline constexpr LiveListTimings kTestLiveListTimings{500, 100};
// For tests of something else that write the lists while the window runs: a
// change would be read only after an hour.
inline constexpr LiveListTimings kListsNotFollowed{3'600'000, 3'600'000};
inline LauncherEnvironment environmentIn(const TempDir& dir,
                                         LiveListTimings timings = kTestLiveListTimings) {
    return {dir.folder(), dir.file(u"MorvaneX.ini"), false, dir.file(u"user\\MorvaneX.ini"),
            timings};
}

// A host for the launcher in dir, its windows not made yet.
inline std::unique_ptr<LauncherHost> hostIn(const TempDir& dir, const SystemAnswers& system) {
    return std::make_unique<LauncherHost>(environmentIn(dir), system);
}

// Forty commands under one group: the tree needs its scroll bar for them.
inline std::string longCommandList() {
    std::string list = "GROUP\r\n";
    for (int i = 0; i < 40; ++i)
        list += "CMD" + std::to_string(i) + "\tdo " + std::to_string(i) + "\r\n";
    return list;
}

// Thirty targets: the dialog's list needs its scroll bar for them.
inline std::string longTargetList() {
    std::string list;
    for (int i = 0; i < 30; ++i)
        list += "CAD " + std::to_string(i) + "\tCad.App." + std::to_string(i) + "\r\n";
    return list;
}

} // namespace morvane::test
