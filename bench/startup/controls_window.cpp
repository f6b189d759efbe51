// The floor for MorvaneX's start-up: a window with the same controls, fonts
// and tree rows, built the plainest way (no settings, list file, dark
// drawing, images, message filter or hidden dialog), in the same process
// set-up (OLE, common controls 6, the same manifest). What MorvaneX costs
// beyond this is its own; what this costs beyond the minimal window is the
// price of the controls under Wine.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

namespace {

HFONT tahoma(int height, int dpi) {
    return CreateFontW(-MulDiv(height, dpi, 96), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                       ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
}

HWND child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, int x,
           int y, int w, int h, HFONT font) {
    HWND hwnd = CreateWindowExW(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                parent, nullptr, GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return hwnd;
}

// The sample list's groups and rows, as the tree shows them.
constexpr const wchar_t* kGroups[][6] = {
    {L"作図", L"LINE : 線分を作図", L"CIRCLE : 円を作図", L"RECTANG : 長方形を作図",
     L"BOX : 直方体を作成", nullptr},
    {L"修正", L"MOVE : 図形を移動", L"COPY : 図形を複写", L"TRIM : トリム", L"OFFSET : オフセット",
     nullptr},
    {L"ツール", L"寸法ツール : 寸法ツールを読み込む", L"メモ帳 : メモ帳を起動", nullptr},
};

void fillTree(HWND tree) {
    SendMessageW(tree, WM_SETREDRAW, FALSE, 0);
    for (const auto& group : kGroups) {
        TVINSERTSTRUCTW insert{};
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT;
        insert.item.pszText = const_cast<wchar_t*>(group[0]);
        insert.hParent = TVI_ROOT;
        HTREEITEM parent = TreeView_InsertItem(tree, &insert);
        for (int i = 1; group[i]; ++i) {
            insert.hParent = parent;
            insert.item.pszText = const_cast<wchar_t*>(group[i]);
            TreeView_InsertItem(tree, &insert);
        }
        TreeView_Expand(tree, parent, TVE_EXPAND);
    }
    SendMessageW(tree, WM_SETREDRAW, TRUE, 0);
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_CREATE) {
        const int dpi = 96;
        HFONT window = tahoma(11, dpi), edit = tahoma(12, dpi), treeFont = tahoma(13, dpi);
        HWND tree = child(hwnd, WC_TREEVIEWW, L"",
                          WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT |
                              TVS_SHOWSELALWAYS | TVS_NOHSCROLL,
                          0, 0, 56, 280, 146, treeFont);
        child(hwnd, L"BUTTON", L"ABC順", WS_TABSTOP, 0, 174, 30, 50, 22, window);
        child(hwnd, L"BUTTON", L"取得順", WS_TABSTOP, 0, 226, 30, 50, 22, window);
        child(hwnd, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 36, 4, 136, 22,
              edit);
        HWND panel = child(hwnd, L"STATIC", L"", SS_NOTIFY, 0, 174, 4, 102, 22, window);
        child(panel, L"BUTTON", L"ESC", 0, 0, 0, 0, 102, 22, window);
        child(hwnd, L"STATIC", L"検索", SS_LEFT, 0, 4, 8, 30, 16, window);
        fillTree(tree);
        return 0;
    }
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"ControlsWindow";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(
        WS_EX_APPWINDOW | WS_EX_TOPMOST, L"ControlsWindow", L"MorvaneX",
        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_CLIPCHILDREN,
        CW_USEDEFAULT, CW_USEDEFAULT, 296, 241, nullptr, nullptr, instance, nullptr);
    ShowWindow(hwnd, showCommand);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    OleUninitialize();
    return 0;
}
