#pragma once
// What the launcher keeps from start to end of the process: the command
// records, their remembered command order and search index, the operator's
// pins and the ProgID of the CAD to drive. Plain data: the host owns the one instance, the main
// window and its handlers work on it, and a test makes its own.
#include <string>
#include <string_view>

#include "list/list_row.h"
#include "list/pins.h"
#include "list/row_order.h"
#include "list/search_index.h"
#include "shell/launcher_settings.h"

namespace morvane {

struct LauncherState {
    ListRows rows;
    // Remembers the command order of rows between view switches.
    RowOrderCache rowOrder;
    // Each row's folded text for the search box: rebuilt whenever rows is
    // replaced (start-up, reload, a drop), never per keystroke.
    SearchIndex searchIndex;
    // The operator's pinned commands, read from the settings at start.
    Pins pins;
    std::u16string targetProgID{kDefaultProgID};
};

} // namespace morvane
