#pragma once
// A new command list from a dropped LISP file: reading it, assembling the
// rows around its commands, the question, and putting the list in place with
// the old one kept under a time-stamped name.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lisp/lsp_lines.h"
#include "text/text_file.h"

namespace morvane {

class TextCollator;
struct LocalTime;
struct PlatformServices;

// The file's lines: a byte-order mark decides; an unmarked file is read as
// strict UTF-8 and, failing that, in the ANSI code page. A UTF-8-marked file
// must be valid UTF-8. Throws UserError when the file cannot be read.
LspLines readLspFile(std::u16string_view path, const PlatformServices& services);

// The first name whose extension is ".lsp" in any letter case.
std::optional<std::u16string> pickDroppedLsp(const std::vector<std::u16string>& names);

// The name after the last "\" or "/".
std::u16string_view fileNameOf(std::u16string_view path);

// The file name without its last extension: the group row's title.
std::u16string_view groupTitleOf(std::u16string_view path);

// "Morvane\" + name when the file lies in the program's folder (compared as
// texts, letter case included), else the path as given.
std::u16string loadPathFor(std::u16string_view lspPath, std::u16string_view programFolder);

// Group row, command rows, load row; empty when the file holds no command.
// Throws UserError as makeLspIndex does.
LspLines buildDroppedList(std::u16string_view lspPath, std::u16string_view programFolder,
                          const LspLines& lines, const TextCollator& collator);

// The confirmation text for a new list of rowCount rows (group row included).
std::u16string replaceQuestion(size_t rowCount);

// listStem + yyyymmddhhnnss + ".txt", where listStem is the list's file name
// without its extension ("MorvaneList" for the program's own list).
std::u16string backupFileName(std::u16string_view listStem, const LocalTime& time);

// The encoding a new list at listPath is written in: the ANSI code page
// without a mark, as lists always were; except where that code page is
// UTF-8, which the PCs with code page 932 read as garbage: there a list
// keeps the encoding of the one it replaces (a shared list in code page 932
// stays 932), and a first list is a new file (newFileEncoding). Throws
// UserError when the old list cannot be read.
TextEncoding newListEncoding(std::u16string_view listPath, const PlatformServices& services);

struct InstalledList {
    std::u16string listPath;
    std::u16string backupPath; // empty when there was no old list
};

// installListFile for MorvaneList.txt in the program's folder.
InstalledList installDroppedList(std::u16string_view programFolder, const LspLines& rows,
                                 PlatformServices& services);

// Writes the rows (in newListEncoding) to a working copy beside listPath
// first, then moves an old list there to the backup name (or the first free
// "-1", "-2"... variant) and puts the new one in its place. Any failure, the
// encoding's included, throws UserError; a failure before the old list moved
// leaves everything as it was.
InstalledList installListFile(std::u16string_view listPath, const LspLines& rows,
                              PlatformServices& services);

std::u16string cannotCreateListFileMessage(std::u16string_view path, std::u16string_view reason);

} // namespace morvane
