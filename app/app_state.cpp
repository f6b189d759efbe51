#include "app/app_state.h"

namespace morvane {

LspRecordArray lspRecords;
RecordOrderCache lspRecordOrder;
std::u16string targetProgID{kDefaultProgID};
TMessageFilter* messageFilter = nullptr;

} // namespace morvane
