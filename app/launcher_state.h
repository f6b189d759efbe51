#pragma once
// What the launcher keeps from start to end of the process: the command
// records and their remembered command order and the ProgID of the CAD to
// drive. Plain data: the host owns the one instance, the main window and
// its handlers work on it, and a test makes its own.
#include <string>
#include <string_view>

#include "cad/cad_link.h"
#include "list/list_row.h"
#include "list/row_order.h"

namespace morvane {

struct LauncherState {
    ListRows rows;
    // Remembers the command order of rows between view switches.
    RowOrderCache rowOrder;
    std::u16string targetProgID{kDefaultProgID};
};

} // namespace morvane
