#pragma once
// Starting the built morvanex-check.exe from a test under Wine.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/scoped.h"

namespace morvane::test {

// Runs the exe with these arguments, both its streams on output (an
// inheritable handle: a file or a console); its exit code, or nothing when it
// did not start or did not end within a minute.
inline std::optional<DWORD> runCheckExe(const std::wstring& arguments, HANDLE output,
                                        DWORD creationFlags = 0) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::wstring commandLine = L"\"" MORVANE_CHECK_EXE L"\" " + arguments;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, creationFlags, nullptr,
                        nullptr, &startup, &info))
        return std::nullopt;
    const UniqueHandle process(info.hProcess);
    CloseHandle(info.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &code))
        return std::nullopt;
    return code;
}

} // namespace morvane::test
