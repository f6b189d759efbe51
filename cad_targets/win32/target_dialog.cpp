#include "cad_targets/win32/target_dialog.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>

#include "platform/services.h"
#include "platform/win32/win32_text.h"
#include "ui/accessible.h"
#include "ui/dark_scroll_bar.h"
#include "ui/dark_theme.h"
#include "ui/dpi.h"
#include "ui/flat_button.h"
#include "ui/message_box.h"
#include "ui/topmost.h"

namespace morvane {
namespace {

constexpr wchar_t kDialogClass[] = L"MorvaneX.TargetCAD";

// The designed layout, in 96-DPI pixels.
constexpr SIZE kClientSize{315, 307};
constexpr RECT kTargetListRect{8, 8, 8 + 297, 8 + 137};
constexpr POINT kEditsGroupOrigin{8, 151};
constexpr SIZE kEditsGroupSize{297, 105};
struct Placement {
    int left, top, width, height;
};
// Children of the group box, relative to its top-left corner.
constexpr Placement kNameLabelPlace{16, 3, 64, 14};
constexpr Placement kNameEditPlace{16, 23, 198, 24};
constexpr Placement kProgIdLabelPlace{16, 53, 114, 14};
constexpr Placement kProgIdEditPlace{16, 73, 198, 24};
constexpr Placement kEditButtonPlaces[3] = {
    {220, 21, 71, 22}, {220, 49, 71, 22}, {220, 77, 71, 22}};
constexpr Placement kOkButtonPlace{80, 271, 75, 25};
constexpr Placement kCancelButtonPlace{161, 271, 88, 25};
constexpr int kDialogFontHeight = 11, kListFontHeight = 13, kLabelFontHeight = 12,
              kEditFontHeight = 13;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

HWND createChild(HWND parent, const wchar_t* cls, std::u16string_view text, DWORD style,
                 DWORD exStyle, int id) {
    return CreateWindowExW(exStyle, cls, toWide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           GetModuleHandleW(nullptr), nullptr);
}

std::u16string windowText(HWND hwnd) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return fromWide(text);
}

void place(HWND hwnd, const Placement& p, POINT origin, UINT dpi, HFONT font, int width = 0) {
    SetWindowPos(hwnd, nullptr, scaled(origin.x + p.left, dpi), scaled(origin.y + p.top, dpi),
                 std::max(width, scaled(p.width, dpi)), scaled(p.height, dpi),
                 SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Labels size themselves to their text, so a wider fallback font for the
// Japanese characters never cuts them.
int textWidth(HWND hwnd, HFONT font) {
    WindowDC screen(nullptr);
    SelectObjectScope select(screen.get(), font);
    const std::u16string text = windowText(hwnd);
    RECT rect{};
    DrawTextW(screen.get(), wptr(text), static_cast<int>(text.size()), &rect,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return rect.right;
}

int listItemHeight(UINT dpi) {
    return scaled(kListFontHeight + 3, dpi);
}

// Typing starts as direct input each time an edit gets the focus.
void switchInputMethodOff(HWND edit) {
    HIMC context = ImmGetContext(edit);
    if (!context)
        return;
    ImmSetOpenStatus(context, FALSE);
    ImmReleaseContext(edit, context);
}

} // namespace

TargetDialog::TargetDialog(HWND owner, std::u16string listPath, const PlatformServices& services,
                           const dark::Extras& darkExtras, const HighContrastQuestion& highContrast)
    : model_(std::move(listPath), services, *this), darkExtras_(darkExtras),
      highContrast_(highContrast) {
    registerClass(kDialogClass);
    createWindow(kDialogClass, L"ターゲット CAD", kDialogStyle, kDialogExStyle, 0, 0, 0, 0, owner);
    dpi_ = dpiOfWindow(hwnd());
    palette_ = dark::Palette::forHighContrast(highContrast_.isOn());
    createControls();
    applyColours();
    applyDpi(dpi_);
}

TargetDialog::~TargetDialog() {
    if (hwnd())
        DestroyWindow(hwnd());
}

void TargetDialog::applyColours() {
    const bool highContrast = highContrast_.isOn();
    const bool switched = !coloursApplied_ || highContrast != palette_.highContrast;
    coloursApplied_ = true;
    palette_ = dark::Palette::forHighContrast(highContrast);
    dark::publishPalette(hwnd(), &palette_);
    dark::useTitleBar(hwnd(), palette_);
    // The dark bar only with the dark palette: in high contrast the list
    // shows the system's own.
    if (switched && highContrast)
        dark::removeDarkScrollBar(targetList_);
    else if (switched)
        dark::useDarkScrollBar(targetList_, darkExtras_);
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TargetDialog::createControls() {
    HWND dialog = hwnd();
    // Creation order is the tab order, which follows the layout: the list,
    // the group box's edits and buttons, then OK and 取り消し. Each label
    // comes right before its edit, where screen readers look for it, and
    // the group box before what it holds.
    targetList_ =
        createChild(dialog, L"LISTBOX", u"",
                    WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_SORT | LBS_HASSTRINGS |
                        LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                    WS_EX_CLIENTEDGE, kTargetListId);
    editsGroup_ = createChild(dialog, L"BUTTON", kEditsGroupTitle, BS_GROUPBOX, 0, kEditsGroupId);
    nameLabel_ =
        createChild(dialog, L"STATIC", u"名称 （説明）", SS_LEFT | SS_NOPREFIX, 0, kNameLabelId);
    nameEdit_ = createChild(dialog, L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                            kNameEditId);
    progIdLabel_ = createChild(dialog, L"STATIC", u"ProgID （クラス文字列）", SS_LEFT | SS_NOPREFIX,
                               0, kProgIdLabelId);
    progIdEdit_ = createChild(dialog, L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE,
                              kProgIdEditId);
    // Flat: a click leaves the focus where it was (in an edit, typically);
    // Tab reaches them all the same.
    addButton_ = createFlatButton(dialog, kAddButtonId, u"追加", {}, WS_TABSTOP);
    deleteButton_ = createFlatButton(dialog, kDeleteButtonId, u"削除", {}, WS_TABSTOP);
    changeButton_ = createFlatButton(dialog, kChangeButtonId, u"変更", {}, WS_TABSTOP);
    okButton_ = createChild(dialog, L"BUTTON", u"OK", WS_TABSTOP | BS_OWNERDRAW, 0, kOkButtonId);
    cancelButton_ =
        createChild(dialog, L"BUTTON", u"取り消し", WS_TABSTOP | BS_OWNERDRAW, 0, kCancelButtonId);
    for (HWND button : {okButton_, cancelButton_}) {
        dark::trackButtonHover(button);
        describeForAccessibility(button, u"", ROLE_SYSTEM_PUSHBUTTON);
    }
    for (HWND edit : {nameEdit_, progIdEdit_}) {
        dark::darkenEditBorder(edit, palette_);
        addWindowHook(edit, editProc, this);
    }
    dark::darkenEditBorder(targetList_, palette_);
    dark::drawGroupBoxFrame(editsGroup_, palette_);
    addWindowHook(targetList_, listProc, this);
    describeForAccessibility(targetList_, kTargetListName, ROLE_SYSTEM_LIST);
    describeForAccessibility(editsGroup_, u"", ROLE_SYSTEM_GROUPING);
    for (HWND label : {nameLabel_, progIdLabel_})
        describeForAccessibility(label, u"", ROLE_SYSTEM_STATICTEXT);
    describeForAccessibility(nameEdit_, kNameEditName, ROLE_SYSTEM_TEXT);
    describeForAccessibility(progIdEdit_, kProgIdEditName, ROLE_SYSTEM_TEXT);
    lastFocus_ = targetList_;
}

void TargetDialog::applyDpi(UINT dpi) {
    dpi_ = dpi;
    const int d = static_cast<int>(dpi);
    dialogFont_ = dark::createFont(dark::kUiFace, kDialogFontHeight, d);
    listFont_ = dark::createFont(dark::kUiFace, kListFontHeight, d);
    labelFont_ = dark::createFont(dark::kUiFace, kLabelFontHeight, d);
    editFont_ = dark::createFont(dark::kUiFace, kEditFontHeight, d);
    const POINT client{0, 0};
    place(targetList_,
          {kTargetListRect.left, kTargetListRect.top, kTargetListRect.right - kTargetListRect.left,
           kTargetListRect.bottom - kTargetListRect.top},
          client, dpi, listFont_.get());
    SendMessageW(targetList_, LB_SETITEMHEIGHT, 0, listItemHeight(dpi));
    place(nameLabel_, kNameLabelPlace, kEditsGroupOrigin, dpi, labelFont_.get(),
          textWidth(nameLabel_, labelFont_.get()));
    place(nameEdit_, kNameEditPlace, kEditsGroupOrigin, dpi, editFont_.get());
    place(progIdLabel_, kProgIdLabelPlace, kEditsGroupOrigin, dpi, labelFont_.get(),
          textWidth(progIdLabel_, labelFont_.get()));
    place(progIdEdit_, kProgIdEditPlace, kEditsGroupOrigin, dpi, editFont_.get());
    place(editsGroup_, {0, 0, kEditsGroupSize.cx, kEditsGroupSize.cy}, kEditsGroupOrigin, dpi,
          dialogFont_.get());
    const HWND editButtons[3] = {addButton_, deleteButton_, changeButton_};
    for (int i = 0; i < 3; ++i)
        place(editButtons[i], kEditButtonPlaces[i], kEditsGroupOrigin, dpi, dialogFont_.get());
    place(okButton_, kOkButtonPlace, client, dpi, dialogFont_.get());
    place(cancelButton_, kCancelButtonPlace, client, dpi, dialogFont_.get());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TargetDialog::placeCentred() {
    // Moving onto a monitor of another DPI re-lays the dialog out
    // (WM_DPICHANGED); centre again at the DPI it ends up with.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const UINT dpi = dpiOfWindow(hwnd());
        if (dpi != dpi_)
            applyDpi(dpi);
        RECT frame{0, 0, scaled(kClientSize.cx, dpi), scaled(kClientSize.cy, dpi)};
        AdjustWindowRectExForDpi(&frame, kDialogStyle, FALSE, kDialogExStyle, dpi);
        const int width = frame.right - frame.left, height = frame.bottom - frame.top;
        SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (dpiOfWindow(hwnd()) == dpi)
            return;
    }
}

namespace {

// Puts the dialog back under and the owner on top again on every way out.
class TopmostSwap {
  public:
    TopmostSwap(HWND owner, HWND dialog) : owner_(owner), dialog_(dialog) {
        if (owner_)
            setTopmost(owner_, false);
        setTopmost(dialog_, true);
    }
    ~TopmostSwap() {
        setTopmost(dialog_, false);
        if (owner_)
            setTopmost(owner_, true);
    }
    TopmostSwap(const TopmostSwap&) = delete;
    TopmostSwap& operator=(const TopmostSwap&) = delete;

  private:
    HWND owner_, dialog_;
};

} // namespace

std::optional<TargetChoice> TargetDialog::choose(std::u16string_view progId) {
    if (!hwnd())
        return std::nullopt;
    // A hidden dialog may have missed a change of high contrast.
    if (highContrast_.isOn() != palette_.highContrast)
        applyColours();
    const TopmostSwap swap(GetWindow(hwnd(), GW_OWNER), hwnd());
    if (runModal(progId) != Result::Ok)
        return std::nullopt;
    return TargetChoice{nameText(), progIdText()};
}

TargetDialog::Result TargetDialog::runModal(std::u16string_view progId) {
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    result_ = Result::Open;
    placeCentred();
    // Disabled before the list is read, so that every box the dialog shows
    // is modal over the main window too.
    if (owner)
        EnableWindow(owner, FALSE);
    loadList(progId);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(lastFocus_);
    // Focus frames as the input that opened it asks: hidden after the
    // mouse until a key is used (the dialog manager's Tab shows them).
    SendMessageW(hwnd(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    MSG msg;
    while (result_ == Result::Open) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            result_ = Result::Cancel;
            break;
        }
        if (!IsDialogMessageW(hwnd(), &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    // The owner is enabled first so that it, not some other program, is
    // activated when the dialog disappears.
    if (owner)
        EnableWindow(owner, TRUE);
    ShowWindow(hwnd(), SW_HIDE);
    return result_;
}

std::u16string TargetDialog::nameText() const {
    return windowText(nameEdit_);
}
std::u16string TargetDialog::progIdText() const {
    return windowText(progIdEdit_);
}
void TargetDialog::setNameText(std::u16string_view text) {
    SetWindowTextW(nameEdit_, toWide(text).c_str());
}
void TargetDialog::setProgIdText(std::u16string_view text) {
    SetWindowTextW(progIdEdit_, toWide(text).c_str());
}
void TargetDialog::listCleared() {
    SendMessageW(targetList_, LB_RESETCONTENT, 0, 0);
}
void TargetDialog::lineInserted(int index, std::u16string_view line) {
    // The model keeps the sorted order; the list box shows it as it is.
    SendMessageW(targetList_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(toWide(line).c_str()));
}
void TargetDialog::lineRemoved(int index) {
    SendMessageW(targetList_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}
void TargetDialog::selectionSet(int index) {
    SendMessageW(targetList_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TargetDialog::listSelection() const {
    return static_cast<int>(SendMessageW(targetList_, LB_GETCURSEL, 0, 0));
}

// Every handler goes by the list box's selection as it is now, and shows an
// error in the error box; the dialog stays usable.
template <class Handler> void TargetDialog::runHandler(Handler&& handler) {
    runGuarded(hwnd(), [&] {
        model_.syncSelection(listSelection());
        handler();
    });
}

void TargetDialog::loadList(std::u16string_view progId) {
    runHandler([&] { model_.load(progId); });
}
void TargetDialog::showSelectedTarget() {
    runHandler([&] { model_.showSelectedTarget(); });
}
void TargetDialog::addTarget() {
    runHandler([&] { model_.addTarget(); });
}
void TargetDialog::deleteTarget() {
    runHandler([&] { model_.deleteTarget(); });
}
void TargetDialog::changeTarget() {
    runHandler([&] { model_.changeTarget(); });
}

// Shared by both edits: Enter is swallowed (key becomes 0) and runs 変更.
void TargetDialog::onEditKey(wchar_t& key) {
    if (key != L'\r')
        return;
    key = 0;
    changeTarget();
}

LRESULT TargetDialog::editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                               WindowHook& hook) noexcept {
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter must reach the edit as a character, not close anything.
        const auto* keyMsg = reinterpret_cast<const MSG*>(lp);
        const LRESULT code = callNextHook(hwnd, msg, wp, lp, hook);
        if (keyMsg && keyMsg->message == WM_KEYDOWN && keyMsg->wParam == VK_RETURN)
            return code | DLGC_WANTALLKEYS;
        return code;
    }
    case WM_CHAR: {
        auto key = static_cast<wchar_t>(wp);
        static_cast<TargetDialog*>(hook.data)->onEditKey(key);
        // A swallowed key goes no further: the edit would beep at Enter.
        if (key == 0)
            return 0;
        return callNextHook(hwnd, msg, key, lp, hook);
    }
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

// Delete in the list means 削除.
LRESULT TargetDialog::listProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
                               WindowHook& hook) noexcept {
    if (msg == WM_KEYDOWN && wp == VK_DELETE) {
        static_cast<TargetDialog*>(hook.data)->deleteTarget();
        return 0;
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

void TargetDialog::onCommand(int id, int code) {
    switch (id) {
    case IDOK:
        // Enter, outside the edits (which take it as 変更): presses the
        // focused button, as Space does. On the list it does nothing.
        if (HWND focus = GetFocus(); focus && IsChild(hwnd(), focus) &&
                                     (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON))
            onCommand(GetDlgCtrlID(focus), BN_CLICKED);
        return;
    case kTargetListId:
        if (code == LBN_SELCHANGE)
            showSelectedTarget();
        if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS)
            InvalidateRect(targetList_, nullptr, FALSE);
        return;
    case kNameEditId:
    case kProgIdEditId:
        if (code == EN_SETFOCUS)
            switchInputMethodOff(GetDlgItem(hwnd(), id));
        return;
    case kAddButtonId:
        if (code == BN_CLICKED)
            addTarget();
        return;
    case kDeleteButtonId:
        if (code == BN_CLICKED)
            deleteTarget();
        return;
    case kChangeButtonId:
        if (code == BN_CLICKED)
            changeTarget();
        return;
    case kOkButtonId:
        if (code == BN_CLICKED)
            result_ = Result::Ok;
        return;
    case kCancelButtonId:
        if (code == BN_CLICKED)
            result_ = Result::Cancel;
        return;
    }
    // IDCANCEL, from Escape, closes nothing here.
}

void TargetDialog::drawListItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        FillRect(dc, &rect, dark::brushFor(palette_.field));
        return;
    }
    const bool selected = item.itemState & ODS_SELECTED;
    const bool focused = GetFocus() == targetList_;
    const COLORREF fill = !selected ? palette_.field
                          : focused ? palette_.selection
                                    : palette_.selectionInactive;
    const COLORREF textColour = !selected ? palette_.fieldText
                                : focused ? palette_.selectionText
                                          : palette_.selectionInactiveText;
    FillRect(dc, &rect, dark::brushFor(fill));
    const auto length = SendMessageW(targetList_, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max<LRESULT>(
        SendMessageW(targetList_, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data())),
        0)));
    SelectObjectScope selectFont(dc, listFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColour);
    RECT textRect = rect;
    textRect.left += scaled(3, dpi_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &rect);
}

LRESULT TargetDialog::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_COMMAND:
        onCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_CLOSE:
        // The close box means 取り消し; the dialog itself lives on.
        result_ = Result::Cancel;
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd(), focus))
                lastFocus_ = focus;
        } else if (IsWindowVisible(hwnd())) {
            SetFocus(lastFocus_);
        }
        return 0;
    case WM_ERASEBKGND:
        dark::eraseBackground(hwnd(), reinterpret_cast<HDC>(wp), palette_);
        return 1;
    case WM_CTLCOLORSTATIC:
        return dark::colourStatic(reinterpret_cast<HDC>(wp), palette_);
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return dark::colourEdit(reinterpret_cast<HDC>(wp), palette_);
    case WM_SETTINGCHANGE:
        if (wp == SPI_SETHIGHCONTRAST)
            applyColours();
        return defaultProc(msg, wp, lp);
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        applyColours();
        return defaultProc(msg, wp, lp);
    case WM_DESTROY:
        dark::publishPalette(hwnd(), nullptr);
        return defaultProc(msg, wp, lp);
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (item.CtlID != kTargetListId)
            break;
        item.itemHeight = static_cast<UINT>(listItemHeight(dpi_));
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item.CtlID == kTargetListId)
            drawListItem(item);
        else
            dark::drawButton(item, dark::ButtonLook::Normal, palette_);
        return TRUE;
    }
    case WM_DPICHANGED: {
        applyDpi(HIWORD(wp));
        const auto* suggested = reinterpret_cast<const RECT*>(lp);
        SetWindowPos(hwnd(), nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    }
    return defaultProc(msg, wp, lp);
}

} // namespace morvane
