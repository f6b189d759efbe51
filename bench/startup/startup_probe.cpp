// startup_probe PROGRAM [RUNS [idle]]: starts PROGRAM RUNS times (in its own folder),
// and prints medians in milliseconds of: the time until its window is on the
// screen and painted (a visible top-level window of its UI thread whose own
// and visible children's update regions are all empty), the time until its
// UI thread first waits for input with nothing left to do, and the processor
// time the program used by then. With "idle", only the last two (the
// first figure is then -1).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/win32/precise_clock.h"

namespace {

double millisecondsSince(double start) {
    return morvane::millisecondsNow() - start;
}

double processorMilliseconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        return 0;
    auto ticks = [](FILETIME t) { return (ULONGLONG{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return double(ticks(kernel) + ticks(user)) / 10000.0;
}

// The first visible top-level window of the program's UI thread. Only that
// thread's windows are looked at: every query of another process's window is
// a request to the Wine server the program itself is waiting on.
BOOL CALLBACK findVisibleWindow(HWND hwnd, LPARAM lp) {
    if (!IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lp) = hwnd;
    return FALSE;
}

BOOL CALLBACK findUnpaintedChild(HWND child, LPARAM lp) {
    if (IsWindowVisible(child) && GetUpdateRect(child, nullptr, FALSE)) {
        *reinterpret_cast<bool*>(lp) = true;
        return FALSE;
    }
    return TRUE;
}

// True once the thread shows a top-level window with nothing left to paint.
bool shownAndPainted(DWORD threadId) {
    HWND shown = nullptr;
    EnumThreadWindows(threadId, findVisibleWindow, reinterpret_cast<LPARAM>(&shown));
    if (!shown || GetUpdateRect(shown, nullptr, FALSE))
        return false;
    bool unpainted = false;
    EnumChildWindows(shown, findUnpaintedChild, reinterpret_cast<LPARAM>(&unpainted));
    return !unpainted;
}

bool timeOneStart(const std::wstring& program, bool watchPaint, double& painted,
                  double& milliseconds, double& processor) {
    std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    std::wstring commandLine = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const double start = morvane::millisecondsNow();
    if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &process))
        return false;
    painted = -1;
    while (watchPaint) {
        if (shownAndPainted(process.dwThreadId)) {
            painted = millisecondsSince(start);
            break;
        }
        if (millisecondsSince(start) > 30000 || WaitForSingleObject(process.hProcess, 0) == 0)
            break;
        Sleep(1);
    }
    const DWORD waited = WaitForInputIdle(process.hProcess, 30000);
    milliseconds = millisecondsSince(start);
    processor = processorMilliseconds(process.hProcess);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return waited == 0 && (painted >= 0 || !watchPaint);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: startup_probe PROGRAM [RUNS [idle]]\n");
        return 2;
    }
    const int runs = argc > 2 ? _wtoi(argv[2]) : 11;
    // "idle": only the time to the first idle. Watching for the paint asks
    // the Wine server about the program's windows, which slows its start.
    const bool watchPaint = !(argc > 3 && std::wstring(argv[3]) == L"idle");
    std::vector<double> paintTimes, times, processorTimes;
    for (int i = 0; i < runs; ++i) {
        double painted = 0, ms = 0, processor = 0;
        if (!timeOneStart(argv[1], watchPaint, painted, ms, processor)) {
            std::fprintf(stderr, "start failed\n");
            return 1;
        }
        paintTimes.push_back(painted);
        times.push_back(ms);
        processorTimes.push_back(processor);
    }
    std::sort(paintTimes.begin(), paintTimes.end());
    std::sort(times.begin(), times.end());
    std::sort(processorTimes.begin(), processorTimes.end());
    const size_t middle = times.size() / 2;
    std::printf("%.1f %.1f %.1f\n", paintTimes[middle], times[middle], processorTimes[middle]);
    return 0;
}
