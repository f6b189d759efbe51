#include "gui_support.h"

#include <chrono>

#include "platform/win32/scoped.h"

namespace morvane::test {
namespace {

ReadNode readNode(HWND tree, HTREEITEM item) {
    wchar_t buffer[1024] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_STATE;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = 1024;
    data.stateMask = TVIS_EXPANDED | TVIS_SELECTED;
    SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&data));
    ReadNode node;
    node.text = buffer;
    node.data = data.lParam;
    node.image = data.iImage;
    node.selectedImage = data.iSelectedImage;
    node.expanded = (data.state & TVIS_EXPANDED) != 0;
    node.selected = (data.state & TVIS_SELECTED) != 0;
    for (HTREEITEM child = TreeView_GetChild(tree, item); child;
         child = TreeView_GetNextSibling(tree, child))
        node.children.push_back(readNode(tree, child));
    return node;
}

struct FindBox {
    DWORD process;
    HWND found;
};

BOOL CALLBACK findBox(HWND hwnd, LPARAM lp) {
    auto& search = *reinterpret_cast<FindBox*>(lp);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    wchar_t className[64] = {};
    GetClassNameW(hwnd, className, 64);
    if (process == search.process && IsWindowVisible(hwnd) &&
        std::wstring(className) == L"#32770") {
        search.found = hwnd;
        return FALSE;
    }
    return TRUE;
}

// The window painted by PrintWindow into a 32-bit bitmap that starts magenta.
std::vector<COLORREF> printWindow(HWND hwnd, int& width) {
    RECT rect;
    GetWindowRect(hwnd, &rect);
    width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    WindowDC screen(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits)
        return {};
    SelectObjectScope select(memory.get(), bitmap.get());
    const RECT all{0, 0, width, height};
    UniqueBrush magenta(CreateSolidBrush(RGB(255, 0, 255)));
    FillRect(memory.get(), &all, magenta.get());
    PrintWindow(hwnd, memory.get(), 0);
    GdiFlush();
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    const auto* bgra = static_cast<const DWORD*>(bits);
    for (size_t i = 0; i < pixels.size(); ++i)
        pixels[i] = RGB(bgra[i] >> 16 & 0xFF, bgra[i] >> 8 & 0xFF, bgra[i] & 0xFF);
    return pixels;
}

} // namespace

COLORREF printedPixel(HWND hwnd, int x, int y) {
    int width = 0;
    const auto pixels = printWindow(hwnd, width);
    const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
    return x >= 0 && y >= 0 && x < width && at < pixels.size() ? pixels[at] : CLR_INVALID;
}

std::vector<COLORREF> printedPixels(HWND hwnd) {
    int width = 0;
    return printWindow(hwnd, width);
}

COLORREF clientPixel(HWND hwnd, int x, int y) {
    POINT client{x, y};
    ClientToScreen(hwnd, &client);
    RECT outer;
    GetWindowRect(hwnd, &outer);
    return printedPixel(hwnd, client.x - outer.left, client.y - outer.top);
}

COLORREF insidePixel(HWND control) {
    RECT rect;
    GetWindowRect(control, &rect);
    return printedPixel(control, (rect.right - rect.left) - 8, (rect.bottom - rect.top) / 2);
}

std::vector<ReadNode> readTree(HWND tree) {
    std::vector<ReadNode> nodes;
    for (HTREEITEM item = TreeView_GetRoot(tree); item; item = TreeView_GetNextSibling(tree, item))
        nodes.push_back(readNode(tree, item));
    return nodes;
}

std::vector<std::wstring> texts(const std::vector<ReadNode>& nodes) {
    std::vector<std::wstring> result;
    for (const auto& node : nodes)
        result.push_back(node.text);
    return result;
}

std::wstring windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

BoxWatcher::BoxWatcher(std::wstring pressButton, std::chrono::milliseconds limit,
                       std::function<void(HWND box)> beforePress)
    : pressButton_(std::move(pressButton)), limit_(limit), beforePress_(std::move(beforePress)),
      thread_([this] { watch(); }) {}

BoxWatcher::~BoxWatcher() {
    if (thread_.joinable())
        thread_.join();
}

const SeenBox& BoxWatcher::result() {
    if (thread_.joinable())
        thread_.join();
    return seen_;
}

void BoxWatcher::watch() {
    const auto deadline = std::chrono::steady_clock::now() + limit_;
    FindBox search{GetCurrentProcessId(), nullptr};
    while (!search.found && std::chrono::steady_clock::now() < deadline) {
        EnumWindows(findBox, reinterpret_cast<LPARAM>(&search));
        if (!search.found)
            Sleep(20);
    }
    if (!search.found)
        return;
    HWND box = search.found;
    Sleep(50); // let the box finish its first layout
    seen_.found = true;
    seen_.caption = windowText(box);
    GetWindowRect(box, &seen_.rect);
    const LRESULT defId = SendMessageW(box, DM_GETDEFID, 0, 0);
    HWND press = nullptr;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        wchar_t className[64] = {};
        GetClassNameW(child, className, 64);
        if (_wcsicmp(className, L"Static") == 0) {
            if (GetWindowLongPtrW(child, GWL_STYLE) & SS_ICON)
                seen_.iconShown = SendMessageW(child, STM_GETICON, 0, 0) != 0;
            else
                seen_.text = windowText(child);
        } else if (_wcsicmp(className, L"Button") == 0) {
            const std::wstring caption = windowText(child);
            seen_.buttons.push_back(caption);
            if (HIWORD(defId) == DC_HASDEFID && GetDlgCtrlID(child) == LOWORD(defId))
                seen_.defaultButton = caption;
            if (caption == pressButton_)
                press = child;
        }
    }
    if (beforePress_)
        beforePress_(box);
    if (press)
        SendMessageW(press, BM_CLICK, 0, 0);
    else
        PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
}

std::wstring itemLabel(HWND tree, HTREEITEM item) {
    if (!item)
        return L"<none>";
    wchar_t buffer[128] = {};
    TVITEMW data{};
    data.mask = TVIF_TEXT;
    data.hItem = item;
    data.pszText = buffer;
    data.cchTextMax = 128;
    TreeView_GetItem(tree, &data);
    return buffer;
}

HTREEITEM itemLabelled(HWND tree, std::wstring_view label, bool pinned) {
    for (HTREEITEM top = TreeView_GetRoot(tree); top; top = TreeView_GetNextSibling(tree, top)) {
        const bool pinGroup = itemLabel(tree, top) == L"ピン留め";
        if (!pinned && itemLabel(tree, top) == label)
            return top;
        for (HTREEITEM child = TreeView_GetChild(tree, top); child;
             child = TreeView_GetNextSibling(tree, child))
            if (pinGroup == pinned && itemLabel(tree, child) == label)
                return child;
    }
    return nullptr;
}

void pumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool pumpMessagesUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        pumpMessages();
        if (condition())
            return true;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        // Wakes for any message; a timer's comes when the queue asks for it.
        MsgWaitForMultipleObjects(0, nullptr, FALSE,
                                  static_cast<DWORD>(std::min<long long>(left.count(), 20)),
                                  QS_ALLINPUT);
    }
}

void pumpMessagesFor(std::chrono::milliseconds time) {
    pumpMessagesUntil([] { return false; }, time);
}

HWND waitForPopupMenu() {
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    for (;;) {
        HWND popup = FindWindowW(L"#32768", nullptr);
        if (popup && IsWindowVisible(popup))
            return popup;
        if (std::chrono::steady_clock::now() >= deadline)
            return nullptr;
        std::this_thread::sleep_for(20ms);
    }
}

} // namespace morvane::test
