#include "platform/win32/debug_trace.h"

#include <cwchar>
#include <string>

namespace morvane {

void traceFailure(std::wstring_view step, std::wstring_view member, HRESULT hr) noexcept {
    try {
        wchar_t code[16];
        std::swprintf(code, std::size(code), L"%08lX", static_cast<unsigned long>(hr));
        std::wstring line = L"MorvaneX: ";
        line += step;
        if (!member.empty()) {
            line += L' ';
            line += member;
        }
        line += L" failed, HRESULT 0x";
        line += code;
        line += L'\n';
        OutputDebugStringW(line.c_str());
    } catch (...) {
        // Out of memory: the trace is only for a developer.
    }
}

void traceText(std::u16string_view text) noexcept {
    try {
        std::wstring line = L"MorvaneX: ";
        line.append(text.begin(), text.end());
        line += L'\n';
        OutputDebugStringW(line.c_str());
    } catch (...) {
    }
}

} // namespace morvane
