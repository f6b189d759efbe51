#include "standin_process.h"

#include <cstdio>
#include <sstream>
#include <thread>

#include "platform/win32/win32_text.h"
#include "services/services.h"

namespace morvane::test {
namespace {

UniqueHandle launch(const std::wstring& arguments) {
    std::wstring commandLine = L"\"" MORVANE_STANDIN_EXE L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return UniqueHandle();
    CloseHandle(info.hThread);
    return UniqueHandle(info.hProcess);
}

std::vector<LoggedEvent> parseLog(const std::string& text) {
    std::vector<LoggedEvent> events;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const size_t tab1 = line.find('\t');
        const size_t tab2 = line.find('\t', tab1 + 1);
        if (tab1 == std::string::npos || tab2 == std::string::npos)
            continue;
        events.push_back({std::stoll(line.substr(0, tab1)), line.substr(tab1 + 1, tab2 - tab1 - 1),
                          line.substr(tab2 + 1)});
    }
    return events;
}

} // namespace

std::wstring uniqueProgId(const wchar_t* tag) {
    return std::wstring(L"MorvaneTest.") + tag + L"." + std::to_wstring(GetCurrentProcessId()) +
           L"." + std::to_wstring(GetTickCount());
}

void registerOnly(const std::wstring& progId, const std::wstring& options) {
    UniqueHandle process = launch(L"--register-only --progid " + progId + L" " + options);
    if (process)
        WaitForSingleObject(process.get(), 30000);
}

void unregister(const std::wstring& progId) {
    UniqueHandle process = launch(L"--unregister --progid " + progId);
    if (process)
        WaitForSingleObject(process.get(), 30000);
}

void pumpFor(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(5);
    }
}

StandinProcess::StandinProcess(std::wstring progId, std::wstring options)
    : progId_(std::move(progId)), logPath_(dir_.file(u"standin.log")) {
    // The first start in a fresh Wine prefix may find the object table not
    // yet up; a second start does.
    for (int attempt = 0; attempt < 3 && !start(options); ++attempt)
        stop();
}

bool StandinProcess::start(const std::wstring& options) {
    process_ = launch(L"--progid " + progId_ + L" --log \"" + toWide(logPath_) + L"\" " + options);
    if (!process_ || !waitFor("ready", "", std::chrono::seconds(30)))
        return false;
    const std::string ready = details("ready").front();
    if (ready.find("hr=00000000") == std::string::npos)
        return false;
    const size_t at = ready.find("hwnd=") + 5;
    window_ = reinterpret_cast<HWND>(std::stoull(ready.substr(at), nullptr, 16));
    return true;
}

void StandinProcess::stop() {
    if (!process_)
        return;
    // For a look at what the stand-in saw: MORVANE_DUMP_STANDIN_LOG=1.
    if (GetEnvironmentVariableW(L"MORVANE_DUMP_STANDIN_LOG", nullptr, 0) > 0) {
        for (const auto& event : events())
            printf("  standin %lld %s %s\n", event.microseconds, event.kind.c_str(),
                   event.detail.c_str());
    }
    if (window_)
        PostMessageW(window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 5000) != WAIT_OBJECT_0)
        TerminateProcess(process_.get(), 1);
    process_.reset();
    window_ = nullptr;
    platformServices().files.removeFile(logPath_);
}

StandinProcess::~StandinProcess() {
    stop();
}

std::vector<LoggedEvent> StandinProcess::events() const {
    std::string bytes;
    std::u16string reason;
    if (!platformServices().files.readFile(logPath_, bytes, reason))
        return {};
    return parseLog(bytes);
}

std::vector<std::string> StandinProcess::details(const std::string& kind) const {
    std::vector<std::string> found;
    for (const auto& event : events()) {
        if (event.kind == kind)
            found.push_back(event.detail);
    }
    return found;
}

bool StandinProcess::waitFor(const std::string& kind, const std::string& detail,
                             std::chrono::milliseconds timeout) const {
    const auto end = std::chrono::steady_clock::now() + timeout;
    do {
        for (const auto& found : details(kind)) {
            if (detail.empty() || found == detail)
                return true;
        }
        pumpFor(std::chrono::milliseconds(20));
    } while (std::chrono::steady_clock::now() < end);
    return false;
}

} // namespace morvane::test
