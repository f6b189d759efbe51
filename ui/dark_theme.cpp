#include "ui/dark_theme.h"

#include <commctrl.h>
#include <dwmapi.h>

#include <algorithm>
#include <map>
#include <string>

#include "platform/win32/win32_text.h"
#include "ui/dpi.h"
#include "ui/high_contrast.h"
#include "ui/window_hook.h"

namespace morvane::dark {
namespace {

// MinGW's headers lack these (Windows 10 1809+ / 20H1+).
constexpr DWORD kDwmUseImmersiveDarkMode = 20;
constexpr DWORD kDwmUseImmersiveDarkModeBefore20H1 = 19;

constexpr wchar_t kPaletteProperty[] = L"MorvaneX.Palette";

struct BrushCache {
    std::map<COLORREF, UniqueBrush> brushes;
};

BrushCache& brushCache() {
    static BrushCache cache; // palette brushes live for the process
    return cache;
}

void fillSolid(HDC dc, const RECT& rect, COLORREF colour) {
    FillRect(dc, &rect, brushFor(colour));
}

void frameSolid(HDC dc, const RECT& rect, COLORREF colour) {
    FrameRect(dc, &rect, brushFor(colour));
}

// hook.state: 1 while the mouse is over the button.
LRESULT hoverProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    switch (msg) {
    case WM_MOUSEMOVE:
        if (!hook.state) {
            hook.state = 1;
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
            TrackMouseEvent(&track);
            InvalidateRect(hwnd, nullptr, FALSE);
        }
        break;
    case WM_MOUSELEAVE:
        hook.state = 0;
        InvalidateRect(hwnd, nullptr, FALSE);
        break;
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

// hook.data: the palette of the edit's window.
LRESULT editBorderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    const LRESULT result = callNextHook(hwnd, msg, wp, lp, hook);
    const auto& palette = *static_cast<const Palette*>(hook.data);
    if (msg != WM_NCPAINT || palette.highContrast)
        return result;
    // Both pixels of the client edge: an outer line and the field colour
    // inside it, so no light system colour is left around the text.
    HDC dc = GetWindowDC(hwnd);
    if (!dc)
        return result;
    RECT rect;
    GetWindowRect(hwnd, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    const bool focused = GetFocus() == hwnd;
    frameSolid(dc, rect, focused ? palette.focusEdge : palette.edge);
    InflateRect(&rect, -1, -1);
    frameSolid(dc, rect, palette.field);
    ReleaseDC(hwnd, dc);
    return result;
}

// The group box lies above what it holds, and a parent that clips its
// children leaves its area to it: it fills its inside around the controls
// it holds, then draws its frame.
void paintGroupBoxFrame(HWND groupBox, HDC dc, const Palette& palette) {
    RECT frame;
    GetClientRect(groupBox, &frame);
    const int saved = SaveDC(dc);
    for (HWND sibling = GetWindow(GetParent(groupBox), GW_CHILD); sibling;
         sibling = GetWindow(sibling, GW_HWNDNEXT)) {
        if (sibling == groupBox || !IsWindowVisible(sibling))
            continue;
        RECT place;
        GetWindowRect(sibling, &place);
        MapWindowPoints(nullptr, groupBox, reinterpret_cast<POINT*>(&place), 2);
        ExcludeClipRect(dc, place.left, place.top, place.right, place.bottom);
    }
    fillSolid(dc, frame, palette.background);
    RestoreDC(dc, saved);
    frameSolid(dc, frame, palette.edge);
}

// hook.data: the palette of the group box's window. The button's own
// painting is kept out: it would draw the title, on WM_PAINT and at once on
// a change of text, enabling or keyboard cues.
LRESULT groupBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    const auto& palette = *static_cast<const Palette*>(hook.data);
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        paintGroupBoxFrame(hwnd, BeginPaint(hwnd, &ps), palette);
        EndPaint(hwnd, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paintGroupBoxFrame(hwnd, reinterpret_cast<HDC>(wp), palette);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETTEXT:
    case WM_ENABLE:
    case WM_UPDATEUISTATE: {
        const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
        InvalidateRect(hwnd, nullptr, TRUE);
        return result;
    }
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

UniqueFont menuFont(HWND owner) {
    const UINT dpi = owner ? dpiOfWindow(owner) : systemDpi();
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi))
        return createFont(kUiFace, 11, static_cast<int>(dpi));
    return UniqueFont(CreateFontIndirectW(&metrics.lfMenuFont));
}

struct MenuItemText {
    bool separator = false;
    std::wstring text;
};

MenuItemText menuItemText(HMENU menu, UINT id) {
    MenuItemText result;
    wchar_t buffer[256] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STRING;
    info.dwTypeData = buffer;
    info.cch = static_cast<UINT>(std::size(buffer));
    if (!GetMenuItemInfoW(menu, id, FALSE, &info))
        return result;
    result.separator = (info.fType & MFT_SEPARATOR) != 0;
    result.text = buffer;
    return result;
}

int menuTextLeft(UINT dpi) {
    return scaled(28, dpi);
}

} // namespace

Palette Palette::dark() {
    return {.highContrast = false,
            .background = kBackground,
            .text = kText,
            .field = kControl,
            .fieldText = kText,
            .button = kControl,
            .buttonText = kText,
            .buttonHot = kHot,
            .buttonHotText = kText,
            .buttonPressed = kPressed,
            .buttonPressedText = kText,
            .edge = kEdge,
            .focusEdge = kAccent,
            .disabledText = kDisabledText,
            .selection = kSelection,
            .selectionText = kText,
            .selectionInactive = kSelectionInactive,
            .selectionInactiveText = kText,
            .menuHot = kHot,
            .menuHotText = kText,
            .escapePanel = kLimeGreen};
}

Palette Palette::system() {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const COLORREF windowText = GetSysColor(COLOR_WINDOWTEXT);
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const COLORREF highlightText = GetSysColor(COLOR_HIGHLIGHTTEXT);
    const COLORREF buttonFace = GetSysColor(COLOR_BTNFACE);
    // A selection must show also where its control has no focus: the
    // button face that Windows puts there is the window colour in every
    // high-contrast theme.
    return {.highContrast = true,
            .background = window,
            .text = windowText,
            .field = window,
            .fieldText = windowText,
            .button = buttonFace,
            .buttonText = GetSysColor(COLOR_BTNTEXT),
            .buttonHot = highlight,
            .buttonHotText = highlightText,
            .buttonPressed = highlight,
            .buttonPressedText = highlightText,
            .edge = windowText,
            .focusEdge = highlight,
            .disabledText = GetSysColor(COLOR_GRAYTEXT),
            .selection = highlight,
            .selectionText = highlightText,
            .selectionInactive = highlight,
            .selectionInactiveText = highlightText,
            .menuHot = highlight,
            .menuHotText = highlightText,
            .escapePanel = buttonFace};
}

WindowPalette::Taken WindowPalette::takeFor(HWND window) {
    const bool on = highContrast_.isOn();
    const Taken taken{!taken_, !taken_ || on != palette_.highContrast};
    taken_ = true;
    palette_ = Palette::forHighContrast(on);
    publishPalette(window, this);
    useTitleBar(window, palette_);
    return taken;
}

HBRUSH brushFor(COLORREF colour) {
    auto& slot = brushCache().brushes[colour];
    if (!slot)
        slot.reset(CreateSolidBrush(colour));
    return slot.get();
}

UniqueFont createFont(std::u16string_view face, int charHeight96, int dpi, int weight) {
    LOGFONTW font{};
    font.lfHeight = -scaleForDpi(charHeight96, dpi);
    font.lfWeight = weight;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfQuality = ANTIALIASED_QUALITY;
    const size_t length = std::min(face.size(), std::size(font.lfFaceName) - 1);
    std::copy_n(wptr(face), length, font.lfFaceName);
    return UniqueFont(CreateFontIndirectW(&font));
}

UniqueFont createMessageFont(int dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0,
                                    static_cast<UINT>(dpi)))
        return createFont(kUiFace, 12, dpi);
    return UniqueFont(CreateFontIndirectW(&metrics.lfMessageFont));
}

void useTitleBar(HWND hwnd, const Palette& palette) {
    const BOOL on = palette.highContrast ? FALSE : TRUE;
    if (FAILED(DwmSetWindowAttribute(hwnd, kDwmUseImmersiveDarkMode, &on, sizeof on)))
        DwmSetWindowAttribute(hwnd, kDwmUseImmersiveDarkModeBefore20H1, &on, sizeof on);
}

LRESULT colourStatic(HDC dc, const Palette& palette) {
    SetTextColor(dc, palette.text);
    SetBkColor(dc, palette.background);
    return reinterpret_cast<LRESULT>(brushFor(palette.background));
}

LRESULT colourEdit(HDC dc, const Palette& palette) {
    SetTextColor(dc, palette.fieldText);
    SetBkColor(dc, palette.field);
    return reinterpret_cast<LRESULT>(brushFor(palette.field));
}

LRESULT colourDialog(HDC dc, const Palette& palette) {
    SetBkColor(dc, palette.background);
    return reinterpret_cast<LRESULT>(brushFor(palette.background));
}

void eraseBackground(HWND hwnd, HDC dc, const Palette& palette) {
    RECT rect;
    GetClientRect(hwnd, &rect);
    FillRect(dc, &rect, brushFor(palette.background));
}

void drawButton(const DRAWITEMSTRUCT& item, ButtonLook look, const Palette& palette) {
    const bool pressed = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & ODS_DISABLED;
    const bool focused = (item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT);
    const WindowHook* hover = findWindowHook(item.hwndItem, hoverProc);
    const bool hot = hover && hover->state;
    RECT rect = item.rcItem;
    HDC dc = item.hDC;

    const bool lime = look == ButtonLook::Lime && !palette.highContrast;
    COLORREF fill = pressed ? palette.buttonPressed : hot ? palette.buttonHot : palette.button;
    COLORREF edge = look == ButtonLook::Default || focused ? palette.focusEdge : palette.edge;
    COLORREF text = disabled  ? palette.disabledText
                    : pressed ? palette.buttonPressedText
                    : hot     ? palette.buttonHotText
                              : palette.buttonText;
    if (lime) {
        fill = pressed ? kLimeGreenPressed : hot ? kLimeGreenHot : kLimeGreen;
        edge = fill;
        text = kOnLimeText;
    }
    fillSolid(dc, rect, fill);
    frameSolid(dc, rect, edge);

    wchar_t caption[64] = {};
    GetWindowTextW(item.hwndItem, caption, static_cast<int>(std::size(caption)));
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    SelectObjectScope selectFont(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, text);
    if (pressed)
        OffsetRect(&rect, 1, 1);
    UINT format = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    DrawTextW(dc, caption, -1, &rect, format);
    if (focused && !lime) {
        RECT inner = item.rcItem;
        InflateRect(&inner, -1, -1);
        frameSolid(dc, inner, palette.focusEdge);
    }
}

void trackButtonHover(HWND button) {
    addWindowHook(button, hoverProc);
}

void darkenEditBorder(HWND edit, const Palette& palette) {
    addWindowHook(edit, editBorderProc, const_cast<Palette*>(&palette));
    SetWindowPos(edit, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void drawGroupBoxFrame(HWND groupBox, const Palette& palette) {
    addWindowHook(groupBox, groupBoxProc, const_cast<Palette*>(&palette));
}

void makeMenuOwnerDrawn(HMENU menu, const Palette& palette) {
    MENUINFO menuInfo{};
    menuInfo.cbSize = sizeof menuInfo;
    menuInfo.fMask = MIM_BACKGROUND;
    menuInfo.hbrBack = brushFor(palette.background);
    SetMenuInfo(menu, &menuInfo);
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            continue;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        info.fType |= MFT_OWNERDRAW;
        // The texts stay in the menu; the data names the menu for drawing.
        info.dwItemData = reinterpret_cast<ULONG_PTR>(menu);
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    }
}

bool measureMenuItem(HWND owner, MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU || !item.itemData)
        return false;
    const UINT dpi = owner ? dpiOfWindow(owner) : systemDpi();
    const auto entry = menuItemText(reinterpret_cast<HMENU>(item.itemData), item.itemID);
    if (entry.separator) {
        item.itemWidth = static_cast<UINT>(scaled(20, dpi));
        item.itemHeight = static_cast<UINT>(scaled(7, dpi));
        return true;
    }
    WindowDC screen(nullptr);
    const UniqueFont font = menuFont(owner);
    SelectObjectScope selectFont(screen.get(), font.get());
    RECT rect{};
    DrawTextW(screen.get(), entry.text.c_str(), -1, &rect, DT_SINGLELINE | DT_CALCRECT);
    item.itemWidth = static_cast<UINT>(rect.right + menuTextLeft(dpi) + scaled(16, dpi));
    item.itemHeight =
        static_cast<UINT>(std::max<int>(rect.bottom + scaled(8, dpi), scaled(22, dpi)));
    return true;
}

bool drawMenuItem(const DRAWITEMSTRUCT& item, const Palette& palette) {
    if (item.CtlType != ODT_MENU || !item.itemData)
        return false;
    HMENU menu = reinterpret_cast<HMENU>(item.itemData);
    const auto entry = menuItemText(menu, item.itemID);
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    HWND menuWindow = WindowFromDC(dc);
    const UINT dpi = menuWindow ? dpiOfWindow(menuWindow) : systemDpi();
    if (entry.separator) {
        fillSolid(dc, rect, palette.background);
        RECT line = rect;
        line.left += scaled(6, dpi);
        line.right -= scaled(6, dpi);
        line.top = (rect.top + rect.bottom) / 2;
        line.bottom = line.top + 1;
        fillSolid(dc, line, palette.edge);
        return true;
    }
    const bool selected = item.itemState & ODS_SELECTED;
    const bool disabled = item.itemState & (ODS_GRAYED | ODS_DISABLED);
    const bool hot = selected && !disabled;
    fillSolid(dc, rect, hot ? palette.menuHot : palette.background);
    const UniqueFont font = menuFont(menuWindow);
    SelectObjectScope selectFont(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, disabled ? palette.disabledText : hot ? palette.menuHotText : palette.text);
    if (item.itemState & ODS_CHECKED) {
        // A tick in the margin before the text, in the text's colour.
        const UniquePen pen(CreatePen(PS_SOLID, std::max(1, scaled(2, dpi)), GetTextColor(dc)));
        SelectObjectScope selectPen(dc, pen.get());
        const int middle = (rect.top + rect.bottom) / 2;
        const int left = rect.left + scaled(9, dpi);
        const POINT tick[] = {{left, middle},
                              {left + scaled(3, dpi), middle + scaled(3, dpi)},
                              {left + scaled(10, dpi), middle - scaled(4, dpi)}};
        Polyline(dc, tick, 3);
    }
    rect.left += menuTextLeft(dpi);
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_LEFT;
    if (item.itemState & ODS_NOACCEL)
        format |= DT_HIDEPREFIX;
    DrawTextW(dc, entry.text.c_str(), -1, &rect, format);
    return true;
}

void publishPalette(HWND window, const WindowPalette* palette) {
    if (palette)
        SetPropW(window, kPaletteProperty, const_cast<WindowPalette*>(palette));
    else
        RemovePropW(window, kPaletteProperty);
}

const HighContrastQuestion& highContrastQuestionOf(HWND owner) {
    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (const auto* published =
            root ? static_cast<const WindowPalette*>(GetPropW(root, kPaletteProperty)) : nullptr)
        return published->question();
    return HighContrastQuestion::ofThisSystem();
}

} // namespace morvane::dark
