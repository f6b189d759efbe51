#include "ui/dark_scroll_bar.h"

#include "ui/dark_extras.h"

#include <memory>

#include "platform/win32/scoped.h"
#include "shell/scroll_bar_layout.h"
#include "ui/accessible.h"
#include "ui/dark_theme.h"
#include "ui/dpi.h"
#include "ui/window_base.h"
#include "ui/window_hook.h"

namespace morvane::dark {
namespace {

constexpr wchar_t kBarClass[] = L"MorvaneDarkScrollBar";
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeatMs = 250;
constexpr UINT kRepeatMs = 50;
constexpr int kMinThumb96 = 12;

LRESULT controlProc(HWND control, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept;

// The bar over one control; once made, its window owns it.
struct Bar final : WindowBase {
    bool create(HWND parent);
    LRESULT onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept override;
    void onFinalMessage() noexcept override {
        if (ownedByWindow)
            delete this;
    }

    HWND control = nullptr;
    bool ownedByWindow = false;
    RECT place{}; // over the control's own bar, in the parent's coordinates
    ScrollState state;
    bool redrawOff = false;
    ScrollBarPart hot = ScrollBarPart::kNone;
    ScrollBarPart pressed = ScrollBarPart::kNone;
    int grabOffset = 0; // while dragging: the mouse below the thumb's top
    // While dragging: the first row the drag shows. Controls leave their
    // bar's position alone until the thumb is let go.
    int trackPos = 0;
};

Bar* barOf(HWND window) {
    return window ? static_cast<Bar*>(WindowBase::of(window)) : nullptr;
}

ScrollState readState(HWND control) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (!GetScrollInfo(control, SB_VERT, &info))
        return {};
    return {info.nMin, info.nMax, static_cast<int>(info.nPage), info.nPos};
}

// The control's own vertical bar in its parent's coordinates; empty while
// the control shows none.
RECT ownBarPlace(HWND control, bool visible) {
    const LONG_PTR style = GetWindowLongPtrW(control, GWL_STYLE);
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    if (!visible || !(style & WS_VSCROLL) || !GetScrollBarInfo(control, OBJID_VSCROLL, &info) ||
        (info.rgstate[0] & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN)))
        return {};
    RECT place = info.rcScrollBar;
    if (IsRectEmpty(&place))
        return {};
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

ScrollBarLayout layoutOf(const Bar& bar) {
    RECT client;
    GetClientRect(bar.hwnd(), &client);
    ScrollState shown = bar.state;
    if (bar.pressed == ScrollBarPart::kThumb)
        shown.pos = bar.trackPos;
    return layOutScrollBar(client.bottom, client.right, shown,
                           scaled(kMinThumb96, dpiOfWindow(bar.hwnd())));
}

// Stands the bar over the control's own bar, just above the control, or
// hides it with that bar.
void followPlace(Bar& bar, bool controlVisible) {
    const RECT place = ownBarPlace(bar.control, controlVisible);
    if (EqualRect(&place, &bar.place))
        return;
    bar.place = place;
    if (IsRectEmpty(&place)) {
        ShowWindow(bar.hwnd(), SW_HIDE);
        return;
    }
    HWND above = GetWindow(bar.control, GW_HWNDPREV);
    const UINT order = above == bar.hwnd() ? SWP_NOZORDER : 0;
    SetWindowPos(bar.hwnd(), above ? above : HWND_TOP, place.left, place.top,
                 place.right - place.left, place.bottom - place.top,
                 order | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

void followState(Bar& bar) {
    const ScrollState state = readState(bar.control);
    if (state == bar.state)
        return;
    bar.state = state;
    InvalidateRect(bar.hwnd(), nullptr, FALSE);
}

// True when the control's frame is nothing but its own bar and the dark bar
// covers it: then nothing of the frame can be seen.
bool frameIsCovered(const Bar& bar) {
    if (IsRectEmpty(&bar.place))
        return false;
    RECT window, client;
    GetWindowRect(bar.control, &window);
    GetClientRect(bar.control, &client);
    HWND parent = GetParent(bar.control);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&window), 2);
    MapWindowPoints(bar.control, parent, reinterpret_cast<POINT*>(&client), 2);
    return window.left == client.left && window.top == client.top &&
           window.bottom == client.bottom && client.right == bar.place.left &&
           window.right == bar.place.right && window.top == bar.place.top &&
           window.bottom == bar.place.bottom;
}

bool isVisible(HWND control) {
    return GetWindowLongPtrW(control, GWL_STYLE) & WS_VISIBLE;
}

void follow(Bar& bar, UINT msg, WPARAM wp) {
    if (msg == WM_WINDOWPOSCHANGED || msg == WM_SETREDRAW || msg == WM_STYLECHANGED)
        followPlace(bar, isVisible(bar.control));
    // Says what the control is about to become, and is all that comes
    // while its parent is hidden.
    if (msg == WM_SHOWWINDOW)
        followPlace(bar, wp != 0);
    followState(bar);
}

LRESULT controlProc(HWND control, UINT msg, WPARAM wp, LPARAM lp, WindowHook& hook) noexcept {
    Bar* bar = barOf(static_cast<HWND>(hook.data));
    if (!bar || !bar->control)
        return callNextHook(control, msg, wp, lp, hook);
    switch (msg) {
    case WM_NCDESTROY:
        bar->control = nullptr;
        return callNextHook(control, msg, wp, lp, hook);
    case WM_NCPAINT:
        // The own bar under the dark one would be drawn for nothing, and
        // with a theme that costs more than the whole rest of the control.
        if (frameIsCovered(*bar))
            return 0;
        break;
    case WM_SETREDRAW: {
        // The control fills itself with its redraw off; not drawable
        // meanwhile (as the default handling makes a window), it also does
        // not draw its own bar each time it sets the bar's range.
        const LRESULT result = callNextHook(control, msg, wp, lp, hook);
        if (!wp) {
            DefWindowProcW(control, WM_SETREDRAW, FALSE, 0);
            bar->redrawOff = true;
            return result;
        }
        if (bar->redrawOff) {
            DefWindowProcW(control, WM_SETREDRAW, TRUE, 0);
            RedrawWindow(control, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE);
            bar->redrawOff = false;
        }
        follow(*bar, msg, wp);
        return result;
    }
    }
    const LRESULT result = callNextHook(control, msg, wp, lp, hook);
    // Nothing to follow while the control is being filled: a fill sends it
    // thousands of messages.
    if (!bar->redrawOff && bar->control)
        follow(*bar, msg, wp);
    return result;
}

void scroll(const Bar& bar, WORD code, int position = 0) {
    if (bar.control)
        SendMessageW(bar.control, WM_VSCROLL, MAKEWPARAM(code, position), 0);
}

// One step of a pressed arrow or track.
void step(const Bar& bar, ScrollBarPart part) {
    static constexpr struct {
        ScrollBarPart part;
        WORD code;
    } kSteps[] = {{ScrollBarPart::kUpArrow, SB_LINEUP},
                  {ScrollBarPart::kDownArrow, SB_LINEDOWN},
                  {ScrollBarPart::kPageUp, SB_PAGEUP},
                  {ScrollBarPart::kPageDown, SB_PAGEDOWN}};
    for (const auto& s : kSteps)
        if (s.part == part)
            scroll(bar, s.code);
}

ScrollBarPart partUnderMouse(const Bar& bar) {
    POINT mouse;
    GetCursorPos(&mouse);
    ScreenToClient(bar.hwnd(), &mouse);
    RECT client;
    GetClientRect(bar.hwnd(), &client);
    if (mouse.x < 0 || mouse.x >= client.right)
        return ScrollBarPart::kNone;
    return scrollBarPartAt(layoutOf(bar), mouse.y);
}

void drawArrow(HDC dc, const RECT& box, bool up, COLORREF colour) {
    const int cx = (box.left + box.right) / 2;
    const int cy = (box.top + box.bottom) / 2;
    const int half = (box.right - box.left) / 5;
    if (half < 1)
        return;
    const int tip = up ? cy - half / 2 - 1 : cy + half / 2 + 1;
    const int base = up ? tip + half : tip - half;
    const POINT points[] = {{cx, tip}, {cx - half, base}, {cx + half, base}};
    SelectObjectScope brush(dc, brushFor(colour));
    SelectObjectScope pen(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, colour);
    Polygon(dc, points, 3);
}

void paint(const Bar& bar, HDC target) {
    RECT client;
    GetClientRect(bar.hwnd(), &client);
    if (IsRectEmpty(&client))
        return;
    // Drawn off screen and copied at once: no flicker while dragging.
    UniqueMemoryDC memory(CreateCompatibleDC(target));
    UniqueBitmap bitmap(CreateCompatibleBitmap(target, client.right, client.bottom));
    if (!memory || !bitmap)
        return;
    HDC dc = memory.get();
    SelectObjectScope selectBitmap(dc, bitmap.get());

    FillRect(dc, &client, brushFor(kScrollTrack));
    const ScrollBarLayout layout = layoutOf(bar);
    auto arrowColour = [&](ScrollBarPart part) {
        if (!layout.hasThumb)
            return kDisabledText;
        return bar.pressed == part || bar.hot == part ? kText : kDisabledText;
    };
    drawArrow(dc, {0, 0, client.right, layout.trackTop}, true,
              arrowColour(ScrollBarPart::kUpArrow));
    drawArrow(dc, {0, layout.trackBottom, client.right, client.bottom}, false,
              arrowColour(ScrollBarPart::kDownArrow));
    if (layout.hasThumb) {
        const int inset = client.right / 4;
        const RECT thumb{inset, layout.thumbTop, client.right - inset, layout.thumbBottom};
        const COLORREF colour = bar.pressed == ScrollBarPart::kThumb ? kScrollThumbPressed
                                : bar.hot == ScrollBarPart::kThumb   ? kScrollThumbHot
                                                                     : kScrollThumb;
        FillRect(dc, &thumb, brushFor(colour));
    }

    BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
}

void setHot(Bar& bar, ScrollBarPart part) {
    if (bar.hot == part)
        return;
    bar.hot = part;
    InvalidateRect(bar.hwnd(), nullptr, FALSE);
}

void press(Bar& bar, int y) {
    const ScrollBarLayout layout = layoutOf(bar);
    const ScrollBarPart part = scrollBarPartAt(layout, y);
    if (part == ScrollBarPart::kNone || !layout.hasThumb)
        return;
    bar.pressed = part;
    SetCapture(bar.hwnd());
    if (part == ScrollBarPart::kThumb) {
        bar.grabOffset = y - layout.thumbTop;
        bar.trackPos = bar.state.pos;
    } else {
        step(bar, part);
        SetTimer(bar.hwnd(), kRepeatTimer, kFirstRepeatMs, nullptr);
    }
    InvalidateRect(bar.hwnd(), nullptr, FALSE);
}

void drag(Bar& bar, int y) {
    const int pos = scrollPositionForThumb(layoutOf(bar), bar.state, y - bar.grabOffset);
    if (pos == bar.trackPos)
        return;
    bar.trackPos = pos;
    scroll(bar, SB_THUMBTRACK, pos);
    InvalidateRect(bar.hwnd(), nullptr, FALSE);
}

// The press ends: released, or the capture taken away.
void release(Bar& bar) {
    if (bar.pressed == ScrollBarPart::kNone)
        return;
    const ScrollBarPart pressed = bar.pressed;
    bar.pressed = ScrollBarPart::kNone;
    KillTimer(bar.hwnd(), kRepeatTimer);
    if (pressed == ScrollBarPart::kThumb)
        scroll(bar, SB_THUMBPOSITION, bar.trackPos);
    scroll(bar, SB_ENDSCROLL);
    if (GetCapture() == bar.hwnd())
        ReleaseCapture();
    InvalidateRect(bar.hwnd(), nullptr, FALSE);
}

// A held arrow or track steps on; the track stops once the thumb has
// reached the mouse.
void repeat(Bar& bar) {
    if (bar.pressed == ScrollBarPart::kNone || bar.pressed == ScrollBarPart::kThumb) {
        KillTimer(bar.hwnd(), kRepeatTimer);
        return;
    }
    if (partUnderMouse(bar) == bar.pressed)
        step(bar, bar.pressed);
    SetTimer(bar.hwnd(), kRepeatTimer, kRepeatMs, nullptr);
}

bool Bar::create(HWND parent) {
    registerClass(kBarClass);
    return createWindow(kBarClass, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0, 0, 0, 0, parent) !=
           nullptr;
}

LRESULT Bar::onMessage(UINT msg, WPARAM wp, LPARAM lp) noexcept {
    const int y = static_cast<short>(HIWORD(lp));
    switch (msg) {
    case WM_NCDESTROY:
        // The control may outlive its bar: its hook forgets the bar.
        if (control)
            if (WindowHook* hook = findWindowHook(control, controlProc))
                hook->data = nullptr;
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(hwnd(), &ps);
        paint(*this, dc);
        EndPaint(hwnd(), &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(*this, reinterpret_cast<HDC>(wp));
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        press(*this, y);
        return 0;
    case WM_MOUSEMOVE:
        if (pressed == ScrollBarPart::kThumb) {
            drag(*this, y);
        } else if (pressed == ScrollBarPart::kNone) {
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
            TrackMouseEvent(&track);
            setHot(*this, scrollBarPartAt(layoutOf(*this), y));
        }
        return 0;
    case WM_MOUSELEAVE:
        setHot(*this, ScrollBarPart::kNone);
        return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        release(*this);
        return 0;
    case WM_TIMER:
        if (wp == kRepeatTimer)
            repeat(*this);
        return 0;
    case WM_MOUSEWHEEL:
        return control ? SendMessageW(control, msg, wp, lp) : 0;
    case WM_GETOBJECT:
        // What it is, for screen readers: no nameless extra pane beside
        // the control whose bar it covers.
        if (const LRESULT answer =
                answerGetObject(hwnd(), wp, lp, kDarkScrollBarName, ROLE_SYSTEM_SCROLLBAR))
            return answer;
        break;
    }
    return defaultProc(msg, wp, lp);
}

} // namespace

void useDarkScrollBar(HWND control, const Extras& extras) {
    // The system's own dark bars need nothing on top of them.
    if (extras.available() || darkScrollBarOf(control))
        return;
    auto made = std::make_unique<Bar>();
    made->control = control;
    if (!made->create(GetParent(control)))
        return; // the control keeps its own bar
    Bar& bar = *made.release();
    bar.ownedByWindow = true;
    // A bar taken away earlier left its hook, which takes the new bar.
    if (WindowHook* hook = findWindowHook(control, controlProc))
        hook->data = bar.hwnd();
    else
        addWindowHook(control, controlProc, bar.hwnd());
    followPlace(bar, isVisible(control));
    followState(bar);
}

void removeDarkScrollBar(HWND control) {
    if (HWND bar = darkScrollBarOf(control)) {
        DestroyWindow(bar); // its WM_NCDESTROY leaves the hook without a bar
        RedrawWindow(control, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    }
}

HWND darkScrollBarOf(HWND control) {
    WindowHook* hook = findWindowHook(control, controlProc);
    return hook ? static_cast<HWND>(hook->data) : nullptr;
}

} // namespace morvane::dark
