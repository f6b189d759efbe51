#include "target/win32/target_cad_choice.h"

#include "platform/win32/win32_text.h"
#include "target/target_line.h"
#include "target/win32/TaregetCADUnit.h"
#include "target/win32/topmost.h"

namespace morvane {
namespace {

// Puts the dialog back under and the main window on top again on every way
// out.
class TopmostSwap {
  public:
    TopmostSwap(HWND mainWindow, HWND dialog) : main_(mainWindow), dialog_(dialog) {
        setTopmost(main_, false);
        setTopmost(dialog_, true);
    }
    ~TopmostSwap() {
        setTopmost(dialog_, false);
        setTopmost(main_, true);
    }
    TopmostSwap(const TopmostSwap&) = delete;
    TopmostSwap& operator=(const TopmostSwap&) = delete;

  private:
    HWND main_, dialog_;
};

} // namespace

int chooseTargetCad(HWND mainWindow, std::u16string_view appTitle, TTargetCADForm& form,
                    std::u16string& targetProgID) {
    TopmostSwap swap(mainWindow, form.hwnd());
    dialogProgID = targetProgID;
    const int result = form.ShowModal();
    if (result == kTargetOk) {
        SetWindowTextW(mainWindow, toWide(chosenTargetCaption(appTitle, form.edit1Text())).c_str());
        targetProgID = form.edit2Text();
    }
    return result;
}

} // namespace morvane
