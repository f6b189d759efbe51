#pragma once
// The ProgID's registration: ProgID\CLSID in the classes root, so that
// CLSIDFromProgID finds it (Wine reads HKCR only, not HKCU\Software\Classes),
// and, as for an installed CAD, the class's server and type library.
#include <windows.h>

#include <string>

namespace standin {

// A class id derived from the ProgID, the same on every run.
CLSID classIdFor(const std::wstring& progId);

// withServer: also LocalServer32 and the type library (TypeLib), which tell
// that the ProgID is a CAD while the stand-in is not running.
bool registerProgId(const std::wstring& progId, const CLSID& clsid, bool withServer);
void unregisterProgId(const std::wstring& progId, const CLSID& clsid);

} // namespace standin
