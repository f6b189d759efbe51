#include "ui/high_contrast.h"

namespace morvane {
namespace {

class SystemHighContrast final : public HighContrastQuestion {
  public:
    bool isOn() const override {
        HIGHCONTRASTW settings{};
        settings.cbSize = sizeof settings;
        return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof settings, &settings, 0) &&
               (settings.dwFlags & HCF_HIGHCONTRASTON);
    }
};

} // namespace

const HighContrastQuestion& HighContrastQuestion::ofThisSystem() {
    static const SystemHighContrast system; // holds nothing: every answer is the system's
    return system;
}

} // namespace morvane
