#pragma once
// The system's answers a test host goes by: the real services, and the
// system's dark extras unless the test brings a stand-in's.
#include "app/launcher_host.h"
#include "platform/services.h"
#include "ui/dark_extras.h"

namespace morvane::test {

inline SystemAnswers thisSystem(const dark::Extras& extras = dark::Extras::ofThisSystem()) {
    return {platformServices(), extras};
}

} // namespace morvane::test
