#pragma once
// Turns the lines of a LISP source file into command-list rows: one row per
// command definition (a DEFUN whose name begins with C:), ordered by name.
#include <cstdint>
#include <string>

#include "lisp/lsp_lines.h"

namespace morvane {

class TextCollator;

// The argument items of the definition whose "(DEFUN " opens at line s,
// column c of the cleaned lines, each followed by CR LF; empty when there
// are none or no argument list is found.
std::u16string getDefunArgs(const LspLines& cleaned, int32_t s, int32_t c);

// Appends "COMMAND ARGS<TAB>description" for every command found in source.
// Throws UserError when a malformed nested row gives a field that is not a
// number; rows appended before then stay.
void makeLspIndex(const LspLines& source, LspLines& index, const TextCollator& collator);

// A description as a field of MorvaneList.txt that reads back as the same
// text: a TAB becomes a blank, a leading double quote makes it a quoted field.
std::u16string descriptionField(std::u16string_view description);

// Delphi's integer conversion of a row field: decimal, optional sign, 32 bits.
// Throws UserError "'text' is not a valid integer value".
int32_t rowFieldToInt(std::u16string_view text);

} // namespace morvane
