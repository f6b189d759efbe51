#include "cad_targets/win32/target_dialog.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>

#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "shell/dialog_layout.h"
#include "ui/accessible.h"
#include "ui/dark_extras.h"
#include "ui/dark_theme.h"
#include "ui/dpi.h"
#include "ui/flat_button.h"
#include "ui/message_box.h"
#include "ui/topmost.h"

namespace morvane {
namespace {

constexpr wchar_t kDialogClass[] = L"MorvaneX.TargetCAD";

constexpr int kDialogFontHeight = 11, kListFontHeight = 13, kLabelFontHeight = 12,
              kEditFontHeight = 13;

constexpr DWORD kDialogStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kDialogExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

void place(HWND hwnd, const ControlRect& rect, HFONT font) {
    placeChild(hwnd, rect);
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
      colours_(highContrast) {
    registerClass(kDialogClass);
    createWindow(kDialogClass, L"ターゲット CAD", kDialogStyle, kDialogExStyle, 0, 0, 0, 0, owner);
}

TargetDialog::~TargetDialog() {
    if (hwnd())
        DestroyWindow(hwnd());
}

void TargetDialog::onInit() {
    HWND dialog = hwnd();
    dpi_ = dpiOfWindow(dialog);
    // Creation order is the tab order, which follows the layout: the list,
    // the group box's edits and buttons, then OK and 取り消し. Each label
    // comes right before its edit, where screen readers look for it, and
    // the group box before what it holds.
    targetList_ = createChild(dialog, L"LISTBOX", u"",
                              WS_TABSTOP | WS_VSCROLL | WS_CLIPSIBLINGS | LBS_HASSTRINGS |
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
    okButton_ = dark::createPushButton(dialog, kOkButtonId, u"OK", {}, WS_TABSTOP);
    cancelButton_ = dark::createPushButton(dialog, kCancelButtonId, u"取り消し", {}, WS_TABSTOP);
    for (HWND button : {okButton_, cancelButton_, addButton_, deleteButton_, changeButton_})
        ownControl(button, buttonPainter_);
    for (HWND label : {nameLabel_, progIdLabel_}) {
        ownControl(label, labels_);
        describeForAccessibility(label, u"", ROLE_SYSTEM_STATICTEXT);
    }
    for (HWND edit : {nameEdit_, progIdEdit_}) {
        dark::darkenEditBorder(edit, palette());
        addWindowHook(edit, editProc, this);
        ownControl(edit, labels_);
    }
    describeForAccessibility(nameEdit_, kNameEditName, ROLE_SYSTEM_TEXT);
    describeForAccessibility(progIdEdit_, kProgIdEditName, ROLE_SYSTEM_TEXT);
    ownControl(targetList_, listRows_);
    dark::darkenEditBorder(targetList_, palette());
    addWindowHook(targetList_, listProc, this);
    describeForAccessibility(targetList_, kTargetListName, ROLE_SYSTEM_LIST);
    dark::drawGroupBoxFrame(editsGroup_, palette());
    describeForAccessibility(editsGroup_, u"", ROLE_SYSTEM_GROUPING);
    setLastFocus(targetList_);
    applyColours();
    applyDpi(dpi_);
}

void TargetDialog::applyColours() {
    // Tier 2 and the dark bar only with the dark palette: in high contrast
    // the list and the edits show the system's own.
    dark::themeControls(darkExtras_, colours_.takeFor(hwnd()), palette(),
                        {{nameEdit_, L"DarkMode_CFD"},
                         {progIdEdit_, L"DarkMode_CFD"},
                         {targetList_, L"DarkMode_Explorer"}},
                        targetList_);
    RedrawWindow(hwnd(), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

void TargetDialog::applyDpi(UINT dpi) {
    dpi_ = dpi;
    const int d = static_cast<int>(dpi);
    dialogFont_ = dark::createFont(dark::kUiFace, kDialogFontHeight, d);
    listFont_ = dark::createFont(dark::kUiFace, kListFontHeight, d);
    labelFont_ = dark::createFont(dark::kUiFace, kLabelFontHeight, d);
    editFont_ = dark::createFont(dark::kUiFace, kEditFontHeight, d);
    const TargetDialogLayout layout = layOutTargetDialog(d, textWidth(nameLabel_, labelFont_.get()),
                                                         textWidth(progIdLabel_, labelFont_.get()));
    place(targetList_, layout.targetList, listFont_.get());
    listRows_.setFont(listFont_.get(), kListFontHeight, dpi);
    SendMessageW(targetList_, LB_SETITEMHEIGHT, 0, listRows_.rowHeight());
    place(nameLabel_, layout.nameLabel, labelFont_.get());
    place(nameEdit_, layout.nameEdit, editFont_.get());
    place(progIdLabel_, layout.progIdLabel, labelFont_.get());
    place(progIdEdit_, layout.progIdEdit, editFont_.get());
    place(editsGroup_, layout.editsGroup, dialogFont_.get());
    const HWND editButtons[3] = {addButton_, deleteButton_, changeButton_};
    for (int i = 0; i < 3; ++i)
        place(editButtons[i], layout.editButtons[static_cast<size_t>(i)], dialogFont_.get());
    place(okButton_, layout.okButton, dialogFont_.get());
    place(cancelButton_, layout.cancelButton, dialogFont_.get());
    clientSize_ = {layout.clientWidth, layout.clientHeight};
    InvalidateRect(hwnd(), nullptr, TRUE);
}

void TargetDialog::placeCentred() {
    // Moving onto a monitor of another DPI re-lays the dialog out
    // (WM_DPICHANGED); centre again at the DPI it ends up with.
    for (int attempt = 0; attempt < 2; ++attempt) {
        const UINT dpi = dpiOfWindow(hwnd());
        if (dpi != dpi_)
            applyDpi(dpi);
        RECT frame{0, 0, clientSize_.cx, clientSize_.cy};
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
    if (colours_.outOfDate())
        applyColours();
    const TopmostSwap swap(GetWindow(hwnd(), GW_OWNER), hwnd());
    openingProgId_ = progId;
    placeCentred();
    if (runModal(IDCANCEL) != IDOK)
        return std::nullopt;
    return TargetChoice{nameText(), progIdText()};
}

void TargetDialog::onOpen() {
    runGuarded(hwnd(), [&] { model_.load(openingProgId_); });
}

std::u16string TargetDialog::nameText() const {
    return windowText(nameEdit_);
}
std::u16string TargetDialog::progIdText() const {
    return windowText(progIdEdit_);
}
void TargetDialog::setNameText(std::u16string_view text) {
    setWindowText(nameEdit_, text);
}
void TargetDialog::setProgIdText(std::u16string_view text) {
    setWindowText(progIdEdit_, text);
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

void TargetDialog::userSelected(int index) {
    runGuarded(hwnd(), [&] { model_.userSelected(index); });
}
void TargetDialog::addTarget() {
    runGuarded(hwnd(), [&] { model_.addTarget(); });
}
void TargetDialog::deleteTarget() {
    runGuarded(hwnd(), [&] { model_.deleteTarget(); });
}
void TargetDialog::changeTarget() {
    runGuarded(hwnd(), [&] { model_.changeTarget(); });
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
    case WM_GETDLGCODE:
        // Enter must reach the edit as a character, not close anything.
        return wantKeys(callNextHook(hwnd, msg, wp, lp, hook), lp, {VK_RETURN});
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
            userSelected(listSelection());
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
            endModal(IDOK);
        return;
    case kCancelButtonId:
        if (code == BN_CLICKED)
            endModal(IDCANCEL);
        return;
    }
    // IDCANCEL, from Escape, closes nothing here.
}

void TargetDialog::onDpiChanged(UINT dpi, const RECT& suggested) {
    applyDpi(dpi);
    moveTo(suggested);
}

LRESULT TargetDialog::onOtherMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    if (dark::WindowPalette::changesColours(msg, wp))
        applyColours();
    switch (msg) {
    case WM_ERASEBKGND:
        dark::eraseBackground(hwnd(), reinterpret_cast<HDC>(wp), palette());
        return 1;
    case WM_DESTROY:
        dark::publishPalette(hwnd(), nullptr);
        break;
    }
    return defaultProc(msg, wp, lp);
}

} // namespace morvane
