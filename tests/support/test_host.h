#pragma once
// The system's answers a test host goes by: the real services, the
// system's dark extras unless the test brings a stand-in's, and the system's
// high-contrast answer unless the test gives its own.
#include "app/launcher_host.h"
#include "platform/services.h"
#include "ui/dark_extras.h"
#include "ui/high_contrast.h"

namespace morvane::test {

inline SystemAnswers
thisSystem(const dark::Extras& extras = dark::Extras::ofThisSystem(),
           const HighContrastQuestion& highContrast = HighContrastQuestion::ofThisSystem()) {
    return {platformServices(), extras, highContrast};
}

} // namespace morvane::test
