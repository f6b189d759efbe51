#include "cad_check.h"

#include <variant>

#include "cad/cad_link.h"
#include "quoted.h"

namespace morvane {
namespace {

std::u16string hex(uint64_t value) {
    static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string digits;
    do {
        digits.insert(digits.begin(), kDigits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    return u"0x" + digits;
}

std::u16string failure(const CadFailure& e) {
    std::u16string text = e.detail();
    if (e.code() != 0)
        text += u" (" + hex(static_cast<uint32_t>(e.code())) + u")";
    return text;
}

CadStep windowStep(CadObject& application, CadSystem& system) {
    try {
        const uint64_t window = windowHandleFromValue(application.getProperty(u"HWND"));
        if (system.isWindow(window))
            return {true, u"HWND gives its main window " + hex(window)};
        return {false, u"HWND gives " + hex(window) +
                           u", which is no window: the CAD cannot be brought to the front"};
    } catch (const CadFailure& e) {
        return {false, u"HWND cannot be read: " + failure(e)};
    }
}

CadStep documentStep(CadObject& application) {
    try {
        const CadValue document = application.getProperty(u"ActiveDocument");
        const auto* object = std::get_if<CadObjectPtr>(&document);
        if (object && *object)
            return {true, u"a document is open (ActiveDocument)"};
        return {false, u"no document is open (ActiveDocument gives none): commands have nowhere "
                       u"to go"};
    } catch (const CadFailure& e) {
        return {false, u"ActiveDocument cannot be read: " + failure(e)};
    }
}

} // namespace

std::vector<CadStep> checkCad(std::u16string_view progId, CadSystem& system) {
    std::vector<CadStep> steps;
    if (!system.isRegistered(progId)) {
        steps.push_back({false, u"the ProgID " + quoted(progId) + u" is not registered"});
        return steps;
    }
    steps.push_back({true, u"the ProgID " + quoted(progId) + u" is registered"});
    CadObjectPtr application;
    try {
        application = attachCad(system.automation(), progId);
    } catch (const CadFailure& e) {
        steps.push_back(
            {false, u"no running instance can be reached: " + failure(e) + u"; this process " +
                        (system.isElevated() ? u"runs elevated" : u"does not run elevated") +
                        u", and a CAD running at another elevation level cannot be reached by "
                        u"COM, nor by MorvaneX"});
        return steps;
    }
    steps.push_back({true, u"an instance is running"});
    steps.push_back(windowStep(*application, system));
    steps.push_back(documentStep(*application));
    return steps;
}

std::u16string formatCadStep(const CadStep& step) {
    return (step.ok ? u"cad: ok: " : u"cad: error: ") + step.message;
}

} // namespace morvane
