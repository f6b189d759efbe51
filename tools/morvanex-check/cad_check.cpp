#include "cad_check.h"

#include <variant>

#include "cad/cad_link.h"
#include "messages.h"
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

CadStep windowStep(CadObject& application, CadSystem& system, const Messages& say) {
    try {
        const uint64_t window = windowHandleFromValue(application.getProperty(u"HWND"));
        if (system.isWindow(window))
            return {true, say(MessageId::HwndIsWindow, {hex(window)})};
        return {false, say(MessageId::HwndIsNoWindow, {hex(window)})};
    } catch (const CadFailure& e) {
        return {false, say(MessageId::HwndUnreadable, {failure(e)})};
    }
}

CadStep documentStep(CadObject& application, const Messages& say) {
    try {
        const CadValue document = application.getProperty(u"ActiveDocument");
        const auto* object = std::get_if<CadObjectPtr>(&document);
        if (object && *object)
            return {true, say(MessageId::DocumentOpen)};
        return {false, say(MessageId::NoDocument)};
    } catch (const CadFailure& e) {
        return {false, say(MessageId::ActiveDocumentUnreadable, {failure(e)})};
    }
}

} // namespace

std::vector<CadStep> checkCad(std::u16string_view progId, CadSystem& system,
                              MessageLanguage language) {
    const Messages say(language);
    std::vector<CadStep> steps;
    if (!system.isRegistered(progId)) {
        steps.push_back({false, say(MessageId::NotRegistered, {quoted(progId)})});
        return steps;
    }
    steps.push_back({true, say(MessageId::Registered, {quoted(progId)})});
    CadObjectPtr application;
    try {
        application = attachCad(system.automation(), progId);
    } catch (const CadFailure& e) {
        steps.push_back({false, say(system.isElevated() ? MessageId::NotReachableElevated
                                                        : MessageId::NotReachableNotElevated,
                                    {failure(e)})});
        return steps;
    }
    steps.push_back({true, say(MessageId::InstanceRunning)});
    steps.push_back(windowStep(*application, system, say));
    steps.push_back(documentStep(*application, say));
    return steps;
}

std::u16string formatCadStep(const CadStep& step) {
    return (step.ok ? u"cad: ok: " : u"cad: error: ") + step.message;
}

} // namespace morvane
