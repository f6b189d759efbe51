#pragma once
// What the launcher keeps from start to end of the process: the command
// records and their remembered command order, the ProgID of the CAD to
// drive, the UI thread's message filter and the target dialog. wWinMain owns
// the one instance; the main window and its handlers reach everything
// through it, and a test makes its own.
#include <memory>
#include <string>
#include <string_view>

#include "cad/cad_link.h"
#include "cad_targets/win32/target_dialog.h"
#include "list/lsp_record.h"
#include "list/record_order.h"

namespace morvane {

class MessageFilter;

struct LauncherState {
    LspRecordArray lspRecords;
    // Remembers the command order of lspRecords between view switches.
    RecordOrderCache lspRecordOrder;
    std::u16string targetProgID{kDefaultProgID};
    // Registered while the main window exists. A plain pointer without a
    // counted reference: COM holds the filter's only one.
    MessageFilter* messageFilter = nullptr;
    // Made hidden once the main window is up, kept to the end so that its
    // list and edits live between openings.
    std::unique_ptr<TargetDialog> targetDialog;
};

} // namespace morvane
