#pragma once
// The Target CAD dialog: created hidden at start-up and kept to the end, so
// its list and edits live between openings; shown modally by the main
// window's "ターゲット CAD" menu item.
#include <windows.h>

#include <string>
#include <string_view>

#include "app/window_base.h"
#include "app/window_hook.h"
#include "platform/win32/scoped.h"
#include "target/target_form.h"
#include "target/win32/flat_button.h"

namespace morvane {

struct PlatformServices;

// The ProgID current when the dialog opened: written by CAD2Click just
// before, read by FormShow.
extern std::u16string dialogProgID;

class TTargetCADForm;

// The one dialog of the program, while it exists.
extern TTargetCADForm* TargetCADForm;

enum TargetControlId : int {
    kListBox1Id = 1001,
    kEdit1Id,
    kEdit2Id,
    kSpeedButton1Id,
    kSpeedButton2Id,
    kSpeedButton3Id,
    kButton1Id,
    kButton2Id,
    kLabel1Id,
    kLabel2Id,
};

enum TargetModalResult : int { kTargetOk = 1, kTargetCancel = 2 };

class TTargetCADForm final : public WindowBase, private TargetFormView {
  public:
    // Hidden until ShowModal; owned by owner (the main window). Becomes
    // TargetCADForm until destroyed.
    TTargetCADForm(HWND owner, std::u16string listPath, const PlatformServices& services);
    ~TTargetCADForm() override;

    // Runs FormShow, shows the dialog centred on the screen with the owner
    // disabled, and returns 1 (OK) or 2 (取り消し, close box) once closed.
    int ShowModal();

    std::u16string edit1Text() const override;
    std::u16string edit2Text() const override;
    const TargetFormModel& model() const { return model_; }

    // Event handlers; an error ends the handler and shows the error box.
    void FormShow();
    void ListBox1Click();
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    // Shared by both edits: Enter is swallowed (key becomes 0) and runs 変更.
    void Edit1KeyPress(HWND sender, wchar_t& key);

  protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void setEdit1Text(std::u16string_view text) override;
    void setEdit2Text(std::u16string_view text) override;
    void listCleared() override;
    void lineInserted(int index, std::u16string_view line) override;
    void lineRemoved(int index) override;
    void selectionSet(int index) override;

    int listBoxSelection() const;
    template <class Handler> void runHandler(Handler&& handler);
    void createControls();
    void applyDpi(UINT dpi);
    void placeCentred();
    void onCommand(int id, int code);
    void drawListItem(const DRAWITEMSTRUCT& item) const;
    void paintGroupBox();
    static LRESULT editProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept;

    TargetFormModel model_;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
    UniqueFont formFont_, listFont_, labelFont_, editFont_;
    HWND listBox1_ = nullptr, edit1_ = nullptr, edit2_ = nullptr;
    HWND label1_ = nullptr, label2_ = nullptr, button1_ = nullptr, button2_ = nullptr;
    HWND speedButton1_ = nullptr, speedButton2_ = nullptr, speedButton3_ = nullptr;
    HWND lastFocus_ = nullptr;
    int modalResult_ = 0;
};

} // namespace morvane
