// form_bench [COMMANDS...]: for each size, writes a command list of that many
// commands into a fresh folder, opens the main window on it and times search
// keystrokes: the edit's change, the rebuilt tree and its repaint. Prints the
// median per size in milliseconds.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "app/launcher_host.h"
#include "app/main_window.h"
#include "platform/win32/precise_clock.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "ui/dark_extras.h"

namespace {

std::wstring tempFolder(int commands) {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    std::wstring folder = std::wstring(base) + L"morvane_form_bench_" + std::to_wstring(commands) +
                          L"_" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

// Groups of 50 commands with Japanese descriptions, in the ANSI code page.
void writeList(const std::wstring& folder, int commands) {
    std::u16string text;
    for (int i = 0; i < commands; ++i) {
        if (i % 50 == 0)
            text += u"グループ" + morvane::fromWide(std::to_wstring(i / 50)) + u"\r\n";
        text += u"CMD" + morvane::fromWide(std::to_wstring(i * 7919 % commands)) +
                u"\t図形の説明 " + morvane::fromWide(std::to_wstring(i)) + u"\r\n";
    }
    std::string bytes = morvane::platformServices().ansi.encode(text);
    std::u16string reason;
    morvane::platformServices().files.writeFileAtomic(
        morvane::fromWide(folder + L"MorvaneList.txt"), bytes, reason);
}

struct Timings {
    std::vector<double> keystrokes, rebuilds, paints;
};

struct Medians {
    double keystroke;
    double rebuild;
    double paint;
};

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The first main window of the process, created, shown and painted: the
// program's own share of start-up (the libraries are already loaded).
double firstWindow(const std::wstring& folder) {
    morvane::LauncherEnvironment environment{
        morvane::fromWide(folder), morvane::fromWide(folder + L"MorvaneX.ini"), false, {}, {}};
    morvane::LauncherHost host(
        environment, {morvane::platformServices(), morvane::dark::Extras::ofThisSystem()});
    morvane::MainWindow& window = host.mainWindow();
    const double start = morvane::millisecondsNow();
    host.createMainWindow();
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.hwnd());
    const double shown = morvane::millisecondsNow() - start;
    DestroyWindow(window.hwnd());
    return shown;
}

// One keystroke: the edit's change (the tree rebuilt) and the tree's repaint.
void timeKeystroke(const morvane::MainWindow& window, const std::wstring& text, Timings& timings) {
    const double start = morvane::millisecondsNow();
    SendMessageW(window.searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    const double rebuilt = morvane::millisecondsNow();
    UpdateWindow(window.commandTree);
    const double painted = morvane::millisecondsNow();
    timings.keystrokes.push_back(painted - start);
    timings.rebuilds.push_back(rebuilt - start);
    timings.paints.push_back(painted - rebuilt);
}

Medians mediansOf(const Timings& timings) {
    return {median(timings.keystrokes), median(timings.rebuilds), median(timings.paints)};
}

struct KeystrokeMedians {
    Medians typing; // typing and deleting a search, a character at a time
    Medians refill; // the search emptied: every command back in the tree
};

KeystrokeMedians medianKeystrokes(int commands) {
    const std::wstring folder = tempFolder(commands);
    writeList(folder, commands);
    morvane::LauncherEnvironment environment{
        morvane::fromWide(folder), morvane::fromWide(folder + L"MorvaneX.ini"), false, {}, {}};
    morvane::LauncherHost host(
        environment, {morvane::platformServices(), morvane::dark::Extras::ofThisSystem()});
    morvane::MainWindow& window = host.mainWindow();
    host.createMainWindow();
    ShowWindow(window.hwnd(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.hwnd());
    // Typing "CMD12" and deleting it again, one character at a time.
    const std::vector<std::wstring> keys{L"C",    L"CM",  L"CMD", L"CMD1", L"CMD12",
                                         L"CMD1", L"CMD", L"CM",  L"C",    L""};
    Timings typing, refill;
    for (int round = 0; round < 3; ++round)
        for (const auto& key : keys)
            timeKeystroke(window, key, typing);
    // The slowest keystroke there is: from a few rows back to all of them.
    for (int round = 0; round < 9; ++round) {
        SendMessageW(window.searchBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"CMD12"));
        UpdateWindow(window.commandTree);
        timeKeystroke(window, L"", refill);
    }
    DestroyWindow(window.hwnd());
    return {mediansOf(typing), mediansOf(refill)};
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    morvane::OleScope ole;
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(_wtoi(argv[i]));
    if (sizes.empty())
        sizes = {2000, 10000};
    const std::wstring sampleFolder = tempFolder(14);
    writeList(sampleFolder, 14);
    std::printf("first main window (14 commands): %.2f ms\n", firstWindow(sampleFolder));
    for (int commands : sizes) {
        const KeystrokeMedians m = medianKeystrokes(commands);
        std::printf("search keystroke, %d commands: median %.2f ms (rebuild %.2f, repaint %.2f); "
                    "emptying the search (all rows back): %.2f ms (rebuild %.2f, repaint %.2f)\n",
                    commands, m.typing.keystroke, m.typing.rebuild, m.typing.paint,
                    m.refill.keystroke, m.refill.rebuild, m.refill.paint);
    }
    return 0;
}
