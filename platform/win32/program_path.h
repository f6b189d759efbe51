#pragma once
// The full path of the running program's exe, however long.
#include <string>

namespace morvane {

std::wstring thisProgramPath();

} // namespace morvane
