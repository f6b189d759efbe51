#include "ui/message_box.h"

#include <commctrl.h>

#include <algorithm>
#include <array>
#include <exception>
#include <string>
#include <vector>

#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "shell/application_title.h"
#include "shell/dialog_layout.h"
#include "text/user_error.h"
#include "text/utf.h"
#include "ui/accessible.h"
#include "ui/dark_controls.h"
#include "ui/dark_theme.h"
#include "ui/dpi.h"
#include "ui/window_base.h"

namespace morvane {
namespace {

constexpr int kIconId = 100;
constexpr int kTextId = 101;

struct BoxButton {
    int id;
    const wchar_t* caption;
    MessageResult result;
};

constexpr BoxButton kOk{IDOK, L"OK", MessageResult::Ok};
constexpr BoxButton kCancel{IDCANCEL, L"キャンセル", MessageResult::Cancel};
constexpr BoxButton kYes{IDYES, L"はい(&Y)", MessageResult::Yes};
constexpr BoxButton kNo{IDNO, L"いいえ(&N)", MessageResult::No};

std::vector<BoxButton> buttonsFor(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::OkCancel:
        return {kOk, kCancel};
    case MessageButtons::YesNo:
        return {kYes, kNo};
    case MessageButtons::Ok:
        break;
    }
    return {kOk};
}

const wchar_t* captionFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return L"警告";
    case MessageKind::Error:
        return L"エラー";
    case MessageKind::Confirmation:
        return L"確認";
    case MessageKind::Information:
        break;
    }
    return L"情報";
}

const wchar_t* iconFor(MessageKind kind) {
    switch (kind) {
    case MessageKind::Warning:
        return IDI_WARNING;
    case MessageKind::Error:
        return IDI_ERROR;
    case MessageKind::Confirmation:
        return IDI_QUESTION;
    case MessageKind::Information:
        break;
    }
    return IDI_INFORMATION;
}

// The standard icon drawn for this size. MinGW's import library lacks
// LoadIconWithScaleDown, so it is looked up in the loaded common controls.
UniqueIcon loadSystemIcon(const wchar_t* name, int size) {
    using LoadIconFunction = HRESULT(WINAPI*)(HINSTANCE, PCWSTR, int, int, HICON*);
    HMODULE controls = GetModuleHandleW(L"comctl32.dll");
    auto load = controls ? reinterpret_cast<LoadIconFunction>(reinterpret_cast<void*>(
                               GetProcAddress(controls, "LoadIconWithScaleDown")))
                         : nullptr;
    HICON icon = nullptr;
    if (load && SUCCEEDED(load(nullptr, name, size, size, &icon)))
        return UniqueIcon(icon);
    return UniqueIcon(CopyIcon(LoadIconW(nullptr, name)));
}

// Made for one showing: a dialog of the dialog manager, so Enter presses the
// default button and Escape closes.
class MessageDialog final : public DialogBase {
  public:
    // The owner's colours: dark, or the system's in high contrast, asked as
    // the owner asks, so that a switch while the box is open reaches it too.
    MessageDialog(HWND owner, std::wstring text, std::wstring caption, const wchar_t* icon,
                  std::vector<BoxButton> buttons, int defaultId)
        : owner_(owner), text_(std::move(text)), caption_(std::move(caption)), iconName_(icon),
          buttons_(std::move(buttons)), defaultId_(defaultId),
          colours_(dark::highContrastQuestionOf(owner)) {}

    MessageResult run() {
        // Above a topmost owner, or it could open behind it.
        const bool topmost = owner_ && (GetWindowLongPtrW(owner_, GWL_EXSTYLE) & WS_EX_TOPMOST);
        const int id = runTemplate(
            owner_, WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND,
            topmost ? WS_EX_TOPMOST : 0);
        return resultFor(id);
    }

  private:
    LRESULT onOtherMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
        if (msg == WM_CTLCOLORDLG)
            return dark::colourDialog(reinterpret_cast<HDC>(wp), colours_.palette());
        if (dark::WindowPalette::changesColours(msg, wp)) {
            colours_.takeFor(hwnd());
            RedrawWindow(hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
        }
        if (msg == WM_DESTROY)
            dark::publishPalette(hwnd(), nullptr);
        return defaultProc(msg, wp, lp);
    }

    void onCommand(int id, int code) override {
        if (code == BN_SETFOCUS) {
            // Enter presses the button that has the focus.
            SendMessageW(hwnd(), DM_SETDEFID, static_cast<WPARAM>(id), 0);
            for (const auto& button : buttons_)
                InvalidateRect(GetDlgItem(hwnd(), button.id), nullptr, FALSE);
            return;
        }
        if (code != BN_CLICKED)
            return;
        const bool known = id == IDCANCEL || std::any_of(buttons_.begin(), buttons_.end(),
                                                         [&](auto& b) { return b.id == id; });
        if (known)
            endModal(id);
    }

    MessageResult resultFor(int id) const {
        for (const auto& button : buttons_)
            if (button.id == id)
                return button.result;
        const bool yesNo =
            std::any_of(buttons_.begin(), buttons_.end(), [](auto& b) { return b.id == IDNO; });
        return yesNo ? MessageResult::No : MessageResult::Cancel;
    }

    void onInit() override {
        HWND dlg = hwnd();
        SetWindowTextW(dlg, caption_.c_str());
        colours_.takeFor(dlg);
        createControls(dlg);
        const SIZE frame = layOut(dlg, dpiOfWindow(dlg));
        SetWindowPos(dlg, nullptr, (GetSystemMetrics(SM_CXSCREEN) - frame.cx) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - frame.cy) / 2, frame.cx, frame.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        HWND defaultButton = GetDlgItem(dlg, defaultId_);
        if (!defaultButton)
            defaultButton = GetDlgItem(dlg, buttons_.front().id);
        SendMessageW(dlg, DM_SETDEFID, static_cast<WPARAM>(GetDlgCtrlID(defaultButton)), 0);
        SetFocus(defaultButton);
    }

    // Dragged onto a monitor of another DPI: fonts, icon and places anew, in
    // the rectangle the system suggests.
    void onDpiChanged(UINT dpi, const RECT& suggested) override {
        const SIZE frame = layOut(hwnd(), dpi);
        SetWindowPos(hwnd(), nullptr, suggested.left, suggested.top, frame.cx, frame.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }

    void createControls(HWND dlg) {
        HWND icon = createChild(dlg, L"STATIC", u"", SS_ICON | SS_REALSIZEIMAGE, 0, kIconId);
        HWND text = createChild(dlg, L"STATIC", fromWide(text_),
                                SS_LEFT | SS_NOPREFIX | SS_EDITCONTROL, 0, kTextId);
        ownControl(icon, labels_);
        ownControl(text, labels_);
        // The icon says the kind, as the caption does.
        describeForAccessibility(icon, fromWide(caption_), ROLE_SYSTEM_GRAPHIC);
        describeForAccessibility(text, u"", ROLE_SYSTEM_STATICTEXT);
        for (const auto& boxButton : buttons_) {
            HWND button = dark::createPushButton(dlg, boxButton.id, fromWide(boxButton.caption), {},
                                                 WS_TABSTOP | BS_NOTIFY);
            ownControl(button, buttonPainter_);
        }
    }

    // Sizes and places everything at dpi; gives the outer size of the box.
    SIZE layOut(HWND dlg, UINT dpi) {
        auto font = dark::createMessageFont(static_cast<int>(dpi));
        const int d = static_cast<int>(dpi);
        // The text's size at this DPI, lines broken as the static control
        // will break them.
        RECT textRect{0, 0, messageTextMaxWidth(d), 0};
        {
            WindowDC screen(dlg);
            SelectObjectScope selectFont(screen.get(), font.get());
            DrawTextW(screen.get(), text_.c_str(), static_cast<int>(text_.size()), &textRect,
                      DT_CALCRECT | DT_WORDBREAK | DT_EDITCONTROL | DT_NOPREFIX | DT_EXPANDTABS);
        }
        const MessageBoxLayout layout =
            layOutMessageBox(d, textRect.right, textRect.bottom, static_cast<int>(buttons_.size()));
        auto icon = loadSystemIcon(iconName_, layout.icon.width);
        HWND iconControl = GetDlgItem(dlg, kIconId);
        SendMessageW(iconControl, STM_SETICON, reinterpret_cast<WPARAM>(icon.get()), 0);
        placeChild(iconControl, layout.icon);
        HWND textControl = GetDlgItem(dlg, kTextId);
        SendMessageW(textControl, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        placeChild(textControl, layout.text);
        for (size_t i = 0; i < buttons_.size(); ++i) {
            HWND button = GetDlgItem(dlg, buttons_[i].id);
            SendMessageW(button, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
            placeChild(button, layout.buttons[i]);
        }
        // The old font and icon go once the controls hold the new ones.
        font_ = std::move(font);
        icon_ = std::move(icon);
        InvalidateRect(dlg, nullptr, TRUE);

        RECT frame{0, 0, layout.clientWidth, layout.clientHeight};
        AdjustWindowRectExForDpi(&frame, static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_STYLE)),
                                 FALSE, static_cast<DWORD>(GetWindowLongPtrW(dlg, GWL_EXSTYLE)),
                                 dpi);
        return {frame.right - frame.left, frame.bottom - frame.top};
    }

    HWND owner_;
    std::wstring text_;
    std::wstring caption_;
    const wchar_t* iconName_;
    std::vector<BoxButton> buttons_;
    int defaultId_;
    UniqueFont font_;
    UniqueIcon icon_;
    dark::WindowPalette colours_;
    dark::TextColours labels_{colours_.palette()};
    dark::ButtonPainter buttonPainter_{dark::ButtonLook::Normal, colours_.palette(), true};
};

int idFor(MessageResult result) {
    switch (result) {
    case MessageResult::Cancel:
        return IDCANCEL;
    case MessageResult::Yes:
        return IDYES;
    case MessageResult::No:
        return IDNO;
    case MessageResult::Ok:
        break;
    }
    return IDOK;
}

std::u16string errorBoxText(std::u16string_view text) {
    std::u16string result(text);
    if (!result.empty() && result.back() > u'.')
        result += u'.';
    return result;
}

std::u16string currentErrorText() {
    try {
        throw;
    } catch (const UserError& error) {
        return error.message();
    } catch (const std::exception& error) {
        return utf8ToUtf16(error.what());
    } catch (...) {
        return u"Unknown error";
    }
}

} // namespace

MessageResult showMessageBox(HWND owner, std::u16string_view text, MessageKind kind,
                             MessageButtons buttons, MessageResult defaultButton) {
    MessageDialog dialog(owner, toWide(text), captionFor(kind), iconFor(kind), buttonsFor(buttons),
                         idFor(defaultButton));
    return dialog.run();
}

void showErrorBox(HWND owner, std::u16string_view errorText) {
    MessageDialog dialog(owner, toWide(errorBoxText(errorText)), toWide(kApplicationTitle),
                         IDI_ERROR, {kOk}, IDOK);
    dialog.run();
}

void showCurrentErrorBox(HWND owner) noexcept {
    try {
        showErrorBox(owner, currentErrorText());
    } catch (...) {
        // Out of memory while reporting: nothing more can be shown.
    }
}

} // namespace morvane
