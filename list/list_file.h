#pragma once
// The command-list file MorvaneList.txt: field splitting, line classification
// and loading into the record array.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "list/list_row.h"
#include "text/quiet_read.h"
#include "text/text_file.h"

namespace morvane {

struct PlatformServices;

// The command list beside the program.
inline constexpr std::u16string_view kListFileName = u"MorvaneList.txt";

// TAB-separated fields; a field that starts with a double quote is quoted.
std::vector<std::u16string> splitListFields(std::u16string_view line);

// The record a line yields, or nullopt for comment lines, empty lines and
// lines that fit no row kind.
std::optional<ListRow> classifyListLine(std::u16string_view line, int32_t row);

// Records of the lines in file order.
ListRows parseListLines(const std::vector<std::u16string>& lines);

// Replaces records with the file's content. A missing file or one without any
// line leaves records unchanged. An existing file that cannot be read or
// decoded throws UserError with "ファイル %s は開けません。 %s ", records
// untouched. Returns true when replaced.
bool loadMorvaneList(std::u16string_view fName, const PlatformServices& services,
                     ListRows& records);

std::u16string cannotOpenFileMessage(std::u16string_view path, std::u16string_view reason);

// An existing file's text, decoded as decodeText does. A file that cannot be
// read, or bytes the system refuses to convert, throw UserError with
// cannotOpenFileMessage.
DecodedText readDecodedFile(std::u16string_view path, const PlatformServices& services);

// The list read again because the file changed while the program runs.
// Never throws and never shows anything: unless the outcome is Read, the
// caller keeps the rows it shows and tries again at the file's next change
// (at once for CannotOpen). Stricter than loadMorvaneList, whose rules the
// menu's reload keeps: an empty file and one with bytes that are no text in
// its encoding (hasValidBytes) are refused, as a file caught while being
// written looks like that.
struct QuietListLoad {
    QuietReadOutcome outcome = QuietReadOutcome::Missing;
    ListRows rows; // in file order; Read only
};
QuietListLoad loadMorvaneListQuietly(std::u16string_view fName, const PlatformServices& services);

} // namespace morvane
