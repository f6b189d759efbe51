#pragma once
// The program's one dark look, built from documented calls only: a palette
// of colours and brushes, DPI-specific fonts, and painting helpers for the
// controls that cannot be coloured by messages alone. With high contrast on,
// the same helpers paint in the system's colours instead (Palette::system).
#include <windows.h>

#include <string_view>

#include "platform/win32/scoped.h"
#include "ui/high_contrast.h"

namespace morvane::dark {

inline constexpr COLORREF kBackground = RGB(0x20, 0x20, 0x20);
inline constexpr COLORREF kControl = RGB(0x38, 0x38, 0x38);
inline constexpr COLORREF kHot = RGB(0x45, 0x45, 0x45);
inline constexpr COLORREF kPressed = RGB(0x2A, 0x2A, 0x2A);
inline constexpr COLORREF kText = RGB(0xE0, 0xE0, 0xE0);
inline constexpr COLORREF kDisabledText = RGB(0x80, 0x80, 0x80);
inline constexpr COLORREF kEdge = RGB(0x64, 0x64, 0x64);
inline constexpr COLORREF kAccent = RGB(0x3A, 0x7B, 0xD5);
inline constexpr COLORREF kSelection = RGB(0x26, 0x4F, 0x78);
inline constexpr COLORREF kSelectionInactive = RGB(0x45, 0x45, 0x45);
inline constexpr COLORREF kLimeGreen = RGB(0, 255, 0);
inline constexpr COLORREF kLimeGreenHot = RGB(0x66, 0xFF, 0x66);
inline constexpr COLORREF kLimeGreenPressed = RGB(0, 0xC0, 0);
inline constexpr COLORREF kOnLimeText = RGB(0x10, 0x10, 0x10);
// The overlay scroll bar's track and thumb (normal, under the mouse, held).
inline constexpr COLORREF kScrollTrack = RGB(0x2B, 0x2B, 0x2B);
inline constexpr COLORREF kScrollThumb = RGB(0x5A, 0x5A, 0x5A);
inline constexpr COLORREF kScrollThumbHot = RGB(0x7A, 0x7A, 0x7A);
inline constexpr COLORREF kScrollThumbPressed = RGB(0x9A, 0x9A, 0x9A);

// The colours a window paints with, by what they are for: the dark ones
// above, or with high contrast on the system's own (GetSysColor: window,
// window text, highlight and highlight text, button face and text, gray
// text). Each window keeps the one it paints with and takes a new one when
// the system's colours or its high-contrast setting change.
struct Palette {
    bool highContrast = false;
    COLORREF background; // windows, dialogs, labels, the tree and the menu
    COLORREF text;       // on the background
    COLORREF field;      // the edits and the list
    COLORREF fieldText;  // in the fields
    COLORREF button;     // push and flat buttons
    COLORREF buttonText; // their captions
    COLORREF buttonHot;  // under the mouse
    COLORREF buttonHotText;
    COLORREF buttonPressed;
    COLORREF buttonPressedText;
    COLORREF edge;         // frames: buttons, edits, the group box, the tree's lines
    COLORREF focusEdge;    // the frame of the focused control or the default button
    COLORREF disabledText; // disabled buttons and menu items, the dark scroll bar's arrows
    COLORREF selection;    // the selected row while its control has the focus
    COLORREF selectionText;
    COLORREF selectionInactive; // ... and while it has not
    COLORREF selectionInactiveText;
    COLORREF menuHot; // the menu item under the mouse or the keys
    COLORREF menuHotText;
    COLORREF escapePanel; // the ESC button's panel: lime green, or button face

    // The program's own dark colours.
    static Palette dark();
    // The system's colours as they are now.
    static Palette system();
    static Palette forHighContrast(bool on) { return on ? system() : dark(); }
};

// The palette of one top-level window, following the high-contrast answer
// it was given: taken anew at creation and whenever the system's colours or
// its high-contrast setting change.
class WindowPalette {
  public:
    explicit WindowPalette(const HighContrastQuestion& highContrast)
        : highContrast_(highContrast), palette_(Palette::forHighContrast(highContrast.isOn())) {}

    const Palette& palette() const { return palette_; }
    const HighContrastQuestion& question() const { return highContrast_; }
    // The answer differs from the one the palette was taken for.
    bool outOfDate() const { return highContrast_.isOn() != palette_.highContrast; }

    struct Taken {
        bool first;    // the window's first palette
        bool switched; // dark to high contrast or back (also the first time)
    };
    // Asks again and gives window the palette: published for the boxes it
    // owns, and its title bar to match.
    Taken takeFor(HWND window);

    // Whether a top-level window's message says that the colours may have
    // changed: high contrast turned on or off (WM_SETTINGCHANGE with
    // SPI_SETHIGHCONTRAST), the system's colours (WM_SYSCOLORCHANGE) or its
    // theme (WM_THEMECHANGED).
    static bool changesColours(UINT msg, WPARAM wp) {
        return (msg == WM_SETTINGCHANGE && wp == SPI_SETHIGHCONTRAST) || msg == WM_SYSCOLORCHANGE ||
               msg == WM_THEMECHANGED;
    }

  private:
    const HighContrastQuestion& highContrast_;
    Palette palette_;
    bool taken_ = false;
};

// A brush of any colour, created on first use and kept for the process.
HBRUSH brushFor(COLORREF colour);

// The UI font at a character height given in 96-DPI pixels, scaled for dpi.
UniqueFont createFont(std::u16string_view face, int charHeight96, int dpi, int weight = FW_NORMAL);
// The system's message font at dpi.
UniqueFont createMessageFont(int dpi);

inline constexpr std::u16string_view kUiFace = u"Tahoma";

// Dark title bar where the system offers it, harmless elsewhere; the
// system's own with high contrast on.
void useTitleBar(HWND hwnd, const Palette& palette);

// WM_CTLCOLOR* answers: text and background colours set on the DC, brush
// returned.
LRESULT colourStatic(HDC dc, const Palette& palette);
LRESULT colourEdit(HDC dc, const Palette& palette);
LRESULT colourDialog(HDC dc, const Palette& palette);

// Fills a window's background (WM_ERASEBKGND).
void eraseBackground(HWND hwnd, HDC dc, const Palette& palette);

// Lime: the ESC button, lime green in the dark palette and an ordinary
// button in high contrast (its caption stays bold: its font says so).
enum class ButtonLook { Normal, Default, Lime };

// Owner-drawn push button: normal, hot (mouse over), pressed, focus and
// disabled states. The text may hold "&" access keys. The focus frame shows
// once the keyboard has been used (ODS_NOFOCUSRECT, from WM_UPDATEUISTATE).
void drawButton(const DRAWITEMSTRUCT& item, ButtonLook look, const Palette& palette);

// Makes an owner-drawn button track the mouse so it can draw its hot state.
void trackButtonHover(HWND button);

// Paints an edit's 2-pixel client edge dark (WM_NCPAINT) via a subclass,
// reading palette (which must outlive the edit) at every paint; in high
// contrast the system draws the edge.
void darkenEditBorder(HWND edit, const Palette& palette);

// A group box (BS_GROUPBOX) drawn as its frame alone, in the palette's edge
// colour (palette must outlive it): its title is for screen readers, as the
// layout leaves no room to show it.
void drawGroupBoxFrame(HWND groupBox, const Palette& palette);

// Owner-drawn popup menu items that keep their texts in the menu. Called
// again after a change of palette, for the menu's background.
void makeMenuOwnerDrawn(HMENU menu, const Palette& palette);
bool measureMenuItem(HWND owner, MEASUREITEMSTRUCT& item);
bool drawMenuItem(const DRAWITEMSTRUCT& item, const Palette& palette);

// The palette a top-level window paints with, published for the message
// boxes it owns (a window property; withdrawn before the window goes).
void publishPalette(HWND window, const WindowPalette* palette);
// The high-contrast question of owner's top-level window, so that a box it
// owns paints as it does and follows it through a switch; without one (no
// owner, or one that published none) the system's own.
const HighContrastQuestion& highContrastQuestionOf(HWND owner);

} // namespace morvane::dark
