#pragma once
// The ProgID's registration: ProgID\CLSID in the classes root, so that
// CLSIDFromProgID finds it (Wine reads HKCR only, not HKCU\Software\Classes).
#include <windows.h>

#include <string>

namespace standin {

// A class id derived from the ProgID, the same on every run.
CLSID classIdFor(const std::wstring& progId);

bool registerProgId(const std::wstring& progId, const CLSID& clsid);
void unregisterProgId(const std::wstring& progId, const CLSID& clsid);

} // namespace standin
