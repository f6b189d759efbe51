#pragma once
// The system's answers the windows go by, asked of this system by wWinMain
// and handed by the host to each window it makes. A test passes its own (a
// stand-in uxtheme's extras, say, its own answer to whether high contrast is
// on, which Wine cannot turn on, or the invisible borders of Windows 10,
// which Wine does not have).
#include "services/services.h"
#include "ui/dark_extras.h"
#include "ui/dpi.h"
#include "ui/high_contrast.h"

namespace morvane {

struct SystemAnswers {
    PlatformServices& services;
    const dark::Extras& darkExtras;
    const HighContrastQuestion& highContrast = HighContrastQuestion::ofThisSystem();
    InvisibleFrameQuestion invisibleFrame = invisibleFrameOfThisSystem;
};

} // namespace morvane
