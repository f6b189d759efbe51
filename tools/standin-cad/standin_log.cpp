#include "standin_log.h"

#include <windows.h>

#include <cstdio>

#include "platform/win32/precise_clock.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "text/utf.h"

namespace standin {

std::wstring escapeControls(std::wstring_view text) {
    std::wstring out;
    for (const wchar_t c : text) {
        if (c < 0x20) {
            wchar_t code[8];
            swprintf(code, 8, L"<%02X>", static_cast<unsigned>(c));
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

// The window shows what a CAD user would see: commands as typed on the
// command line, Escape presses, and the start. The file has everything.
std::wstring shownLine(std::wstring_view event, std::wstring_view detail) {
    if (event == L"command") {
        const bool entered = !detail.empty() && detail.back() == L'\r';
        const std::wstring_view typed = entered ? detail.substr(0, detail.size() - 1) : detail;
        return L"Command: " + escapeControls(typed) + (entered ? L"" : L"  (no Enter)");
    }
    if (event == L"key")
        return L"*Cancel*  (" + std::wstring(detail) + L")";
    if (event == L"ready")
        return L"Stand-in CAD ready: " + std::wstring(detail.substr(0, detail.find(L' ')));
    if (event == L"held")
        return L"(busy, the call waited " + std::wstring(detail) + L")";
    return {};
}

} // namespace

void EventLog::add(std::wstring_view event, std::wstring_view detail) {
    const std::wstring line = std::to_wstring(morvane::microsecondsNow()) + L"\t" +
                              std::wstring(event) + L"\t" + escapeControls(detail);
    if (const std::wstring shown = shownLine(event, detail); !shown.empty())
        shown_.push_back(shown);
    if (!path_.empty()) {
        text_ += morvane::utf16ToUtf8(morvane::fromWide(line)) + "\r\n";
        // A reader holding the file open blocks the replace for a moment.
        std::u16string reason;
        for (int attempt = 0; attempt < 50; ++attempt) {
            if (morvane::platformServices().files.writeFileAtomic(morvane::fromWide(path_), text_,
                                                                  reason))
                break;
            Sleep(2);
        }
    }
    if (onChange_)
        onChange_();
}

} // namespace standin
