#pragma once
// The owners of the dark drawing of standard controls: each answers the
// messages its controls send their parent (WindowBase::ownControl), so a
// parent only says which owner draws which control. Each paints in the
// palette of the window it works for (dark, or the system's colours in high
// contrast), read at every message; the palette must outlive the owner.
#include <windows.h>

#include <initializer_list>
#include <string_view>

#include "ui/dark_extras.h"
#include "ui/dark_theme.h"
#include "ui/window_base.h"

namespace morvane::dark {

// An owner that paints in the palette of the window it works for.
class PaletteOwner : public ControlOwner {
  public:
    explicit PaletteOwner(const Palette& palette) : palette_(palette) {}

  protected:
    ~PaletteOwner() = default;
    const Palette& palette_;
};

// An owner-drawn push button (BS_OWNERDRAW added to style) that tracks the
// mouse for its hot look and tells screen readers it is a push button; the
// ButtonPainter its parent gives it (ownControl) draws it. Made at place, or
// with no size for the caller to place it.
HWND createPushButton(HWND parent, int id, std::u16string_view caption,
                      const ControlRect& place = {}, DWORD style = 0);

// A control and the system's dark theme class it takes with the dark
// palette ("DarkMode_Explorer" for trees and list boxes, "DarkMode_CFD" for
// edits).
struct ThemedControl {
    HWND control;
    const wchar_t* darkThemeClass;
};

// The second tier of a window's dark look, after its palette was taken:
// with the dark palette the controls get their dark themes (in the order
// given) and scrolled its dark scroll bar where the system has none; in high
// contrast the controls get their own themes back (nothing to undo at the
// window's first palette) and scrolled its own bar. Only a switch changes
// anything.
void themeControls(const Extras& extras, const WindowPalette::Taken& taken, const Palette& palette,
                   std::initializer_list<ThemedControl> controls, HWND scrolled);

// Owner-drawn push buttons in one look. With defaultFromParent, a button
// the parent names as its default (DM_GETDEFID) takes the Default look.
class ButtonPainter final : public PaletteOwner {
  public:
    ButtonPainter(ButtonLook look, const Palette& palette, bool defaultFromParent = false)
        : PaletteOwner(palette), look_(look), defaultFromParent_(defaultFromParent) {}
    bool onControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp,
                          LRESULT& result) noexcept override;

  private:
    ButtonLook look_;
    bool defaultFromParent_;
};

// Labels, edits and list boxes coloured by WM_CTLCOLOR*.
class TextColours final : public PaletteOwner {
  public:
    using PaletteOwner::PaletteOwner;
    bool onControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp,
                          LRESULT& result) noexcept override;
};

// A tree view's selected row in the palette's selection colours
// (NM_CUSTOMDRAW), dimmed while the tree has no focus.
class TreeSelection final : public PaletteOwner {
  public:
    using PaletteOwner::PaletteOwner;
    bool onControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp,
                          LRESULT& result) noexcept override;
};

// The rows of an owner-drawn list box (LBS_OWNERDRAWFIXED | LBS_HASSTRINGS)
// in the list's font, at the list's DPI; coloured like an edit.
class ListRows final : public PaletteOwner {
  public:
    using PaletteOwner::PaletteOwner;
    // The font (the caller's, of this character height in 96-DPI pixels)
    // must outlive the list's next drawing.
    void setFont(HFONT font, int charHeight96, UINT dpi) {
        font_ = font;
        charHeight96_ = charHeight96;
        dpi_ = dpi;
    }
    int rowHeight() const;
    bool onControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp,
                          LRESULT& result) noexcept override;

  private:
    void drawRow(const DRAWITEMSTRUCT& item) const;

    HFONT font_ = nullptr;
    int charHeight96_ = 0;
    UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
};

} // namespace morvane::dark
