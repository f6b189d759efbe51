#pragma once
// Process-wide state of the main window's module: the command records, the
// ProgID of the CAD to drive and the UI thread's message filter.
#include <string>
#include <string_view>

#include "list/lsp_record.h"
#include "list/record_order.h"

namespace morvane {

class TMessageFilter;

inline constexpr std::u16string_view kDefaultProgID = u"BricscadApp.AcadApplication";

extern LspRecordArray lspRecords;
// Remembers the command order of lspRecords between view switches.
extern RecordOrderCache lspRecordOrder;
extern std::u16string targetProgID;
// Plain pointer without a counted reference: COM holds the filter's only one.
extern TMessageFilter* messageFilter;

} // namespace morvane
