// How long a drop of a 1 MB LISP file takes until its question appears: the
// time from sending WM_DROPFILES to the real main window until the question
// box is activated. Prints the median of several drops for a UTF-8 file and
// for a Shift_JIS one (read twice: strict UTF-8 fails first).
//
//   morvane_drop_bench.exe [drops]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/launcher_host.h"
#include "app/main_window.h"
#include "drop/drop_handle.h"
#include "platform/win32/precise_clock.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "ui/dark_extras.h"

namespace morvane {
namespace {

constexpr size_t kFileSize = 1 << 20;

// Commands with Japanese comments, helpers and code lines, as a large
// library file has them, up to kFileSize bytes.
std::u16string lispSource(size_t approximateBytes) {
    std::u16string text;
    // Every code unit takes at least one byte in either encoding.
    for (int n = 0; text.size() < approximateBytes; ++n) {
        const auto number = fromWide(std::to_wstring(n));
        text += u";; ---------------------------------------\r\n";
        text += u";; 図形 " + number + u" を描く : 二点を指示\r\n";
        text += u";;   (選択した画層に作図します)\r\n";
        text += u"(defun c:Draw" + number + u" (p1 p2 / ent old)\r\n";
        text += u"  (setq old (getvar \"CLAYER\")) ; 現在の画層\r\n";
        text += u"  (command \"_.LINE\" p1 p2 \"\")\r\n";
        text += u"  (setq ent (entlast))\r\n";
        text += u"  (setvar \"CLAYER\" old)\r\n";
        text += u"  (princ)\r\n)\r\n\r\n";
        text += u"(defun helper" + number + u" (x / y)\r\n";
        text += u"  (setq y (* x 2)) (if (> y 10) (princ \"大\") (princ \"小\"))\r\n)\r\n\r\n";
    }
    return text;
}

std::string encode(std::u16string_view text, UINT codePage, size_t size) {
    const auto wide = toWide(text);
    const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), bytes.data(),
                        length, nullptr, nullptr);
    // Cut at a line end near the size wanted.
    const size_t end = bytes.rfind("\r\n\r\n", size);
    bytes.resize(end == std::string::npos ? bytes.size() : end + 4);
    return bytes;
}

// The moment the question is activated, caught on the UI thread itself; the
// question is answered No at once.
double questionShownAt = 0;

LRESULT CALLBACK watchActivation(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wp);
        wchar_t name[16] = {};
        GetClassNameW(box, name, 16);
        if (std::wstring(name) == L"#32770") {
            questionShownAt = millisecondsNow();
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(nullptr, code, wp, lp);
}

std::vector<double> timeDrops(HWND window, const std::u16string& path, int drops) {
    std::vector<double> times;
    for (int i = 0; i < drops; ++i) {
        questionShownAt = 0;
        const double start = millisecondsNow();
        SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(test::makeDropHandle({path})),
                     0);
        if (questionShownAt == 0) {
            std::fprintf(stderr, "no question was shown\n");
            std::exit(1);
        }
        times.push_back(questionShownAt - start);
    }
    std::sort(times.begin(), times.end());
    return times;
}

struct Hook {
    HHOOK hook;
    ~Hook() { UnhookWindowsHookEx(hook); }
};

void timeVariants(const std::u16string& folder, int drops) {
    // The window writes its settings into the folder when it closes.
    LauncherHost host(LauncherEnvironment{folder, folder + u"MorvaneX.ini", false, {}, {}},
                      {platformServices(), dark::Extras::ofThisSystem()});
    MainWindow& window = host.mainWindow();
    if (!host.createMainWindow())
        std::exit(1);
    const Hook hook{SetWindowsHookExW(WH_CBT, watchActivation, nullptr, GetCurrentThreadId())};

    const auto source = lispSource(kFileSize);
    const struct {
        const char* name;
        UINT codePage;
    } variants[] = {{"utf-8", CP_UTF8}, {"shift_jis", 932}};
    for (const auto& variant : variants) {
        const auto path = folder + u"big.lsp";
        const auto bytes = encode(source, variant.codePage, kFileSize);
        std::u16string reason;
        if (!platformServices().files.writeFileAtomic(path, bytes, reason))
            std::exit(1);
        const auto times = timeDrops(window.hwnd(), path, drops);
        std::printf("drop of a %zu-byte LISP file (%s): question after %.1f ms median "
                    "(min %.1f, max %.1f, %d drops)\n",
                    bytes.size(), variant.name, times[times.size() / 2], times.front(),
                    times.back(), drops);
    }
}

int run(int drops) {
    OleScope ole;
    const auto folder = std::filesystem::temp_directory_path() /
                        ("morvane-drop-bench-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    timeVariants(folder.u16string() + u"\\", drops);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return 0;
}

} // namespace
} // namespace morvane

int main(int argc, char** argv) {
    const int drops = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    return morvane::run(drops);
}
