#pragma once
// The program's one dark look, built from documented calls only: a palette
// of colours and brushes, DPI-specific fonts, and painting helpers for the
// controls that cannot be coloured by messages alone.
#include <windows.h>

#include <string_view>

#include "platform/win32/scoped.h"

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

// Brushes of the palette, created on first use and kept for the process.
HBRUSH backgroundBrush();
HBRUSH controlBrush();
HBRUSH brushFor(COLORREF colour);

// The UI font at a character height given in 96-DPI pixels, scaled for dpi.
UniqueFont createFont(std::u16string_view face, int charHeight96, int dpi, int weight = FW_NORMAL);
// The system's message font at dpi.
UniqueFont createMessageFont(int dpi);

inline constexpr std::u16string_view kUiFace = u"Tahoma";

// Dark title bar where the system offers it; harmless elsewhere.
void useDarkTitleBar(HWND hwnd);

// WM_CTLCOLOR* answers: text and background colours set on the DC, brush
// returned.
LRESULT colourStatic(HDC dc);
LRESULT colourEdit(HDC dc);
LRESULT colourDialog(HDC dc);

// Fills a window's background in the dark colour (WM_ERASEBKGND).
void eraseBackground(HWND hwnd, HDC dc);

enum class ButtonLook { Normal, Default, Lime };

// Owner-drawn push button: normal, hot (mouse over), pressed, focus and
// disabled states. The text may hold "&" access keys.
void drawButton(const DRAWITEMSTRUCT& item, ButtonLook look);

// Makes an owner-drawn button track the mouse so it can draw its hot state.
void trackButtonHover(HWND button);

// Paints an edit's 2-pixel client edge dark (WM_NCPAINT) via a subclass.
void darkenEditBorder(HWND edit);

// Owner-drawn popup menu items that keep their texts in the menu.
void makeMenuOwnerDrawn(HMENU menu);
bool measureMenuItem(HWND owner, MEASUREITEMSTRUCT& item);
bool drawMenuItem(const DRAWITEMSTRUCT& item);

} // namespace morvane::dark
