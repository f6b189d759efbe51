// Time from a double-click on a command row to the command's arrival in the
// stand-in CAD, over a number of runs; prints each run and the median. Both
// sides stamp with the performance counter, which all processes share.
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "app/launcher_host.h"
#include "app/launcher_state.h"
#include "app/main_window.h"
#include "platform/win32/precise_clock.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "standin_process.h"
#include "support/temp_dir.h"
#include "ui/dark_extras.h"

namespace {

using namespace morvane;

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int run(int runs) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    test::TempDir dir;
    dir.write(u"MorvaneList.txt", "CAD\r\nCMD\tcommand row\r\n");
    LauncherHost host(LauncherEnvironment{dir.folder(), dir.file(u"MorvaneX.ini"), false, {}, {}},
                      {platformServices(), dark::Extras::ofThisSystem()});
    MainWindow& window = host.mainWindow();
    if (!host.createMainWindow())
        return 1;
    test::StandinProcess cad(test::uniqueProgId(L"Latency"));
    if (!cad.window())
        return 1;
    host.state().targetProgID = fromWide(cad.progId());
    HTREEITEM group = TreeView_GetRoot(window.commandTree);
    TreeView_SelectItem(window.commandTree, TreeView_GetChild(window.commandTree, group));

    std::vector<double> arrival, handler;
    for (int i = 0; i < runs; ++i) {
        NMHDR header{window.commandTree, static_cast<UINT_PTR>(kCommandTreeId), NM_DBLCLK};
        const long long start = microsecondsNow();
        SendMessageW(window.hwnd(), WM_NOTIFY, kCommandTreeId, reinterpret_cast<LPARAM>(&header));
        const long long returned = microsecondsNow();
        std::vector<test::LoggedEvent> commands;
        for (int wait = 0; wait < 500 && commands.size() < static_cast<size_t>(i + 1); ++wait) {
            commands.clear();
            for (auto& event : cad.events()) {
                if (event.kind == "command")
                    commands.push_back(event);
            }
            if (commands.size() < static_cast<size_t>(i + 1))
                test::pumpFor(std::chrono::milliseconds(10));
        }
        if (commands.size() < static_cast<size_t>(i + 1)) {
            std::printf("run %d: the command did not arrive\n", i + 1);
            return 1;
        }
        arrival.push_back((commands[i].microseconds - start) / 1000.0);
        handler.push_back((returned - start) / 1000.0);
        std::printf("run %2d: arrived after %7.2f ms, handler returned after %7.2f ms\n", i + 1,
                    arrival.back(), handler.back());
        test::pumpFor(std::chrono::milliseconds(50));
    }
    std::printf("median over %d runs: arrival %.2f ms, handler %.2f ms (fixed pause 5 ms)\n", runs,
                median(arrival), median(handler));
    DestroyWindow(window.hwnd());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    const OleScope ole;
    return run(argc > 1 ? std::max(1, std::atoi(argv[1])) : 20);
}
