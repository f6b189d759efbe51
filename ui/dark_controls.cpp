#include "ui/dark_controls.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "ui/accessible.h"
#include "ui/dark_scroll_bar.h"
#include "ui/dpi.h"

namespace morvane::dark {

HWND createPushButton(HWND parent, int id, std::u16string_view caption, const ControlRect& place,
                      DWORD style) {
    HWND button = createChild(parent, L"BUTTON", caption, BS_OWNERDRAW | style, 0, id, place);
    trackButtonHover(button);
    describeForAccessibility(button, u"", ROLE_SYSTEM_PUSHBUTTON);
    return button;
}

void themeControls(const Extras& extras, const WindowPalette::Taken& taken, const Palette& palette,
                   std::initializer_list<ThemedControl> controls, HWND scrolled) {
    if (!taken.switched)
        return;
    if (palette.highContrast) {
        if (!taken.first)
            for (const ThemedControl& themed : controls)
                extras.useSystemControlTheme(themed.control);
        removeDarkScrollBar(scrolled);
        return;
    }
    for (const ThemedControl& themed : controls)
        extras.useDarkControlTheme(themed.control, themed.darkThemeClass);
    useDarkScrollBar(scrolled, extras);
}

bool ButtonPainter::onControlMessage(HWND control, UINT msg, WPARAM, LPARAM lp,
                                     LRESULT& result) noexcept {
    if (msg != WM_DRAWITEM)
        return false;
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
    ButtonLook look = look_;
    if (defaultFromParent_) {
        const LRESULT id = SendMessageW(GetParent(control), DM_GETDEFID, 0, 0);
        const bool isDefault = HIWORD(id) == DC_HASDEFID && LOWORD(id) == item.CtlID;
        look = isDefault ? ButtonLook::Default : ButtonLook::Normal;
    }
    drawButton(item, look, palette_);
    result = TRUE;
    return true;
}

bool TextColours::onControlMessage(HWND, UINT msg, WPARAM wp, LPARAM, LRESULT& result) noexcept {
    switch (msg) {
    case WM_CTLCOLORSTATIC:
        result = colourStatic(reinterpret_cast<HDC>(wp), palette_);
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        result = colourEdit(reinterpret_cast<HDC>(wp), palette_);
        return true;
    }
    return false;
}

bool TreeSelection::onControlMessage(HWND control, UINT msg, WPARAM, LPARAM lp,
                                     LRESULT& result) noexcept {
    if (msg != WM_NOTIFY)
        return false;
    auto& draw = *reinterpret_cast<NMTVCUSTOMDRAW*>(lp);
    result = CDRF_DODEFAULT;
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        result = CDRF_NOTIFYITEMDRAW;
        break;
    case CDDS_ITEMPREPAINT:
        if (draw.nmcd.uItemState & CDIS_SELECTED) {
            const bool focused = GetFocus() == control;
            draw.clrText = focused ? palette_.selectionText : palette_.selectionInactiveText;
            draw.clrTextBk = focused ? palette_.selection : palette_.selectionInactive;
        }
        break;
    }
    return true;
}

int ListRows::rowHeight() const {
    return scaled(charHeight96_ + 3, dpi_);
}

bool ListRows::onControlMessage(HWND, UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) noexcept {
    switch (msg) {
    case WM_MEASUREITEM:
        reinterpret_cast<MEASUREITEMSTRUCT*>(lp)->itemHeight = static_cast<UINT>(rowHeight());
        result = TRUE;
        return true;
    case WM_DRAWITEM:
        drawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp));
        result = TRUE;
        return true;
    case WM_CTLCOLORLISTBOX:
        result = colourEdit(reinterpret_cast<HDC>(wp), palette_);
        return true;
    }
    return false;
}

void ListRows::drawRow(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        FillRect(dc, &rect, brushFor(palette_.field));
        return;
    }
    HWND list = item.hwndItem;
    const bool selected = item.itemState & ODS_SELECTED;
    const bool focused = GetFocus() == list;
    const COLORREF fill = !selected ? palette_.field
                          : focused ? palette_.selection
                                    : palette_.selectionInactive;
    const COLORREF textColour = !selected ? palette_.fieldText
                                : focused ? palette_.selectionText
                                          : palette_.selectionInactiveText;
    FillRect(dc, &rect, brushFor(fill));
    const auto length = SendMessageW(list, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max<LRESULT>(
        SendMessageW(list, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data())), 0)));
    SelectObjectScope selectFont(dc, font_);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    RECT textRect = rect;
    textRect.left += scaled(3, dpi_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &rect);
}

} // namespace morvane::dark
