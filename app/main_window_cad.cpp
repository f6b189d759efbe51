// The main window's side of the CAD link: running the selected row on a
// double-click in the tree, and the Escape button.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include "app/command_tree_items.h"
#include "app/main_window.h"
#include "cad/row_action.h"
#include "cad/win32/cad_automation_win32.h"
#include "platform/win32/win32_text.h"
#include "services/services.h"
#include "ui/message_box.h"

namespace morvane {
namespace {

void startProgram(HWND owner, const RowAction& action) {
    // The shell reports a failed start itself; the result is not examined.
    ShellExecuteW(owner, L"open", toWide(action.path).c_str(), toWide(action.parameters).c_str(),
                  nullptr, SW_SHOWNORMAL);
}

} // namespace

void MainWindow::runSelectedRow() {
    // The selected node, not the node under the pointer.
    const std::optional<int32_t> row = rowOfItem(commandTree, TreeView_GetSelection(commandTree));
    if (!row)
        return;
    const ListRow* found = findRow(state_.rows, *row);
    if (!found)
        return;
    const ListRow record = *found;
    const RowAction action =
        decideRowAction(record, environment_.exeFolder, [&](std::u16string_view path) {
            return services().files.fileExists(path);
        });
    switch (action.kind) {
    case RowAction::Kind::ShowNotFound:
        showMessageBox(hwnd(), fileNotFoundText(action.path), MessageKind::Information);
        break;
    case RowAction::Kind::StartProgram:
        startProgram(hwnd(), action);
        break;
    case RowAction::Kind::SendCommand: {
        traceCadChain(runCadCommand(links_.cad, state_.targetProgID, action.commandText));
        break;
    }
    case RowAction::Kind::None:
        break;
    }
}

void MainWindow::pressEscapeInCad() {
    traceCadChain(pressCadEscape(links_.cad, state_.targetProgID));
}

} // namespace morvane
