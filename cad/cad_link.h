#pragma once
// The CAD link: attach to the running CAD through its automation object,
// bring its main window to the front, send it a command line, press Escape in
// it. The call order lives here; the platform supplies the objects and the
// desktop behind small interfaces.
#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <variant>

#include "services/services.h"

namespace morvane {

// Any failure while talking to the CAD. The chains never show it to the
// user; they hand it to their caller (CadChainResult). The detail keeps the
// CAD's own description as the CAD gave it, in UTF-16, whatever it holds.
class CadFailure : public std::exception {
  public:
    explicit CadFailure(std::u16string detail, int32_t code = 0)
        : detail_(std::move(detail)), code_(code) {}
    const char* what() const noexcept override { return "CAD automation failure"; }
    // The failing call and member, and the CAD's own description.
    const std::u16string& detail() const noexcept { return detail_; }
    int32_t code() const noexcept { return code_; }

  private:
    std::u16string detail_;
    int32_t code_;
};

class CadObject;

// A value read from the CAD, as far as the link needs to tell values apart.
struct CadEmpty {};
struct CadNull {};
struct CadOther {}; // anything the link has no use for
using CadObjectPtr = std::unique_ptr<CadObject>;
using CadValue = std::variant<CadEmpty, CadNull, int64_t, uint64_t, double, std::u16string,
                              CadObjectPtr, CadOther>;

// One automation object of the CAD. Releasing the owner releases the object.
// Every member access resolves the name again; failures throw CadFailure.
class CadObject {
  public:
    virtual ~CadObject() = default;
    virtual CadValue getProperty(std::u16string_view name) = 0;
    virtual void callMethod(std::u16string_view name, std::u16string_view argument) = 0;
};

// Finds the running instance registered under a ProgID; never starts one.
class CadAutomation {
  public:
    virtual ~CadAutomation() = default;
    virtual CadObjectPtr attach(std::u16string_view progId) = 0;
};

// The window and keyboard operations the link uses. Window handles travel as
// unsigned 64-bit numbers.
class CadDesktop {
  public:
    virtual ~CadDesktop() = default;
    virtual bool isIconic(uint64_t window) = 0;
    virtual void openIcon(uint64_t window) = 0;
    virtual void setForegroundWindow(uint64_t window) = 0;
    virtual uint64_t foregroundWindow() = 0;
    virtual void sleep(unsigned milliseconds) = 0;
    virtual void escapeKey(bool down) = 0;
};

struct CadLink {
    CadAutomation& automation;
    CadDesktop& desktop;
    const Clock& clock; // times the wait for the foreground switch
};

// An HWND value as a handle: integers of any width by value, empty as 0, a
// text by its decimal digits; null, negative, fractional or anything else
// throws CadFailure.
uint64_t windowHandleFromValue(const CadValue& value);

CadObjectPtr attachCad(CadAutomation& automation, std::u16string_view progId);

// Restores a minimised CAD window, brings it to the front and tells whether
// it is the foreground window now. The switch to another process's window
// completes asynchronously, so it waits up to 100 ms (by clock) for the CAD's
// window to come to the front before it looks; it goes on at once when it
// has.
bool activateCadWindow(CadObject& application, CadDesktop& desktop, const Clock& clock);

// ActiveDocument.SendCommand(text + CR).
void sendCadCommand(CadObject& application, std::u16string_view commandText);

// How a chain ended: completed, or the failure that ended it, for the
// caller to trace where a developer sees it (never the user).
struct CadChainResult {
    bool completed = true;
    std::string step;      // "attach", "activate", "send", "escape"
    std::u16string detail; // CadFailure::detail, or the text of another error
    int32_t code = 0;      // the automation's error code, 0 when the failure had none
    // Lets a caller ask "did it complete?" as of a bool.
    operator bool() const noexcept { return completed; }
};

// The double-click's chain: attach, activate, 5 ms when in front, send.
// Every failure ends it without a word to the user; the result says where.
// Objects are released on return.
CadChainResult runCadCommand(CadLink link, std::u16string_view progId,
                             std::u16string_view commandText) noexcept;

// The Escape button's chain: attach, activate, and only when in front
// Escape down, up, 5 ms, down, up. Failures end it as runCadCommand's do.
CadChainResult pressCadEscape(CadLink link, std::u16string_view progId) noexcept;

} // namespace morvane
