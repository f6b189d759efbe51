#pragma once
// One row of the command list and the tests that give its kind.
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

struct ListRow {
    int32_t row = -1;           // 0-based line index in the file; the record's key
    std::u16string command;     // typed into the CAD; a group row's title
    std::u16string description; // shown beside the command; empty for a group row
    std::u16string file;        // a .lsp to load or an .exe to start, as written
    std::u16string parameters;  // the program's parameters (an .exe row)

    bool operator==(const ListRow&) const = default;
};

using ListRows = std::vector<ListRow>;

inline bool isGroupRow(const ListRow& r) {
    return r.description.empty();
}
inline bool isFileRow(const ListRow& r) {
    return !r.description.empty() && !r.file.empty();
}
inline bool isCommandEntry(const ListRow& r) {
    return !r.description.empty();
}

} // namespace morvane
