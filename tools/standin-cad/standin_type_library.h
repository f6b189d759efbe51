#pragma once
// The stand-in's type library, as a CAD's installer registers one: the
// application (HWND, ActiveDocument giving the document) and the document
// (SendCommand), so that a registered stand-in shows as an installed CAD
// while it is not running. Written beside the exe at registration, since the
// MinGW build has no IDL compiler's headers to make it at build time.
#include <windows.h>

#include <string>

namespace standin {

// The library's id; one library for every ProgID the stand-in registers.
extern const GUID kTypeLibraryId;

// Writes the library to path (atomically: a copy in use by a reader stays);
// false when it cannot be made.
bool writeTypeLibrary(const std::wstring& path);

} // namespace standin
