// How long a rewritten 10,000-row command list takes to be ready for the
// tree, as the main window runs it: the folder watch's message on a
// hidden message-only window, LiveListWatch told of it and checked at the
// moments it asks for, and the read that follows (quiet load, the view's
// nodes, the place found again). Prints the medians and the worst of
// several rewrites: write to message, write to the read done, and the read
// itself. The redraw of the tree is not part of it.
//
//   live_latency.exe [rewrites]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "bench_folder.h"
#include "list/list_file.h"
#include "list/row_order.h"
#include "list/view_place.h"
#include "live/live_lists.h"
#include "platform/win32/folder_watch.h"
#include "platform/win32/precise_clock.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"

namespace morvane {
namespace {

using bench::median;
using bench::worst;

constexpr int kRows = 10000;
constexpr UINT kChangedMessage = WM_APP + 1;

// Groups of twenty commands with Japanese descriptions; version moves every
// line down, as an edit at the top of the file does.
std::u16string listText(int version) {
    std::u16string text;
    for (int k = 0; k < version % 5; ++k)
        text += u"; 追記 " + fromWide(std::to_wstring(k)) + u"\r\n";
    for (int k = 0; k < kRows; ++k) {
        const auto number = fromWide(std::to_wstring(k));
        if (k % 20 == 0)
            text += u"グループ" + number + u"\r\n";
        else
            text += u"CMD" + number + u"\tCMD" + number + u" を実行します（説明）\r\n";
    }
    return text;
}

// Waits for a posted message of the window or until the steady clock says
// at (milliseconds); true for the message.
bool waitForMessageUntil(HWND window, uint64_t at) {
    for (;;) {
        MSG msg;
        if (PeekMessageW(&msg, window, kChangedMessage, kChangedMessage, PM_REMOVE))
            return true;
        const uint64_t now = platformServices().clock.steadyMilliseconds();
        if (now >= at)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(at - now), QS_POSTMESSAGE);
    }
}

int run(int rewrites) {
    PlatformServices& system = platformServices();
    const bench::BenchFolder benchFolder("morvane-live");
    const std::u16string folder = benchFolder.folder();
    const std::u16string listPath = folder + u"MorvaneList.txt";
    std::u16string reason;
    system.files.writeFileAtomic(listPath, system.ansi.encode(listText(0)), reason);

    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    LiveListWatch live(stampLiveFiles(system.files, folder), system.clock.steadyMilliseconds());
    ListRows rows = loadMorvaneListQuietly(listPath, system).rows;
    RowOrderCache cache;
    TreeNodes nodes = *reorderIntoView(ListView::FileOrder, rows, u"", &cache);
    TreePlace place{NodeOfRow{nodes[nodes.size() * 2 / 3].row},
                    NodeOfRow{nodes[nodes.size() * 2 / 3 - 5].row}};
    FolderWatch watch(folder, &liveFilesNamed, kBothLiveFiles, window, kChangedMessage);
    if (!watch.watching()) {
        std::fprintf(stderr, "the folder cannot be watched\n");
        return 1;
    }

    std::vector<double> toMessage, toReadDone, readTimes, loadTimes, viewTimes, placeTimes;
    for (int round = 1; round <= rewrites; ++round) {
        const std::string bytes = system.ansi.encode(listText(round));
        const double written = millisecondsNow();
        system.files.writeFileAtomic(listPath, bytes, reason);
        if (!waitForMessageUntil(window, system.clock.steadyMilliseconds() + 5000)) {
            std::fprintf(stderr, "no message for rewrite %d\n", round);
            return 1;
        }
        toMessage.push_back(millisecondsNow() - written);
        double readDone = 0;
        const auto reload = [&](LiveFile file) {
            if (file != LiveFile::CommandList)
                return ReloadResult::Refused;
            const double start = millisecondsNow();
            auto load = loadMorvaneListQuietly(listPath, system);
            if (load.outcome != QuietReadOutcome::Read)
                return reloadResultOf(load.outcome);
            const double loaded = millisecondsNow();
            auto newNodes = reorderIntoView(ListView::FileOrder, load.rows, u"", &cache);
            const double built = millisecondsNow();
            place = findPlaceAgain(place, rows, nodes, load.rows, *newNodes);
            rows = std::move(load.rows);
            nodes = std::move(*newNodes);
            readDone = millisecondsNow();
            readTimes.push_back(readDone - start);
            loadTimes.push_back(loaded - start);
            viewTimes.push_back(built - loaded);
            placeTimes.push_back(readDone - built);
            return ReloadResult::Shown;
        };
        // The window's loop: told, a check at once, then at each moment the
        // watch names.
        live.notified(watch.takeChanges(), system.clock.steadyMilliseconds());
        live.check(stampLiveFiles(system.files, folder), system.clock.steadyMilliseconds(), reload);
        while (readDone == 0) {
            if (waitForMessageUntil(window, live.nextCheck()))
                live.notified(watch.takeChanges(), system.clock.steadyMilliseconds());
            live.check(stampLiveFiles(system.files, folder), system.clock.steadyMilliseconds(),
                       reload);
        }
        toReadDone.push_back(readDone - written);
        // Let the last notifications of this rewrite pass.
        waitForMessageUntil(window, system.clock.steadyMilliseconds() + 300);
        watch.takeChanges();
    }
    std::printf("live reload of %d rows, %d rewrites (ms): median, worst\n", kRows, rewrites);
    std::printf("  write to the folder watch's message  %7.1f %7.1f\n", median(toMessage),
                worst(toMessage));
    std::printf("  write to the list read and placed    %7.1f %7.1f\n", median(toReadDone),
                worst(toReadDone));
    std::printf("  of which the read, view and place    %7.1f %7.1f\n", median(readTimes),
                worst(readTimes));
    std::printf("    the quiet read                     %7.1f %7.1f\n", median(loadTimes),
                worst(loadTimes));
    std::printf("    the file-order view's nodes        %7.1f %7.1f\n", median(viewTimes),
                worst(viewTimes));
    std::printf("    the place found again              %7.1f %7.1f\n", median(placeTimes),
                worst(placeTimes));

    DestroyWindow(window);
    return 0;
}

} // namespace
} // namespace morvane

int main(int argc, char** argv) {
    const int rewrites = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
    return morvane::run(rewrites);
}
