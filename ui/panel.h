#pragma once
// A plain panel that paints its own colour and passes its children's
// commands, notifications and drawing requests to its parent (whose window
// base gives the drawing to the children's owners). Screen readers see it
// as a group named by its (never painted) text.
#include <windows.h>

#include <string_view>

#include "shell/control_rect.h"
#include "ui/dark_theme.h"
#include "ui/window_base.h"

namespace morvane {

class Panel final : public WindowBase {
  public:
    HWND create(HWND parent, int id, DWORD style, const ControlRect& place,
                std::u16string_view name);
    void setColour(COLORREF colour);
    COLORREF colour() const { return colour_; }

  private:
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;

    COLORREF colour_ = dark::kBackground;
};

// The colour of a panel made by Panel::create.
COLORREF panelColour(HWND panel);

} // namespace morvane
