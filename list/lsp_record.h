#pragma once
// One row of the command list and the tests that give its kind.
#include <cstdint>
#include <string>
#include <vector>

namespace morvane {

struct TLspRecord {
    int32_t row = -1; // 0-based line index in the file; the record's key
    std::u16string cmd;
    std::u16string cmt;
    std::u16string exe;
    std::u16string opt;

    bool operator==(const TLspRecord&) const = default;
};

using LspRecordArray = std::vector<TLspRecord>;

inline bool isGroupRow(const TLspRecord& r) {
    return r.cmt.empty();
}
inline bool isFileRow(const TLspRecord& r) {
    return !r.cmt.empty() && !r.exe.empty();
}
inline bool isCommandEntry(const TLspRecord& r) {
    return !r.cmt.empty();
}

} // namespace morvane
