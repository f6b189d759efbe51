#pragma once
// Failures a developer needs and the user must not see: one line each to
// OutputDebugStringW, visible in a debugger or a debug-output viewer.
#include <windows.h>

#include <string_view>

namespace morvane {

// "MorvaneX: <step> <member> failed, HRESULT 0x8000FFFF"; member may be empty.
void traceFailure(std::wstring_view step, std::wstring_view member, HRESULT hr) noexcept;
// "MorvaneX: <text>": a setting the launcher ignores, say.
void traceText(std::u16string_view text) noexcept;

} // namespace morvane
