// The owner-drawn button as drawButton paints it, state by state, in the
// dark palette and in the system's: its face, its edge, and the focus frame
// that shows only once the keyboard has been used (ODS_NOFOCUSRECT until
// then, from the window's WM_UPDATEUISTATE).
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>

#include "platform/win32/scoped.h"
#include "support/case_name.h"
#include "ui/dark_theme.h"

namespace morvane {
namespace {

enum class Colour { Face, Hot, Pressed, Edge, FocusEdge, Lime, LimeHot };

struct LookCase {
    const char* name;
    bool highContrast;
    dark::ButtonLook look;
    UINT state; // ODS_*
    bool hot;
    Colour face, edge, inside; // inside: just within the edge, where the focus frame goes
    friend void PrintTo(const LookCase& c, std::ostream* os) { *os << c.name; }
};

COLORREF colourOf(Colour colour, const dark::Palette& palette) {
    switch (colour) {
    case Colour::Face:
        return palette.button;
    case Colour::Hot:
        return palette.buttonHot;
    case Colour::Pressed:
        return palette.buttonPressed;
    case Colour::Edge:
        return palette.edge;
    case Colour::FocusEdge:
        return palette.focusEdge;
    case Colour::Lime:
        return dark::kLimeGreen;
    case Colour::LimeHot:
        return dark::kLimeGreenHot;
    }
    return CLR_INVALID;
}

class ButtonLook : public testing::TestWithParam<LookCase> {};

TEST_P(ButtonLook, PaintsFaceEdgeAndFocusFrame) {
    const LookCase& c = GetParam();
    const dark::Palette palette = dark::Palette::forHighContrast(c.highContrast);
    HWND button = CreateWindowExW(0, L"BUTTON", L"ESC", WS_POPUP | BS_OWNERDRAW, 0, 0, 60, 24,
                                  nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(button, nullptr);
    if (c.hot) {
        // The hover tracking's state, as a mouse move over the button sets it.
        dark::trackButtonHover(button);
        SendMessageW(button, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    }
    WindowDC screen(nullptr);
    UniqueMemoryDC memory(CreateCompatibleDC(screen.get()));
    UniqueBitmap bitmap(CreateCompatibleBitmap(screen.get(), 60, 24));
    SelectObjectScope select(memory.get(), bitmap.get());
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.itemAction = ODA_DRAWENTIRE;
    item.itemState = c.state;
    item.hwndItem = button;
    item.hDC = memory.get();
    item.rcItem = {0, 0, 60, 24};
    dark::drawButton(item, c.look, palette);
    EXPECT_EQ(GetPixel(memory.get(), 0, 12), colourOf(c.edge, palette)) << "edge";
    EXPECT_EQ(GetPixel(memory.get(), 1, 12), colourOf(c.inside, palette)) << "inside the edge";
    EXPECT_EQ(GetPixel(memory.get(), 4, 4), colourOf(c.face, palette)) << "face";
    DestroyWindow(button);
}

using dark::ButtonLook::Default;
using dark::ButtonLook::Lime;
using dark::ButtonLook::Normal;

INSTANTIATE_TEST_SUITE_P(
    Cases, ButtonLook,
    testing::Values(
        LookCase{"dark", false, Normal, 0, false, Colour::Face, Colour::Edge, Colour::Face},
        LookCase{"dark hot", false, Normal, 0, true, Colour::Hot, Colour::Edge, Colour::Hot},
        LookCase{"dark pressed", false, Normal, ODS_SELECTED, false, Colour::Pressed, Colour::Edge,
                 Colour::Pressed},
        LookCase{"dark focused after a key", false, Normal, ODS_FOCUS, false, Colour::Face,
                 Colour::FocusEdge, Colour::FocusEdge},
        LookCase{"dark focused before any key", false, Normal, ODS_FOCUS | ODS_NOFOCUSRECT, false,
                 Colour::Face, Colour::Edge, Colour::Face},
        LookCase{"dark default", false, Default, 0, false, Colour::Face, Colour::FocusEdge,
                 Colour::Face},
        LookCase{"dark ESC", false, Lime, 0, false, Colour::Lime, Colour::Lime, Colour::Lime},
        LookCase{"dark ESC hot", false, Lime, 0, true, Colour::LimeHot, Colour::LimeHot,
                 Colour::LimeHot},
        LookCase{"high contrast", true, Normal, 0, false, Colour::Face, Colour::Edge, Colour::Face},
        LookCase{"high contrast hot", true, Normal, 0, true, Colour::Hot, Colour::Edge,
                 Colour::Hot},
        LookCase{"high contrast focused after a key", true, Normal, ODS_FOCUS, false, Colour::Face,
                 Colour::FocusEdge, Colour::FocusEdge},
        LookCase{"high contrast focused before any key", true, Normal, ODS_FOCUS | ODS_NOFOCUSRECT,
                 false, Colour::Face, Colour::Edge, Colour::Face},
        LookCase{"high contrast ESC: a button", true, Lime, 0, false, Colour::Face, Colour::Edge,
                 Colour::Face},
        LookCase{"high contrast ESC focused", true, Lime, ODS_FOCUS, false, Colour::Face,
                 Colour::FocusEdge, Colour::FocusEdge}),
    test::CaseName());

} // namespace
} // namespace morvane
