// The context menu's commands for the list file and the version box.
#include <windows.h>

#include <shellapi.h>

#include "app/main_window.h"
#include "generated/version.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "ui/message_box.h"

namespace morvane {

void MainWindow::editListInNotepad() {
    const std::u16string path = listFilePath();
    if (!services().files.fileExists(path)) {
        showMessageBox(hwnd(), path + u"\nファイルが見つかりません．", MessageKind::Information);
        return;
    }
    // The path goes to Notepad exactly as built, unquoted.
    ShellExecuteW(hwnd(), L"open", L"Notepad", toWide(path).c_str(), nullptr, SW_SHOWNORMAL);
}

void MainWindow::reloadList() {
    const std::u16string path = listFilePath();
    setSearchText(u"");
    // Taken before the read: a change made while it reads is one to follow.
    const auto stamp = stampOf(LiveFile::CommandList);
    loadMorvaneList(path);
    showingFile(LiveFile::CommandList, stamp);
    showRowsInFileOrder();
}

void MainWindow::showVersion() {
    showMessageBox(hwnd(), kVersionBoxText, MessageKind::Information);
}

} // namespace morvane
