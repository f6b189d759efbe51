#pragma once
// A flat tool button that never takes the focus: clicking it leaves the focus
// where it was (in an edit, typically). It tells its parent WM_COMMAND
// BN_CLICKED, and answers BM_CLICK like a push button.
#include <windows.h>

#include <string_view>

#include "app/window_base.h"

namespace morvane {

class FlatButton final : public WindowBase {
  public:
    void create(HWND parent, int id, std::u16string_view caption);

  protected:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

  private:
    void paint();
    void setHot(bool hot);
    void click();

    HFONT font_ = nullptr;
    bool hot_ = false;
    bool pressed_ = false;
};

} // namespace morvane
