#pragma once
// What the launcher keeps from start to end of the process: the command
// records and their remembered command order and the ProgID of the CAD to
// drive. Plain data: the host owns the one instance, the main window and
// its handlers work on it, and a test makes its own.
#include <string>
#include <string_view>

#include "cad/cad_link.h"
#include "list/lsp_record.h"
#include "list/record_order.h"

namespace morvane {

struct LauncherState {
    LspRecordArray lspRecords;
    // Remembers the command order of lspRecords between view switches.
    RecordOrderCache lspRecordOrder;
    std::u16string targetProgID{kDefaultProgID};
};

} // namespace morvane
