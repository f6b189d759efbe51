#include "cad/cad_link.h"

#include <cmath>
#include <limits>

#include "text/letters.h"
#include "text/utf.h"

namespace morvane {
namespace {

constexpr unsigned kRestorePauseMs = 500;
constexpr unsigned kSendPauseMs = 5;
constexpr unsigned kEscapePauseMs = 5;
// How long the foreground switch may take, and the pause between looks.
constexpr uint64_t kForegroundSwitchMs = 100;
constexpr unsigned kForegroundPollMs = 1;

[[noreturn]] void failHandle(const char16_t* why) {
    throw CadFailure(std::u16string(u"HWND is not a window handle: ") + why);
}

uint64_t handleFromText(std::u16string_view text) {
    const std::u16string_view digits = trimBlanks(text);
    if (digits.empty())
        failHandle(u"empty text");
    uint64_t value = 0;
    for (const char16_t c : digits) {
        if (c < u'0' || c > u'9')
            failHandle(u"not a decimal number");
        const uint64_t digit = static_cast<uint64_t>(c - u'0');
        if (value > (std::numeric_limits<uint64_t>::max() - digit) / 10)
            failHandle(u"too large");
        value = value * 10 + digit;
    }
    return value;
}

uint64_t handleFromReal(double value) {
    // 2^64 as a double; anything at or above it has no 64-bit value.
    constexpr double kLimit = 18446744073709551616.0;
    if (!std::isfinite(value) || value < 0 || value >= kLimit || std::floor(value) != value)
        failHandle(u"not a whole non-negative number");
    return static_cast<uint64_t>(value);
}

struct HandleVisitor {
    uint64_t operator()(const CadEmpty&) const { return 0; }
    uint64_t operator()(const CadNull&) const { failHandle(u"null"); }
    uint64_t operator()(int64_t value) const {
        if (value < 0)
            failHandle(u"negative");
        return static_cast<uint64_t>(value);
    }
    uint64_t operator()(uint64_t value) const { return value; }
    uint64_t operator()(double value) const { return handleFromReal(value); }
    uint64_t operator()(const std::u16string& text) const { return handleFromText(text); }
    uint64_t operator()(const CadObjectPtr&) const { failHandle(u"an object"); }
    uint64_t operator()(const CadOther&) const { failHandle(u"unsupported type"); }
};

uint64_t readWindowHandle(CadObject& application) {
    return windowHandleFromValue(application.getProperty(u"HWND"));
}

// SetForegroundWindow returns before another process's window is active:
// until that process's thread has run, the foreground is still the previous
// window, or none. Looking at once would often find the CAD not in front.
void waitForForeground(CadDesktop& desktop, const Clock& clock, uint64_t window) {
    const uint64_t start = clock.steadyMilliseconds();
    while (desktop.foregroundWindow() != window &&
           clock.steadyMilliseconds() - start < kForegroundSwitchMs)
        desktop.sleep(kForegroundPollMs);
}

void pressEscapeOnce(CadDesktop& desktop) {
    desktop.escapeKey(true);
    desktop.escapeKey(false);
}

} // namespace

uint64_t windowHandleFromValue(const CadValue& value) {
    return std::visit(HandleVisitor{}, value);
}

CadObjectPtr attachCad(CadAutomation& automation, std::u16string_view progId) {
    CadObjectPtr application = automation.attach(progId);
    if (!application)
        throw CadFailure(u"no CAD application object");
    return application;
}

// HWND is read afresh at each step, up to four times, although each read is
// a call into the CAD's process: the CAD may replace its main window between
// two steps (a restore, say, can make it anew), and a handle kept from an
// earlier read would then restore, activate or compare a window that is no
// longer the CAD's.
bool activateCadWindow(CadObject& application, CadDesktop& desktop, const Clock& clock) {
    if (desktop.isIconic(readWindowHandle(application))) {
        desktop.openIcon(readWindowHandle(application));
        desktop.sleep(kRestorePauseMs);
    }
    const uint64_t window = readWindowHandle(application);
    desktop.setForegroundWindow(window);
    waitForForeground(desktop, clock, window);
    const uint64_t foreground = desktop.foregroundWindow();
    // The CAD's window of now, not the one just activated (see above).
    return foreground == readWindowHandle(application);
}

void sendCadCommand(CadObject& application, std::u16string_view commandText) {
    CadValue document = application.getProperty(u"ActiveDocument");
    auto* object = std::get_if<CadObjectPtr>(&document);
    if (!object || !*object)
        throw CadFailure(u"no active document");
    std::u16string line(commandText);
    line += u'\r';
    (*object)->callMethod(u"SendCommand", line);
}

namespace {

// The failure being handled, as the result of a chain that ended at step.
CadChainResult failureAt(const char* step) noexcept {
    CadChainResult result;
    result.completed = false;
    try {
        result.step = step;
        try {
            throw;
        } catch (const CadFailure& failure) {
            result.detail = failure.detail();
            result.code = failure.code();
        } catch (const std::exception& error) {
            result.detail = utf8ToUtf16(error.what());
        }
    } catch (...) {
        // Out of memory or an unknown error: the step and code so far.
    }
    return result;
}

} // namespace

CadChainResult runCadCommand(CadLink link, std::u16string_view progId,
                             std::u16string_view commandText) noexcept {
    const char* step = "attach";
    try {
        const CadObjectPtr application = attachCad(link.automation, progId);
        step = "activate";
        if (activateCadWindow(*application, link.desktop, link.clock))
            link.desktop.sleep(kSendPauseMs);
        step = "send";
        sendCadCommand(*application, commandText);
        return {};
    } catch (...) {
        return failureAt(step);
    }
}

CadChainResult pressCadEscape(CadLink link, std::u16string_view progId) noexcept {
    const char* step = "attach";
    try {
        const CadObjectPtr application = attachCad(link.automation, progId);
        step = "activate";
        if (!activateCadWindow(*application, link.desktop, link.clock))
            return {};
        step = "escape";
        pressEscapeOnce(link.desktop);
        link.desktop.sleep(kEscapePauseMs);
        pressEscapeOnce(link.desktop);
        return {};
    } catch (...) {
        return failureAt(step);
    }
}

} // namespace morvane
