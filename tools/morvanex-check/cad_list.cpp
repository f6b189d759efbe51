#include "cad_list.h"

#include <algorithm>
#include <map>
#include <set>

#include "quoted.h"
#include "text/letters.h"

namespace morvane {
namespace {

// COM looks members up with letter case ignored.
const DescribedMember* findMember(const DescribedInterface& described, std::u16string_view name) {
    const auto found =
        std::find_if(described.members.begin(), described.members.end(),
                     [&](const auto& member) { return equalIgnoringAsciiCase(member.name, name); });
    return found == described.members.end() ? nullptr : &*found;
}

bool hexDigit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
}

// {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
bool isClassIdText(std::u16string_view text) {
    if (text.size() != 38 || text.front() != u'{' || text.back() != u'}')
        return false;
    for (size_t i = 1; i + 1 < text.size(); ++i) {
        const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
        if (dash ? text[i] != u'-' : !hexDigit(text[i]))
            return false;
    }
    return true;
}

// What is known of one class: whether the launcher can use it, and how.
struct ClassVerdict {
    bool cad = false;
    bool running = false;
    bool sendCommandNotAsked = false;
    std::optional<ClassRegistration> registration;
};

class CadFinder {
  public:
    explicit CadFinder(CadCatalog& catalog) : catalog_(catalog) {}

    std::vector<FoundCad> find() {
        for (const auto& name : catalog_.runningObjects()) {
            if (const auto classId = runningClassId(name))
                judgeRunning(*classId);
        }
        std::map<std::u16string, FoundCad> found; // upper-cased ProgID -> entry
        for (const auto& registered : catalog_.registeredProgIds()) {
            const ClassVerdict& verdict = judgeInstalled(upperAscii(registered.classId));
            if (verdict.cad)
                found.emplace(upperAscii(registered.progId),
                              entry(registered.progId, verdict, registered.currentVersion,
                                    registered.description));
        }
        // A running class's ProgID, should its key not be enumerated.
        for (const auto& [classId, verdict] : verdicts_) {
            if (verdict.cad && verdict.running && verdict.registration &&
                !verdict.registration->progId.empty())
                found.emplace(upperAscii(verdict.registration->progId),
                              entry(verdict.registration->progId, verdict, {}, {}));
        }
        // In the map's order of ProgIDs, the running ones moved first.
        std::vector<FoundCad> cads;
        for (auto& [key, cad] : found)
            cads.push_back(std::move(cad));
        std::stable_sort(cads.begin(), cads.end(), [](const FoundCad& a, const FoundCad& b) {
            return a.running > b.running;
        });
        return cads;
    }

  private:
    const std::optional<ClassRegistration>& registration(ClassVerdict& verdict,
                                                         const std::u16string& classId) {
        if (!asked_.contains(classId)) {
            asked_.insert(classId);
            verdict.registration = catalog_.classRegistration(classId);
        }
        return verdict.registration;
    }

    bool libraryOffers(const std::u16string& classId) {
        const auto library = catalog_.typeLibrary(classId);
        return library && offersLauncherMembers(*library);
    }

    // A running object is asked itself; when it cannot be reached (busy, or
    // at another elevation level), or has no document to ask for
    // SendCommand, its type library speaks for it.
    void judgeRunning(const std::u16string& classId) {
        ClassVerdict& verdict = verdicts_[classId];
        if (verdict.running)
            return;
        verdict.running = true;
        const LiveMembers live = catalog_.askRunning(classId);
        registration(verdict, classId);
        if (!live.reached) {
            verdict.cad = libraryOffers(classId);
            return;
        }
        if (!live.hwnd || !live.activeDocument || live.sendCommand == false)
            return;
        verdict.cad = true;
        verdict.sendCommandNotAsked = !live.sendCommand && !libraryOffers(classId);
    }

    // Not running: only a program's class (LocalServer32) whose type library
    // describes the members, since the members of a server that is not
    // running cannot be asked without starting it.
    const ClassVerdict& judgeInstalled(const std::u16string& classId) {
        ClassVerdict& verdict = verdicts_[classId];
        if (verdict.running || judged_.contains(classId))
            return verdict;
        judged_.insert(classId);
        const auto& found = registration(verdict, classId);
        verdict.cad = found && found->localServer && libraryOffers(classId);
        return verdict;
    }

    static FoundCad entry(const std::u16string& progId, const ClassVerdict& verdict,
                          const std::u16string& currentVersion, const std::u16string& description) {
        FoundCad cad{progId,         verdict.running, ProgIdKind::Single,
                     currentVersion, description,     verdict.sendCommandNotAsked};
        const ClassRegistration* registration =
            verdict.registration ? &*verdict.registration : nullptr;
        const bool hasIndependent =
            registration && !registration->versionIndependentProgId.empty() &&
            !equalIgnoringAsciiCase(registration->versionIndependentProgId, registration->progId);
        if (!currentVersion.empty() ||
            (hasIndependent &&
             equalIgnoringAsciiCase(progId, registration->versionIndependentProgId)))
            cad.kind = ProgIdKind::VersionIndependent;
        else if (hasIndependent && equalIgnoringAsciiCase(progId, registration->progId))
            cad.kind = ProgIdKind::Versioned;
        return cad;
    }

    CadCatalog& catalog_;
    std::map<std::u16string, ClassVerdict> verdicts_; // by upper-cased class id
    std::set<std::u16string> asked_;
    std::set<std::u16string> judged_;
};

} // namespace

std::optional<std::u16string> runningClassId(std::u16string_view displayName) {
    if (!displayName.starts_with(u"!") || !isClassIdText(displayName.substr(1)))
        return std::nullopt;
    return upperAscii(displayName.substr(1));
}

bool offersLauncherMembers(const std::vector<DescribedInterface>& library) {
    const auto hasSendCommand = [](const DescribedInterface& described) {
        return findMember(described, u"SendCommand") != nullptr;
    };
    const bool anySendCommand = std::any_of(library.begin(), library.end(), hasSendCommand);
    return std::any_of(library.begin(), library.end(), [&](const DescribedInterface& described) {
        const DescribedMember* document = findMember(described, u"ActiveDocument");
        if (!document || !findMember(described, u"HWND"))
            return false;
        const auto documentInterface =
            std::find_if(library.begin(), library.end(), [&](const DescribedInterface& other) {
                return !document->resultInterface.empty() &&
                       equalIgnoringAsciiCase(other.name, document->resultInterface);
            });
        return documentInterface == library.end() ? anySendCommand
                                                  : hasSendCommand(*documentInterface);
    });
}

std::vector<FoundCad> findCads(CadCatalog& catalog) {
    return CadFinder(catalog).find();
}

std::u16string formatFoundCad(const FoundCad& cad, MessageLanguage language) {
    const Messages say(language);
    std::u16string text = say(cad.running ? MessageId::CadRunning : MessageId::CadInstalled);
    const auto clause = [&](std::u16string more) {
        text += say(MessageId::ClauseSeparator) + more;
    };
    switch (cad.kind) {
    case ProgIdKind::VersionIndependent:
        clause(cad.currentVersion.empty()
                   ? say(MessageId::CadVersionIndependent)
                   : say(MessageId::CadVersionIndependentNow, {cad.currentVersion}));
        break;
    case ProgIdKind::Versioned:
        clause(say(MessageId::CadOneVersion));
        break;
    case ProgIdKind::Single:
        break;
    }
    if (cad.sendCommandNotAsked)
        clause(say(MessageId::CadNoDocumentToAsk));
    if (!cad.description.empty())
        text += say(MessageId::CadDescription, {quoted(cad.description)});
    return std::u16string(u"cad: ") + (cad.running ? u"running: " : u"installed: ") + cad.progId +
           u": " + text;
}

} // namespace morvane
