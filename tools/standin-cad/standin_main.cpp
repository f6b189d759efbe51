// The stand-in CAD: registers an automation object under a ProgID, shows the
// command lines it receives in a dark command-line window and logs them, with
// the Escape presses its window gets, to a file for tests.
#include <windows.h>

#include <shellapi.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"
#include "standin_log.h"
#include "standin_objects.h"
#include "standin_options.h"
#include "standin_registry.h"

namespace standin {
namespace {

constexpr wchar_t kClassName[] = L"MorvaneStandinCad";
constexpr COLORREF kBackground = RGB(0x20, 0x20, 0x20);
constexpr COLORREF kText = RGB(0xE0, 0xE0, 0xE0);
constexpr COLORREF kPrompt = RGB(0x00, 0xFF, 0x00);

struct WindowState {
    EventLog& log;
    morvane::UniqueFont font;
    morvane::UniqueBrush background{CreateSolidBrush(kBackground)};
    bool minimized = false;
};

void paintLog(HWND window, WindowState& state) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    RECT client;
    GetClientRect(window, &client);
    FillRect(dc, &client, state.background.get());
    morvane::SelectObjectScope font(dc, state.font.get());
    SetBkMode(dc, TRANSPARENT);
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    const int lineHeight = metrics.tmHeight + 2;
    int y = client.bottom - lineHeight - 4;
    SetTextColor(dc, kPrompt);
    TextOutW(dc, 6, y, L"Command:", 8);
    SetTextColor(dc, kText);
    const auto& lines = state.log.shown();
    for (auto line = lines.rbegin(); line != lines.rend() && y > 0; ++line) {
        y -= lineHeight;
        TextOutW(dc, 6, y, line->c_str(), static_cast<int>(line->size()));
    }
    EndPaint(window, &ps);
}

void noteSize(WindowState& state, WPARAM kind) {
    if (kind == SIZE_MINIMIZED && !state.minimized) {
        state.minimized = true;
        state.log.add(L"window", L"minimized");
    } else if (kind != SIZE_MINIMIZED && state.minimized) {
        state.minimized = false;
        state.log.add(L"window", L"restored");
    }
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* state = reinterpret_cast<WindowState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!state)
        return DefWindowProcW(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        paintLog(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_KEYDOWN:
    case WM_KEYUP:
        if (wParam == VK_ESCAPE)
            state->log.add(L"key", message == WM_KEYDOWN ? L"ESC down" : L"ESC up");
        return 0;
    case WM_SIZE:
        noteSize(*state, wParam);
        InvalidateRect(window, nullptr, FALSE);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            state->log.add(L"window", L"activated");
        break;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND createMainWindow(HINSTANCE instance, WindowState& state, const std::wstring& progId) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    windowClass.lpszClassName = kClassName;
    RegisterClassExW(&windowClass);
    // Top left and narrow, clear of the launcher that opens in the middle.
    const std::wstring title = L"Stand-in CAD - " + progId;
    return CreateWindowExW(0, kClassName, title.c_str(), WS_OVERLAPPEDWINDOW, 8, 8, 360, 420,
                           nullptr, nullptr, instance, &state);
}

std::vector<std::wstring> commandArguments() {
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args;
    for (int i = 1; i < count; ++i)
        args.emplace_back(argv[i]);
    LocalFree(argv);
    return args;
}

// The calls the stand-in answers stay registered while the loop runs.
int serve(HINSTANCE instance, const Options& options) {
    const CLSID clsid = classIdFor(options.progId);
    EventLog log(options.logFile);
    WindowState state{
        log, morvane::UniqueFont(CreateFontW(
                 -15, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, L"MS Gothic"))};
    HWND window = createMainWindow(instance, state, options.progId);
    if (!window)
        return 1;
    log.setOnChange([window] { InvalidateRect(window, nullptr, FALSE); });

    Document document(log);
    Application application(log, options, document);
    application.setWindow(window);
    BusyFilter filter(log, options);
    const auto holdWhileBusy = [&] {
        // Wine runs a call its caller was told to retry later; a busy CAD
        // would still finish its work first.
        if (const DWORD remaining = filter.busyRemaining()) {
            log.add(L"held", std::to_wstring(remaining) + L" ms");
            Sleep(remaining);
        }
    };
    application.beforeCall = holdWhileBusy;
    document.beforeCall = holdWhileBusy;
    morvane::ComPtr<IMessageFilter> previousFilter;
    CoRegisterMessageFilter(&filter, previousFilter.put());

    if (!registerProgId(options.progId, clsid, !options.noTypeLibrary))
        log.add(L"error", L"cannot register the ProgID");
    DWORD cookie = 0;
    const HRESULT hr = RegisterActiveObject(&application, clsid, ACTIVEOBJECT_STRONG, &cookie);
    ShowWindow(window, options.minimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    UpdateWindow(window);
    wchar_t ready[160];
    swprintf(ready, 160, L"%ls hwnd=%llx pid=%lu hr=%08lx", options.progId.c_str(),
             static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)),
             GetCurrentProcessId(), static_cast<unsigned long>(hr));
    log.add(L"ready", ready);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (SUCCEEDED(hr))
        RevokeActiveObject(cookie, nullptr);
    CoDisconnectObject(&application, 0);
    CoDisconnectObject(&document, 0);
    morvane::ComPtr<IMessageFilter> ours;
    CoRegisterMessageFilter(previousFilter.get(), ours.put());
    return 0;
}

} // namespace
} // namespace standin

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    using namespace standin;
    Options options;
    try {
        options = parseOptions(commandArguments());
    } catch (const std::exception& error) {
        const std::string reason = error.what();
        const std::wstring text = std::wstring(reason.begin(), reason.end()) + L"\n\n" + kUsage;
        MessageBoxW(nullptr, text.c_str(), L"Stand-in CAD", MB_ICONERROR);
        return 2;
    }
    const morvane::OleScope ole;
    if (FAILED(ole.result()))
        return 1;
    const CLSID clsid = classIdFor(options.progId);
    if (options.unregister) {
        unregisterProgId(options.progId, clsid);
        return 0;
    }
    if (options.registerOnly)
        return registerProgId(options.progId, clsid, !options.noTypeLibrary) ? 0 : 1;
    return serve(instance, options);
}
