// startup_probe PROGRAM [RUNS]: starts PROGRAM RUNS times (in its own folder),
// measures the time until its UI thread first waits for input with nothing
// left to do (window created and painted), ends it, and prints the medians in
// milliseconds: wall-clock time, then the processor time the program used
// (less disturbed by other load on the machine).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

double millisecondsSince(LARGE_INTEGER start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

double processorMilliseconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return double(ticks(kernel) + ticks(user)) / 10000.0;
}

bool timeOneStart(const std::wstring& program, double& milliseconds, double& processor) {
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    const DWORD waited = WaitForInputIdle(process.hProcess, 30000);
    milliseconds = millisecondsSince(start);
    processor = processorMilliseconds(process.hProcess);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return waited == 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM [RUNS]\n");
        return 2;
    }
    const int runs = argc > 2 ? _wtoi(argv[2]) : 11;
    std::vector<double> times, processorTimes;
    for (int i = 0; i < runs; ++i) {
        double ms = 0, processor = 0;
        if (!timeOneStart(argv[1], ms, processor)) {
            std::fprintf(stderr, "start failed\n");
            return 1;
        }
        times.push_back(ms);
        processorTimes.push_back(processor);
    }
    std::sort(times.begin(), times.end());
    std::sort(processorTimes.begin(), processorTimes.end());
    std::printf("%.1f %.1f\n", times[times.size() / 2], processorTimes[processorTimes.size() / 2]);
    return 0;
}
