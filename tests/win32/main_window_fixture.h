#pragma once
// The main window as its tests make it: the common controls registered, OLE
// initialised, the launcher in a folder of its own (support/test_host.h) and
// its window destroyed with the test.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>

#include "app/launcher_host.h"
#include "app/main_window.h"
#include "gui_support.h"
#include "platform/win32/scoped.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

namespace morvane::test {

// Shift_JIS bytes: 作図 (group) with [LINE] (row 2) and {box} (row 3), a row
// whose LISP file is missing; 修正 (group) with [MOVE] (row 5); [EARLY]
// (row 0) before the first group, so only in the flat views.
inline constexpr char kGroupedListFile[] = "EARLY\tfirst\r\n"
                                           "\x8D\xEC\x90\x7D\r\n"
                                           "LINE\t\x90\xFC\x95\xAA\r\n"
                                           "box\tsolid\tC:\\lisp\\box.lsp\r\n"
                                           "\x8F\x43\x90\xB3\r\n"
                                           "MOVE\tmove it\r\n";

class MainWindowFixture : public testing::Test {
  protected:
    MainWindowFixture() {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&controls);
    }
    ~MainWindowFixture() override { close(); }

    // A new host for dir and its main window, made and left hidden: without
    // a window manager Wine waits two seconds for every shown top-level
    // window to be withdrawn again.
    MainWindow& open(const SystemAnswers& system = thisSystem()) {
        host = hostIn(dir, system);
        window = &host->mainWindow();
        EXPECT_NE(host->createMainWindow(), nullptr);
        return *window;
    }
    void close() {
        if (window && window->hwnd())
            DestroyWindow(window->hwnd());
        pumpMessages();
    }

    OleScope ole;
    TempDir dir;
    std::unique_ptr<LauncherHost> host;
    MainWindow* window = nullptr;
};

} // namespace morvane::test
