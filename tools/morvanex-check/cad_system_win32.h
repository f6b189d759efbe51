#pragma once
// The CAD check's view of this Windows session: COM automation, the
// registry's ProgIDs and type libraries, the running object table, this
// process's token and the desktop's windows.
#include "cad/win32/cad_automation_win32.h"
#include "cad_check.h"
#include "cad_list.h"

#include <map>
#include <string>

namespace morvane {

class Win32CadSystem final : public CadSystem, public CadCatalog {
  public:
    CadAutomation& automation() override { return automation_; }
    bool isRegistered(std::u16string_view progId) override;
    bool isElevated() override;
    bool isWindow(uint64_t window) override;

    std::vector<std::u16string> runningObjects() override;
    LiveMembers askRunning(std::u16string_view classId) override;
    std::vector<RegisteredProgId> registeredProgIds() override;
    std::optional<ClassRegistration> classRegistration(std::u16string_view classId) override;
    std::optional<std::vector<DescribedInterface>>
    typeLibrary(std::u16string_view classId) override;

  private:
    ComCadAutomation automation_;
    // Classes share libraries: each is read once, by "{LIBID} major.minor".
    std::map<std::wstring, std::optional<std::vector<DescribedInterface>>> libraries_;
};

} // namespace morvane
