#include "target/win32/TaregetCADUnit.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>

#include "app/dark_scroll_bar.h"
#include "app/dark_theme.h"
#include "app/dpi.h"
#include "app/message_box.h"
#include "platform/services.h"
#include "platform/win32/win32_text.h"

namespace morvane {

std::u16string dialogProgID;
TTargetCADForm* TargetCADForm = nullptr;

namespace {

constexpr wchar_t kFormClass[] = L"MorvaneX.TargetCAD";

// The designed layout, in 96-DPI pixels.
constexpr SIZE kClientSize{315, 307};
constexpr RECT kListBox1{8, 8, 8 + 297, 8 + 137};
constexpr POINT kGroupBox1{8, 151};
constexpr SIZE kGroupBox1Size{297, 105};
struct Placement {
    int left, top, width, height;
};
// Children of the group box, relative to its top-left corner.
constexpr Placement kLabel1{16, 3, 64, 14};
constexpr Placement kEdit1{16, 23, 198, 24};
constexpr Placement kLabel2{16, 53, 114, 14};
constexpr Placement kEdit2{16, 73, 198, 24};
constexpr Placement kSpeedButtons[3] = {{220, 21, 71, 22}, {220, 49, 71, 22}, {220, 77, 71, 22}};
constexpr Placement kButton1{80, 271, 75, 25};
constexpr Placement kButton2{161, 271, 88, 25};
constexpr int kFormFontHeight = 11, kListFontHeight = 13, kLabelFontHeight = 12,
              kEditFontHeight = 13;

constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

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

TTargetCADForm::TTargetCADForm(HWND owner, std::u16string listPath,
                               const PlatformServices& services)
    : model_(std::move(listPath), services, *this) {
    registerClass(kFormClass);
    createWindow(kFormClass, L"ターゲット CAD", kFormStyle, kFormExStyle, 0, 0, 0, 0, owner);
    dark::useDarkTitleBar(hwnd());
    dpi_ = dpiOfWindow(hwnd());
    createControls();
    applyDpi(dpi_);
    TargetCADForm = this;
}

TTargetCADForm::~TTargetCADForm() {
    if (TargetCADForm == this)
        TargetCADForm = nullptr;
    if (hwnd())
        DestroyWindow(hwnd());
}

void TTargetCADForm::createControls() {
    HWND form = hwnd();
    // Creation order is the tab order: the list, OK, 取り消し, then the
    // group box's two edits. The flat buttons take no tab stop.
    listBox1_ = createChild(form, L"LISTBOX", u"",
                            WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_SORT | LBS_HASSTRINGS |
                                LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            WS_EX_CLIENTEDGE, kListBox1Id);
    button1_ = createChild(form, L"BUTTON", u"OK", WS_TABSTOP | BS_OWNERDRAW, 0, kButton1Id);
    button2_ = createChild(form, L"BUTTON", u"取り消し", WS_TABSTOP | BS_OWNERDRAW, 0, kButton2Id);
    label1_ = createChild(form, L"STATIC", u"名称 （説明）", SS_LEFT | SS_NOPREFIX, 0, kLabel1Id);
    edit1_ =
        createChild(form, L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEdit1Id);
    label2_ = createChild(form, L"STATIC", u"ProgID （クラス文字列）", SS_LEFT | SS_NOPREFIX, 0,
                          kLabel2Id);
    edit2_ =
        createChild(form, L"EDIT", u"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, kEdit2Id);
    speedButton1_ = createFlatButton(form, kSpeedButton1Id, u"追加");
    speedButton2_ = createFlatButton(form, kSpeedButton2Id, u"削除");
    speedButton3_ = createFlatButton(form, kSpeedButton3Id, u"変更");
    for (HWND button : {button1_, button2_})
        dark::trackButtonHover(button);
    for (HWND edit : {edit1_, edit2_}) {
        dark::darkenEditBorder(edit);
        addWindowHook(edit, editProc, this);
    }
    dark::darkenEditBorder(listBox1_);
    dark::useDarkScrollBar(listBox1_);
    lastFocus_ = listBox1_;
}

void TTargetCADForm::applyDpi(UINT dpi) {
    dpi_ = dpi;
    const int d = static_cast<int>(dpi);
    formFont_ = dark::createFont(dark::kUiFace, kFormFontHeight, d);
    listFont_ = dark::createFont(dark::kUiFace, kListFontHeight, d);
    labelFont_ = dark::createFont(dark::kUiFace, kLabelFontHeight, d);
    editFont_ = dark::createFont(dark::kUiFace, kEditFontHeight, d);
    const POINT form{0, 0};
    place(listBox1_,
          {kListBox1.left, kListBox1.top, kListBox1.right - kListBox1.left,
           kListBox1.bottom - kListBox1.top},
          form, dpi, listFont_.get());
    SendMessageW(listBox1_, LB_SETITEMHEIGHT, 0, listItemHeight(dpi));
    place(label1_, kLabel1, kGroupBox1, dpi, labelFont_.get(),
          textWidth(label1_, labelFont_.get()));
    place(edit1_, kEdit1, kGroupBox1, dpi, editFont_.get());
    place(label2_, kLabel2, kGroupBox1, dpi, labelFont_.get(),
          textWidth(label2_, labelFont_.get()));
    place(edit2_, kEdit2, kGroupBox1, dpi, editFont_.get());
    const HWND speedButtons[3] = {speedButton1_, speedButton2_, speedButton3_};
    for (int i = 0; i < 3; ++i)
        place(speedButtons[i], kSpeedButtons[i], kGroupBox1, dpi, formFont_.get());
    place(button1_, kButton1, form, dpi, formFont_.get());
    place(button2_, kButton2, form, dpi, formFont_.get());
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TTargetCADForm::placeCentred() {
    // Moving onto a monitor of another DPI re-lays the dialog out
    // (WM_DPICHANGED); centre again at the DPI it ends up with.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const UINT dpi = dpiOfWindow(hwnd());
        if (dpi != dpi_)
            applyDpi(dpi);
        RECT frame{0, 0, scaled(kClientSize.cx, dpi), scaled(kClientSize.cy, dpi)};
        AdjustWindowRectExForDpi(&frame, kFormStyle, FALSE, kFormExStyle, dpi);
        const int width = frame.right - frame.left, height = frame.bottom - frame.top;
        SetWindowPos(hwnd(), nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (dpiOfWindow(hwnd()) == dpi)
            return;
    }
}

int TTargetCADForm::ShowModal() {
    HWND owner = GetWindow(hwnd(), GW_OWNER);
    modalResult_ = 0;
    placeCentred();
    FormShow();
    if (owner)
        EnableWindow(owner, FALSE);
    ShowWindow(hwnd(), SW_SHOW);
    SetForegroundWindow(hwnd());
    SetFocus(lastFocus_);
    MSG msg;
    while (modalResult_ == 0) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0)
                PostQuitMessage(static_cast<int>(msg.wParam));
            modalResult_ = kTargetCancel;
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
    return modalResult_;
}

std::u16string TTargetCADForm::edit1Text() const {
    return windowText(edit1_);
}
std::u16string TTargetCADForm::edit2Text() const {
    return windowText(edit2_);
}
void TTargetCADForm::setEdit1Text(std::u16string_view text) {
    SetWindowTextW(edit1_, toWide(text).c_str());
}
void TTargetCADForm::setEdit2Text(std::u16string_view text) {
    SetWindowTextW(edit2_, toWide(text).c_str());
}
void TTargetCADForm::listCleared() {
    SendMessageW(listBox1_, LB_RESETCONTENT, 0, 0);
}
void TTargetCADForm::lineInserted(int index, std::u16string_view line) {
    // The model keeps the sorted order; the list box shows it as it is.
    SendMessageW(listBox1_, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(toWide(line).c_str()));
}
void TTargetCADForm::lineRemoved(int index) {
    SendMessageW(listBox1_, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}
void TTargetCADForm::selectionSet(int index) {
    SendMessageW(listBox1_, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int TTargetCADForm::listBoxSelection() const {
    return static_cast<int>(SendMessageW(listBox1_, LB_GETCURSEL, 0, 0));
}

// Every handler goes by the list box's selection as it is now, and shows an
// error in the error box; the dialog stays usable.
template <class Handler> void TTargetCADForm::runHandler(Handler&& handler) {
    runGuarded(hwnd(), [&] {
        model_.syncSelection(listBoxSelection());
        handler();
    });
}

void TTargetCADForm::FormShow() {
    runHandler([&] { model_.FormShow(dialogProgID); });
}
void TTargetCADForm::ListBox1Click() {
    runHandler([&] { model_.ListBox1Click(); });
}
void TTargetCADForm::SpeedButton1Click() {
    runHandler([&] { model_.SpeedButton1Click(); });
}
void TTargetCADForm::SpeedButton2Click() {
    runHandler([&] { model_.SpeedButton2Click(); });
}
void TTargetCADForm::SpeedButton3Click() {
    runHandler([&] { model_.SpeedButton3Click(); });
}

void TTargetCADForm::Edit1KeyPress(HWND, wchar_t& key) {
    if (key != L'\r')
        return;
    key = 0;
    SpeedButton3Click();
}

LRESULT TTargetCADForm::editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp,
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
        static_cast<TTargetCADForm*>(hook.data)->Edit1KeyPress(hwnd, key);
        // A swallowed key goes no further: the edit would beep at Enter.
        if (key == 0)
            return 0;
        return callNextHook(hwnd, msg, key, lp, hook);
    }
    }
    return callNextHook(hwnd, msg, wp, lp, hook);
}

void TTargetCADForm::onCommand(int id, int code) {
    switch (id) {
    case kListBox1Id:
        if (code == LBN_SELCHANGE)
            ListBox1Click();
        if (code == LBN_SETFOCUS || code == LBN_KILLFOCUS)
            InvalidateRect(listBox1_, nullptr, FALSE);
        return;
    case kEdit1Id:
    case kEdit2Id:
        if (code == EN_SETFOCUS)
            switchInputMethodOff(GetDlgItem(hwnd(), id));
        return;
    case kSpeedButton1Id:
        if (code == BN_CLICKED)
            SpeedButton1Click();
        return;
    case kSpeedButton2Id:
        if (code == BN_CLICKED)
            SpeedButton2Click();
        return;
    case kSpeedButton3Id:
        if (code == BN_CLICKED)
            SpeedButton3Click();
        return;
    case kButton1Id:
        if (code == BN_CLICKED)
            modalResult_ = kTargetOk;
        return;
    case kButton2Id:
        if (code == BN_CLICKED)
            modalResult_ = kTargetCancel;
        return;
    }
    // IDOK and IDCANCEL, from Enter and Escape, close nothing here.
}

void TTargetCADForm::drawListItem(const DRAWITEMSTRUCT& item) const {
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemID == static_cast<UINT>(-1)) {
        FillRect(dc, &rect, dark::controlBrush());
        return;
    }
    const bool selected = item.itemState & ODS_SELECTED;
    const bool focused = GetFocus() == listBox1_;
    const COLORREF fill =
        selected ? (focused ? dark::kSelection : dark::kSelectionInactive) : dark::kControl;
    FillRect(dc, &rect, dark::brushFor(fill));
    const auto length = SendMessageW(listBox1_, LB_GETTEXTLEN, item.itemID, 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max<LRESULT>(
        SendMessageW(listBox1_, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data())),
        0)));
    SelectObjectScope selectFont(dc, listFont_.get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, dark::kText);
    RECT textRect = rect;
    textRect.left += scaled(3, dpi_);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | DT_NOPREFIX);
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT))
        DrawFocusRect(dc, &rect);
}

void TTargetCADForm::paintGroupBox() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd(), &ps);
    const RECT frame{scaled(kGroupBox1.x, dpi_), scaled(kGroupBox1.y, dpi_),
                     scaled(kGroupBox1.x + kGroupBox1Size.cx, dpi_),
                     scaled(kGroupBox1.y + kGroupBox1Size.cy, dpi_)};
    FrameRect(dc, &frame, dark::brushFor(dark::kEdge));
    EndPaint(hwnd(), &ps);
}

LRESULT TTargetCADForm::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    switch (msg) {
    case WM_COMMAND:
        onCommand(LOWORD(wp), HIWORD(wp));
        return 0;
    case WM_CLOSE:
        // The close box means 取り消し; the dialog itself lives on.
        modalResult_ = kTargetCancel;
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
        dark::eraseBackground(hwnd(), reinterpret_cast<HDC>(wp));
        return 1;
    case WM_PAINT:
        paintGroupBox();
        return 0;
    case WM_CTLCOLORSTATIC:
        return dark::colourStatic(reinterpret_cast<HDC>(wp));
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
        return dark::colourEdit(reinterpret_cast<HDC>(wp));
    case WM_MEASUREITEM: {
        auto& item = *reinterpret_cast<MEASUREITEMSTRUCT*>(lp);
        if (item.CtlID != kListBox1Id)
            break;
        item.itemHeight = static_cast<UINT>(listItemHeight(dpi_));
        return TRUE;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
        if (item.CtlID == kListBox1Id)
            drawListItem(item);
        else
            dark::drawButton(item, dark::ButtonLook::Normal);
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
