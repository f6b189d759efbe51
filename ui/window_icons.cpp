#include "ui/window_icons.h"

#include <utility>

namespace morvane {
namespace {

// The resource holds an image for every size of the usual scalings; for
// another, the nearest one is scaled.
UniqueIcon loadIcon(const wchar_t* iconName, int size) {
    return UniqueIcon(static_cast<HICON>(
        LoadImageW(GetModuleHandleW(nullptr), iconName, IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

} // namespace

void WindowIcons::show(HWND window, const wchar_t* iconName, UINT dpi) {
    UniqueIcon big = loadIcon(iconName, GetSystemMetricsForDpi(SM_CXICON, dpi));
    UniqueIcon small = loadIcon(iconName, GetSystemMetricsForDpi(SM_CXSMICON, dpi));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big.get()));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small.get()));
    // The window no longer shows the old ones: they go now.
    big_ = std::move(big);
    small_ = std::move(small);
}

} // namespace morvane
