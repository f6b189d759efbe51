#pragma once
// What a double-clicked row does, decided from the record alone: send a
// command line to the CAD, report a missing LISP file, or start a program.
#include <functional>
#include <string>
#include <string_view>

#include "list/list_row.h"

namespace morvane {

struct RowAction {
    enum class Kind { None, SendCommand, ShowNotFound, StartProgram };
    Kind kind = Kind::None;
    std::u16string commandText; // SendCommand: the text, without the final CR
    std::u16string path;        // ShowNotFound, StartProgram: the resolved file
    std::u16string parameters;  // StartProgram: the row's parameters

    bool operator==(const RowAction&) const = default;
};

using FileExistsFunction = std::function<bool(std::u16string_view path)>;

// The file a row's file column names. A value containing "MORVANE\" (any case) means
// "beside the program": its folder part is replaced by programFolder, which
// ends in a separator.
std::u16string resolveRowFile(std::u16string_view file, std::u16string_view programFolder);

// Upper-cased text from the last "." after the last "\" or ":", dot included;
// empty when there is none.
std::u16string rowFileExtension(std::u16string_view file);

// (load "path")(princ) with every backslash doubled, as AutoLISP reads it.
std::u16string loadExpression(std::u16string_view path);

// The information box's line under the path of a missing LISP file.
inline constexpr std::u16string_view kFileNotFoundMessage = u"ファイルが見つかりません．";

// The text of the information box for a missing LISP file.
std::u16string fileNotFoundText(std::u16string_view path);

RowAction decideRowAction(const ListRow& record, std::u16string_view programFolder,
                          const FileExistsFunction& fileExists);

} // namespace morvane
