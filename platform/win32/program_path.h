#pragma once
// Where the running program and its user's files are.
#include <string>

namespace morvane {

// The full path of the running program's exe, however long.
std::wstring thisProgramPath();

// The user's local application data folder (%LOCALAPPDATA%: on this PC
// only, never roaming), without a final separator; empty when the system
// gives none.
std::wstring localAppDataFolder();

} // namespace morvane
