// The window base's dialog procedure: every message's answer is its own,
// whatever its handler sends the dialog meanwhile.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include "ui/window_base.h"

namespace morvane {
namespace {

// A dialog of the dialog manager whose handlers first send it a message it
// leaves to the dialog manager (DM_GETDEFID, as a button's painter asks for
// the default button), then answer their own: WM_NOTIFY through
// DWLP_MSGRESULT, WM_CTLCOLORDLG directly. It sends both to itself at
// WM_INITDIALOG and closes.
class NestingDialog final : public DialogBase {
  public:
    LRESULT notifyAnswer = 0;
    LRESULT colourAnswer = 0;
    const HBRUSH brush = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    static constexpr LRESULT kNotifyAnswer = 42;

  private:
    void onInit() override {
        NMHDR header{hwnd(), 1, NM_CLICK};
        notifyAnswer = SendMessageW(hwnd(), WM_NOTIFY, 1, reinterpret_cast<LPARAM>(&header));
        HDC dc = GetDC(hwnd());
        colourAnswer = SendMessageW(hwnd(), WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                                    reinterpret_cast<LPARAM>(hwnd()));
        ReleaseDC(hwnd(), dc);
        endModal(IDOK);
    }
    LRESULT onNotify(NMHDR&) override {
        SendMessageW(hwnd(), DM_GETDEFID, 0, 0);
        return kNotifyAnswer;
    }
    LRESULT onOtherMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override {
        if (msg != WM_CTLCOLORDLG)
            return defaultProc(msg, wp, lp);
        SendMessageW(hwnd(), DM_GETDEFID, 0, 0);
        return reinterpret_cast<LRESULT>(brush);
    }
};

TEST(DialogProcedure, ANestedUnhandledMessageLeavesTheOuterAnswer) {
    NestingDialog dialog;
    EXPECT_EQ(dialog.runTemplate(nullptr, WS_POPUP | WS_CAPTION, 0), IDOK);
    EXPECT_EQ(dialog.notifyAnswer, NestingDialog::kNotifyAnswer);
    EXPECT_EQ(dialog.colourAnswer, reinterpret_cast<LRESULT>(dialog.brush));
}

} // namespace
} // namespace morvane
