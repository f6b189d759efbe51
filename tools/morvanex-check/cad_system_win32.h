#pragma once
// The CAD check's view of this Windows session: COM automation, the
// registry's ProgIDs, this process's token and the desktop's windows.
#include "cad/win32/cad_automation_win32.h"
#include "cad_check.h"

namespace morvane {

class Win32CadSystem final : public CadSystem {
  public:
    CadAutomation& automation() override { return automation_; }
    bool isRegistered(std::u16string_view progId) override;
    bool isElevated() override;
    bool isWindow(uint64_t window) override;

  private:
    ComCadAutomation automation_;
};

} // namespace morvane
