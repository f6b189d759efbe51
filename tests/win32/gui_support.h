#pragma once
// Helpers for tests that drive real windows: reading a tree control back,
// and a watcher thread that answers the modal box the UI thread shows.
#include <windows.h>

#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "ui/high_contrast.h"

namespace morvane::test {

// The high-contrast question answered by the test: Wine cannot turn the
// system's mode on.
class HighContrastSwitch final : public HighContrastQuestion {
  public:
    explicit HighContrastSwitch(bool on = false) : on_(on) {}
    bool isOn() const override { return on_; }
    // May be set from a watcher thread while a box runs.
    void set(bool on) { on_ = on; }

  private:
    std::atomic<bool> on_;
};

// A pixel of the window as it paints itself (PrintWindow), in window
// coordinates; the bitmap starts magenta so that nothing painted shows.
COLORREF printedPixel(HWND hwnd, int x, int y);
// Every pixel of the window so painted, row by row from the top.
std::vector<COLORREF> printedPixels(HWND hwnd);
// A pixel of the window's client area, so painted.
COLORREF clientPixel(HWND hwnd, int x, int y);
// A pixel inside a control (an edit's field), away from its frame.
COLORREF insidePixel(HWND control);

struct ReadNode {
    std::wstring text;
    LPARAM data = 0;
    int image = -1;
    int selectedImage = -1;
    bool expanded = false;
    bool selected = false;
    std::vector<ReadNode> children;
};

std::vector<ReadNode> readTree(HWND tree);
// The text of a tree's item; "<none>" for no item.
std::wstring itemLabel(HWND tree, HTREEITEM item);
// The item of the tree that carries this label, at the top level or one
// below; inside the pin group when pinned, outside it otherwise.
HTREEITEM itemLabelled(HWND tree, std::wstring_view label, bool pinned = false);
std::vector<std::wstring> texts(const std::vector<ReadNode>& nodes);
std::wstring windowText(HWND hwnd);

// What the watcher saw of the box it answered.
struct SeenBox {
    bool found = false;
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons;
    std::wstring defaultButton;
    bool iconShown = false;
    RECT rect{};
};

// Waits on its own thread for a visible dialog box of this process, records
// it and presses the button with the given caption (or closes it when the
// caption is empty, as the Escape key does). beforePress, if given, runs
// on the watcher's thread with the box once it is recorded.
class BoxWatcher {
  public:
    // Gives up after limit: a test that expects no box waits that long.
    explicit BoxWatcher(std::wstring pressButton,
                        std::chrono::milliseconds limit = std::chrono::seconds(20),
                        std::function<void(HWND box)> beforePress = nullptr);
    BoxWatcher(std::wstring pressButton, std::function<void(HWND box)> beforePress)
        : BoxWatcher(std::move(pressButton), std::chrono::seconds(20), std::move(beforePress)) {}
    ~BoxWatcher();
    BoxWatcher(const BoxWatcher&) = delete;
    BoxWatcher& operator=(const BoxWatcher&) = delete;
    // Joins the thread and gives what it saw.
    const SeenBox& result();

  private:
    void watch();
    std::wstring pressButton_;
    std::chrono::milliseconds limit_;
    std::function<void(HWND box)> beforePress_;
    SeenBox seen_;
    std::thread thread_;
};

// Processes the thread's pending messages (posted and sent).
void pumpMessages();

// Processes the thread's messages, timers included, as they come until
// condition holds or limit has passed; whether it held.
bool pumpMessagesUntil(const std::function<bool()>& condition,
                       std::chrono::milliseconds limit = std::chrono::seconds(5));

// Processes the thread's messages as they come for this long.
void pumpMessagesFor(std::chrono::milliseconds time);

// From a watcher thread: the popup menu (class "#32768") once one is shown,
// or nullptr when none is within five seconds.
HWND waitForPopupMenu();

// Waits on its own thread for a popup menu of this process and hands it to
// onPopup there, which reads it and closes it or chooses an item; nothing
// when no menu is shown within five seconds.
class PopupMenuWatcher {
  public:
    explicit PopupMenuWatcher(std::function<void(HWND popup)> onPopup)
        : thread_([onPopup = std::move(onPopup)] {
              if (HWND popup = waitForPopupMenu())
                  onPopup(popup);
          }) {}
    ~PopupMenuWatcher() { join(); }
    PopupMenuWatcher(const PopupMenuWatcher&) = delete;
    PopupMenuWatcher& operator=(const PopupMenuWatcher&) = delete;
    // Waits until onPopup is done (or no menu came).
    void join() {
        if (thread_.joinable())
            thread_.join();
    }

  private:
    std::thread thread_;
};

} // namespace morvane::test
