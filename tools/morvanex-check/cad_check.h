#pragma once
// The CAD check: can the launcher reach the CAD a ProgID names? The steps a
// double-click takes, each reported, without ever sending a command.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "messages.h"

namespace morvane {

class CadAutomation;

// What the check needs from the system beyond the automation itself.
class CadSystem {
  public:
    virtual ~CadSystem() = default;
    virtual CadAutomation& automation() = 0;
    virtual bool isRegistered(std::u16string_view progId) = 0;
    // Whether this process runs with administrator rights.
    virtual bool isElevated() = 0;
    virtual bool isWindow(uint64_t window) = 0;
};

struct CadStep {
    bool ok = false;
    std::u16string message;

    bool operator==(const CadStep&) const = default;
};

// Registered, running, its window, its document; stops at the first step
// the later ones depend on.
std::vector<CadStep> checkCad(std::u16string_view progId, CadSystem& system,
                              MessageLanguage language);

// "cad: ok: message" or "cad: error: message"; no line end.
std::u16string formatCadStep(const CadStep& step);

} // namespace morvane
