// A rewritten 10,000-row command list in the real main window, shown, for
// two shapes of list: for each view (file order, command order, the search results of "cmd1"),
// several rewrites that move every line and add or take away one command.
// For each it times the message the window read the list in (the quiet
// read, the view built, the tree updated and the place found again), the
// tree's repaint after it, and the whole way from the write to the repaint,
// which includes the folder watch and the wait for the file to settle.
// Prints the medians and the worst in milliseconds.
//
//   live_window.exe [rewrites]
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/launcher_host.h"
#include "app/main_window.h"
#include "bench_folder.h"
#include "platform/win32/precise_clock.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "ui/dark_extras.h"

namespace morvane {
namespace {

using bench::median;
using bench::worst;

constexpr int kRows = 10000;

std::u16string number(int value) {
    return fromWide(std::to_wstring(value));
}

// The two shapes of a 10,000-row list. Each version moves every line by
// its count of comment lines, and an odd one has one command more at the
// end.
enum class ListShape {
    // Made by dropping 500 LISP files: a group row, eighteen commands of
    // their own and a LOAD row each.
    FromLispFiles,
    // Groups of twenty commands, each command three times over: the worst
    // case for the command order, whose ties keep the order an exchange
    // sort gives them.
    RepeatedCommands,
};

std::u16string listText(ListShape shape, int version) {
    std::u16string text;
    for (int k = 0; k < version % 5 + 1; ++k)
        text += u"; 追記 " + number(k) + u"\r\n";
    for (int k = 0; k < kRows; ++k) {
        const int file = k / 20, place = k % 20;
        if (place == 0) {
            text += u"グループ" + number(file) + u"\r\n";
        } else if (shape == ListShape::FromLispFiles && place == 19) {
            text += u"LOAD\tロード tool" + number(file) + u".lsp\tMorvane\\tool" + number(file) +
                    u".lsp\r\n";
        } else {
            const int command = shape == ListShape::FromLispFiles ? k : k * 7919 % 3000;
            text += u"CMD" + number(command) + u"\tCMD を実行します（説明 " + number(k) + u"）\r\n";
        }
    }
    if (version % 2)
        text += u"CMD1ADDED\t追加したコマンド\r\n";
    return text;
}

struct Rewrite {
    double reload = 0; // the message in which the tree changed
    double paint = 0;  // the tree's repaint after it
    double total = 0;  // from the write to the end of the repaint
};

// Runs the thread's messages until the tree has changed and been painted
// again, timing each dispatch; false after ten seconds without.
bool followRewrite(HWND tree, double written, Rewrite& result) {
    const double deadline = millisecondsNow() + 10000;
    bool changed = false;
    while (millisecondsNow() < deadline) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            const UINT before = TreeView_GetCount(tree);
            const double start = millisecondsNow();
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
            const double end = millisecondsNow();
            if (!changed && TreeView_GetCount(tree) != before) {
                changed = true;
                result.reload = end - start;
            } else if (changed && msg.message == WM_PAINT && msg.hwnd == tree) {
                result.paint = end - start;
                result.total = end - written;
                return true;
            }
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

// The process's processor time so far, user and kernel, in milliseconds.
double processorMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto ms = [](FILETIME t) {
        return static_cast<double>((uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime) / 1e4;
    };
    return ms(kernel) + ms(user);
}

// The window left alone for this long with its lists unchanged: the
// processor time it takes meanwhile (the two-second comparisons of the
// files' stamps and nothing else).
double idleProcessorTime(double milliseconds) {
    const double start = processorMilliseconds();
    const double end = millisecondsNow() + milliseconds;
    for (double now; (now = millisecondsNow()) < end;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now) + 1,
                                  QS_ALLINPUT);
    }
    return processorMilliseconds() - start;
}

int run(ListShape shape, int rewrites) {
    PlatformServices& system = platformServices();
    const bench::BenchFolder benchFolder("morvane-live-window-" +
                                         std::to_string(static_cast<int>(shape)));
    const std::u16string folder = benchFolder.folder();
    const std::u16string listPath = folder + u"MorvaneList.txt";
    std::u16string reason;
    system.files.writeFileAtomic(listPath, system.ansi.encode(listText(shape, 0)), reason);

    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    LauncherHost host(LauncherEnvironment{folder, folder + u"MorvaneX.ini", false, {}, {}},
                      {system, dark::Extras::ofThisSystem()});
    HWND window = host.createMainWindow();
    if (!window) {
        std::fprintf(stderr, "no main window\n");
        return 1;
    }
    MainWindow& main = host.mainWindow();
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);

    struct View {
        const char* name;
        void (*show)(MainWindow&);
    };
    const View views[] = {
        {"file order", [](MainWindow&) {}},
        {"command order",
         [](MainWindow& m) { SendMessageW(m.commandOrderButton, BM_CLICK, 0, 0); }},
        {"search \"cmd1\"", [](MainWindow& m) { SetWindowTextW(m.searchBox, L"cmd1"); }},
    };
    std::printf("live reload of %d rows %s in the shown window, %d rewrites a view (ms): "
                "median, worst\n",
                kRows,
                shape == ListShape::FromLispFiles ? "made from 500 LISP files"
                                                  : "repeating each command three times",
                rewrites);
    int version = 0;
    for (const View& view : views) {
        view.show(main);
        // The row in the middle selected, as an operator's would be.
        HTREEITEM item = TreeView_GetRoot(main.commandTree);
        for (UINT k = 0; item && k < TreeView_GetCount(main.commandTree) / 4; ++k)
            item = TreeView_GetNextVisible(main.commandTree, item);
        if (item)
            TreeView_SelectItem(main.commandTree, item);
        std::vector<double> reloads, paints, sums, totals;
        for (int round = 0; round < rewrites; ++round) {
            const std::string bytes = system.ansi.encode(listText(shape, ++version));
            const double written = millisecondsNow();
            system.files.writeFileAtomic(listPath, bytes, reason);
            Rewrite rewrite;
            if (!followRewrite(main.commandTree, written, rewrite)) {
                std::fprintf(stderr, "the rewrite did not show (%s, round %d)\n", view.name, round);
                return 1;
            }
            reloads.push_back(rewrite.reload);
            paints.push_back(rewrite.paint);
            sums.push_back(rewrite.reload + rewrite.paint);
            totals.push_back(rewrite.total);
        }
        std::printf("  %s\n", view.name);
        std::printf("    reload (read, view, tree, place)  %7.1f %7.1f\n", median(reloads),
                    worst(reloads));
        std::printf("    the tree's repaint                %7.1f %7.1f\n", median(paints),
                    worst(paints));
        std::printf("    reload and repaint                %7.1f %7.1f\n", median(sums),
                    worst(sums));
        std::printf("    write to repainted                %7.1f %7.1f\n", median(totals),
                    worst(totals));
    }
    if (shape == ListShape::FromLispFiles)
        std::printf("  idle for 10 s with nothing changing: %.1f ms of processor time\n",
                    idleProcessorTime(10000));
    DestroyWindow(window);
    return 0;
}

} // namespace
} // namespace morvane

int wmain(int argc, wchar_t** argv) {
    const int rewrites = argc > 1 ? std::max(1, _wtoi(argv[1])) : 9;
    for (auto shape : {morvane::ListShape::FromLispFiles, morvane::ListShape::RepeatedCommands})
        if (const int failed = morvane::run(shape, rewrites))
            return failed;
    return 0;
}
