#pragma once
// Starting the built tools (morvanex-check.exe, morvanex-index.exe) from a
// test under Wine.
#include <windows.h>

#include <optional>
#include <string>

#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "support/temp_dir.h"

namespace morvane::test {

// Runs the exe with these arguments, both its streams on output (an
// inheritable handle: a file or a console), in the given current folder
// (this process's when empty); its exit code, or nothing when it did not
// start or did not end within a minute.
inline std::optional<DWORD> runToolExe(const std::wstring& exe, const std::wstring& arguments,
                                       HANDLE output, DWORD creationFlags = 0,
                                       const std::wstring& currentFolder = {}) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output;
    startup.hStdError = output;
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, creationFlags, nullptr,
                        currentFolder.empty() ? nullptr : currentFolder.c_str(), &startup, &info))
        return std::nullopt;
    const UniqueHandle process(info.hProcess);
    CloseHandle(info.hThread);
    DWORD code = 0;
    if (WaitForSingleObject(process.get(), 60000) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(process.get(), &code))
        return std::nullopt;
    return code;
}

inline std::optional<DWORD> runCheckExe(const std::wstring& arguments, HANDLE output,
                                        DWORD creationFlags = 0) {
    return runToolExe(L"" MORVANE_CHECK_EXE, arguments, output, creationFlags);
}

struct ExeRun {
    DWORD code = 0;
    // Standard output and error together: UTF-8, as a file gets them.
    std::string out;
    bool ended = false;
};

// Runs the exe with its output going to a file, without a console.
inline ExeRun runToolToFile(const std::wstring& exe, const std::wstring& arguments,
                            const std::wstring& currentFolder = {}) {
    TempDir dir;
    const std::wstring outPath = toWide(dir.file(u"out.txt"));
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    UniqueFile out(CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                               CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ExeRun run;
    const auto code = runToolExe(exe, arguments, out.get(), CREATE_NO_WINDOW, currentFolder);
    out.reset();
    if (!code)
        return run;
    run.ended = true;
    run.code = *code;
    std::u16string reason;
    platformServices().files.readFile(dir.file(u"out.txt"), run.out, reason);
    return run;
}

} // namespace morvane::test
