// morvane-probe: what the launcher shows, read from outside its process.
//
//   morvane-probe main          caption, rectangles, topmost, focus, search text, controls
//   morvane-probe tree          one line per tree node (level, text, data, image, state, centre)
//   morvane-probe windows       every visible top-level window: class, caption, topmost, rect
//   morvane-probe children CAPTION   the child controls of the top-level window with this caption
//   morvane-probe wait CLASS|CAPTION MS   waits until such a window is visible; exit 3 on time-out
//   morvane-probe gone CLASS|CAPTION MS   waits until no such window is visible; exit 3 on time-out
//   morvane-probe window CLASS|CAPTION    caption, rect, topmost, iconic, foreground of that
//                                         window, and its control with the keyboard focus
//   morvane-probe close CLASS|CAPTION     asks that window to close (WM_CLOSE)
//   morvane-probe endsession CLASS|CAPTION [closeapp]
//                               log-off as Windows does it: WM_QUERYENDSESSION, then
//                               WM_ENDSESSION with the answer; the answer, and whether the
//                               window is still there. With closeapp, the Restart Manager's
//                               close of one program (ENDSESSION_CLOSEAPP) instead
//
// Output is UTF-8, one "key=value" or tab-separated record per line.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

#include "tools/probe/remote_tree.h"

namespace {

using morvane::probe::readRemoteTree;

void writeUtf8(const std::wstring& text) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(), size,
                        nullptr, nullptr);
    fwrite(bytes.data(), 1, bytes.size(), stdout);
}

void line(const std::wstring& text) {
    writeUtf8(text + L"\n");
}

std::wstring windowText(HWND hwnd) {
    const int length = static_cast<int>(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// A top-level window's caption as the system keeps it. For another process's
// window GetWindowText sends no message, so a window that is busy or whose
// process is ending cannot hold up or fail a search through all windows.
std::wstring caption(HWND hwnd) {
    wchar_t text[512] = {};
    GetWindowTextW(hwnd, text, 512);
    return text;
}

std::wstring className(HWND hwnd) {
    wchar_t name[256] = {};
    GetClassNameW(hwnd, name, 256);
    return name;
}

// Escapes the characters that would break a line or a field.
std::wstring escaped(const std::wstring& text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c == L'\n')
            out += L"\\n";
        else if (c == L'\r')
            out += L"\\r";
        else if (c == L'\t')
            out += L"\\t";
        else if (c == L'\\')
            out += L"\\\\";
        else
            out += c;
    }
    return out;
}

std::wstring rectText(const RECT& r) {
    return std::to_wstring(r.left) + L"," + std::to_wstring(r.top) + L"," +
           std::to_wstring(r.right) + L"," + std::to_wstring(r.bottom);
}

RECT screenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

bool isTopmost(HWND hwnd) {
    return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
}

HWND findMain() {
    return FindWindowW(L"MorvaneX.Main", nullptr);
}

struct NamedControl {
    const wchar_t* name;
    int id;
};

// The main window's control identifiers.
constexpr NamedControl kControls[] = {{L"commandTree", 101},     {L"commandOrderButton", 102},
                                      {L"fileOrderButton", 103}, {L"searchBox", 104},
                                      {L"escapePanel", 105},     {L"escapeButton", 106},
                                      {L"searchLabel", 107}};

HWND findControl(HWND main, int id) {
    HWND found = GetDlgItem(main, id);
    if (found)
        return found;
    // The ESC button sits inside its panel.
    for (const auto& c : kControls)
        if (HWND parent = GetDlgItem(main, c.id))
            if (HWND inner = GetDlgItem(parent, id))
                return inner;
    return nullptr;
}

// The window with the keyboard focus in the thread of window, or nullptr.
HWND focusInThreadOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

// Which of the main window's controls has the keyboard focus: a control's
// name, "main" for the window itself, "none" or "other".
std::wstring focusName(HWND main) {
    HWND focus = focusInThreadOf(main);
    if (!focus)
        return L"none";
    if (focus == main)
        return L"main";
    for (const auto& c : kControls)
        if (findControl(main, c.id) == focus)
            return c.name;
    return L"other";
}

int showMain() {
    HWND main = findMain();
    if (!main) {
        line(L"error=no main window");
        return 1;
    }
    RECT client{};
    GetClientRect(main, &client);
    line(L"caption=" + escaped(windowText(main)));
    line(L"rect=" + rectText(screenRect(main)));
    line(L"client=" + std::to_wstring(client.right) + L"," + std::to_wstring(client.bottom));
    line(L"topmost=" + std::wstring(isTopmost(main) ? L"1" : L"0"));
    line(L"iconic=" + std::wstring(IsIconic(main) ? L"1" : L"0"));
    line(L"foreground=" + std::wstring(GetForegroundWindow() == main ? L"1" : L"0"));
    line(L"focus=" + focusName(main));
    for (const auto& c : kControls) {
        HWND control = findControl(main, c.id);
        if (!control)
            continue;
        line(std::wstring(c.name) + L".rect=" + rectText(screenRect(control)));
        line(std::wstring(c.name) + L".text=" + escaped(windowText(control)));
    }
    return 0;
}

int showTree() {
    HWND main = findMain();
    HWND tree = main ? findControl(main, 101) : nullptr;
    if (!tree) {
        line(L"error=no tree");
        return 1;
    }
    for (const auto& item : readRemoteTree(tree)) {
        const long cx = (item.rect.left + item.rect.right) / 2;
        const long cy = (item.rect.top + item.rect.bottom) / 2;
        line(std::to_wstring(item.level) + L"\t" + escaped(item.text) + L"\t" +
             std::to_wstring(static_cast<long long>(item.data)) + L"\t" +
             std::to_wstring(item.image) + L"\t" + (item.selected ? L"selected" : L"-") + L"\t" +
             (item.expanded ? L"expanded" : L"-") + L"\t" + std::to_wstring(cx) + L"," +
             std::to_wstring(cy));
    }
    return 0;
}

std::vector<HWND> topLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            if (IsWindowVisible(hwnd))
                reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    return windows;
}

int showWindows() {
    for (HWND hwnd : topLevelWindows())
        line(escaped(className(hwnd)) + L"\t" + escaped(windowText(hwnd)) + L"\t" +
             (isTopmost(hwnd) ? L"topmost" : L"-") + L"\t" + rectText(screenRect(hwnd)));
    return 0;
}

HWND findTopLevel(const std::wstring& classOrCaption) {
    for (HWND hwnd : topLevelWindows())
        if (className(hwnd) == classOrCaption || caption(hwnd) == classOrCaption)
            return hwnd;
    return nullptr;
}

int showChildren(const std::wstring& caption) {
    HWND top = findTopLevel(caption);
    if (!top) {
        line(L"error=no window");
        return 1;
    }
    line(L"window\t" + escaped(className(top)) + L"\t" + escaped(windowText(top)) + L"\t" +
         (isTopmost(top) ? L"topmost" : L"-") + L"\t" + rectText(screenRect(top)));
    std::vector<HWND> children;
    EnumChildWindows(
        top,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    for (HWND child : children) {
        line(L"child\t" + std::to_wstring(GetDlgCtrlID(child)) + L"\t" + escaped(className(child)) +
             L"\t" + escaped(windowText(child)) + L"\t" + rectText(screenRect(child)));
        if (className(child) == L"ListBox") {
            const int count = static_cast<int>(SendMessageW(child, LB_GETCOUNT, 0, 0));
            const int selected = static_cast<int>(SendMessageW(child, LB_GETCURSEL, 0, 0));
            for (int k = 0; k < count; ++k) {
                const int length = static_cast<int>(SendMessageW(child, LB_GETTEXTLEN, k, 0));
                std::wstring text(static_cast<size_t>(length) + 1, L'\0');
                SendMessageW(child, LB_GETTEXT, k, reinterpret_cast<LPARAM>(text.data()));
                text.resize(static_cast<size_t>(length));
                RECT item{};
                SendMessageW(child, LB_GETITEMRECT, k, reinterpret_cast<LPARAM>(&item));
                MapWindowPoints(child, nullptr, reinterpret_cast<POINT*>(&item), 2);
                line(L"item\t" + std::to_wstring(k) + L"\t" + escaped(text) + L"\t" +
                     (k == selected ? L"selected" : L"-") + L"\t" + rectText(item));
            }
        }
    }
    return 0;
}

// The exit code of a wait whose time is up. Not 1: Wine ends with 1 when it
// fails to start a program (no connection to its server, for one), and a
// script must tell that from a window that never came.
constexpr int kTimeIsUp = 3;

// Waits until such a window is visible (present) or no such window is.
int waitFor(const std::wstring& classOrCaption, bool present, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        if ((findTopLevel(classOrCaption) != nullptr) == present)
            return 0;
        Sleep(50);
    }
    return kTimeIsUp;
}

// Minimised windows count too: the stand-in CAD may start iconic.
HWND findAnyTopLevel(const std::wstring& classOrCaption) {
    HWND found = nullptr;
    for (HWND hwnd = GetTopWindow(nullptr); hwnd && !found; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
        if (className(hwnd) == classOrCaption || caption(hwnd) == classOrCaption)
            found = hwnd;
    return found;
}

int showWindow(const std::wstring& classOrCaption) {
    HWND hwnd = findAnyTopLevel(classOrCaption);
    if (!hwnd) {
        line(L"error=no window");
        return 1;
    }
    line(L"class=" + escaped(className(hwnd)));
    line(L"caption=" + escaped(windowText(hwnd)));
    line(L"rect=" + rectText(screenRect(hwnd)));
    line(L"visible=" + std::wstring(IsWindowVisible(hwnd) ? L"1" : L"0"));
    line(L"topmost=" + std::wstring(isTopmost(hwnd) ? L"1" : L"0"));
    line(L"iconic=" + std::wstring(IsIconic(hwnd) ? L"1" : L"0"));
    line(L"foreground=" + std::wstring(GetForegroundWindow() == hwnd ? L"1" : L"0"));
    // The focused control of the window: its class and text, or nothing.
    HWND focus = focusInThreadOf(hwnd);
    if (focus && !IsChild(hwnd, focus))
        focus = nullptr;
    line(L"focus.class=" + (focus ? escaped(className(focus)) : std::wstring()));
    line(L"focus.text=" + (focus ? escaped(windowText(focus)) : std::wstring()));
    return 0;
}

int closeWindow(const std::wstring& classOrCaption) {
    HWND hwnd = findAnyTopLevel(classOrCaption);
    if (!hwnd) {
        line(L"error=no window");
        return 1;
    }
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    return 0;
}

// Each message waits for the window's answer: when it returns, the window
// has done what it does at log-off (reasons ENDSESSION_LOGOFF) or when the
// Restart Manager closes it (ENDSESSION_CLOSEAPP).
int endSession(const std::wstring& classOrCaption, LPARAM reasons) {
    HWND hwnd = findAnyTopLevel(classOrCaption);
    if (!hwnd) {
        line(L"error=no window");
        return 1;
    }
    constexpr UINT kAnswerMs = 5000;
    DWORD_PTR mayEnd = 0;
    if (!SendMessageTimeoutW(hwnd, WM_QUERYENDSESSION, 0, reasons, SMTO_ABORTIFHUNG, kAnswerMs,
                             &mayEnd)) {
        line(L"error=no answer to WM_QUERYENDSESSION");
        return 1;
    }
    line(L"queryendsession=" + std::to_wstring(mayEnd));
    if (!SendMessageTimeoutW(hwnd, WM_ENDSESSION, mayEnd ? TRUE : FALSE, reasons, SMTO_ABORTIFHUNG,
                             kAnswerMs, nullptr)) {
        line(L"error=no answer to WM_ENDSESSION");
        return 1;
    }
    line(L"window=" + std::wstring(IsWindow(hwnd) ? L"1" : L"0"));
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (command == L"main")
        return showMain();
    if (command == L"tree")
        return showTree();
    if (command == L"windows")
        return showWindows();
    if (command == L"children" && argc > 2)
        return showChildren(argv[2]);
    if ((command == L"wait" || command == L"gone") && argc > 3)
        return waitFor(argv[2], command == L"wait", static_cast<DWORD>(_wtoi(argv[3])));
    if (command == L"window" && argc > 2)
        return showWindow(argv[2]);
    if (command == L"close" && argc > 2)
        return closeWindow(argv[2]);
    if (command == L"endsession" && argc == 3)
        return endSession(argv[2], ENDSESSION_LOGOFF);
    if (command == L"endsession" && argc == 4 && std::wstring(argv[3]) == L"closeapp")
        return endSession(argv[2], ENDSESSION_CLOSEAPP);
    fputs("usage: morvane-probe main|tree|windows|children CAPTION|wait CLASS|CAPTION MS|\n"
          "       gone CLASS|CAPTION MS|window CLASS|CAPTION|close CLASS|CAPTION|\n"
          "       endsession CLASS|CAPTION [closeapp]\n",
          stderr);
    return 2;
}
