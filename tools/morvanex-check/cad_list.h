#pragma once
// The CADs found on this PC, by the ProgIDs an operator can give the
// launcher: the automation servers that are running (the running object
// table) and the ones only installed (the registry's classes), each kept
// when it offers what the launcher uses: HWND and ActiveDocument, and the
// document's SendCommand. Nothing is ever started. The rules are here; the
// system's answers come through CadCatalog as plain data.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "messages.h"

namespace morvane {

// A member of an interface a type library describes, with the name of the
// interface it gives (a property's value, a method's result), if described.
struct DescribedMember {
    std::u16string name;
    std::u16string resultInterface;
};

struct DescribedInterface {
    std::u16string name;
    std::vector<DescribedMember> members;
};

// A ProgID key of the classes root that names a class (ProgID\CLSID).
struct RegisteredProgId {
    std::u16string progId;
    std::u16string classId;        // "{...}"
    std::u16string currentVersion; // ProgID\CurVer: what a version-independent one stands for
    std::u16string description;    // the key's own value, such as "AutoCAD Application"
};

// A class's registration, CLSID\{...}.
struct ClassRegistration {
    std::u16string progId;                   // what ProgIDFromCLSID gives
    std::u16string versionIndependentProgId; // VersionIndependentProgID
    bool localServer = false;                // LocalServer32: a program serves it
};

// What a running object answered when asked for the members by name.
struct LiveMembers {
    bool reached = false;
    bool hwnd = false;
    bool activeDocument = false;
    // nullopt: no document was open to ask.
    std::optional<bool> sendCommand;
};

class CadCatalog {
  public:
    virtual ~CadCatalog() = default;
    // The display names of the running object table's monikers.
    virtual std::vector<std::u16string> runningObjects() = 0;
    // Asks the object running for the class, as the launcher would reach it
    // (GetActiveObject), for the members by name.
    virtual LiveMembers askRunning(std::u16string_view classId) = 0;
    virtual std::vector<RegisteredProgId> registeredProgIds() = 0;
    // nullopt when the class is not registered.
    virtual std::optional<ClassRegistration> classRegistration(std::u16string_view classId) = 0;
    // The interfaces of the class's type library (CLSID\{...}\TypeLib);
    // nullopt without one, or when it cannot be loaded.
    virtual std::optional<std::vector<DescribedInterface>>
    typeLibrary(std::u16string_view classId) = 0;
};

enum class ProgIdKind { Single, Versioned, VersionIndependent };

struct FoundCad {
    std::u16string progId;
    bool running = false;
    ProgIdKind kind = ProgIdKind::Single;
    std::u16string currentVersion;
    std::u16string description;
    // Running without a document, and no type library to say more.
    bool sendCommandNotAsked = false;

    bool operator==(const FoundCad&) const = default;
};

// The running ones first, then by ProgID, letter case ignored.
std::vector<FoundCad> findCads(CadCatalog& catalog);

// "cad: running: PROGID: text" or "cad: installed: PROGID: text"; no line end.
std::u16string formatFoundCad(const FoundCad& cad, MessageLanguage language);

// The class id an entry of the running object table is registered for, as
// RegisterActiveObject names it ("!{...}", upper-cased); nullopt for any
// other moniker, which GetActiveObject never finds.
std::optional<std::u16string> runningClassId(std::u16string_view displayName);

// Whether a type library describes the launcher's members: an interface with
// HWND and ActiveDocument, and SendCommand on the interface ActiveDocument
// gives (on any of the library's interfaces where that is not described).
bool offersLauncherMembers(const std::vector<DescribedInterface>& library);

} // namespace morvane
