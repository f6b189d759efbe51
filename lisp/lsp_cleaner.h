#pragma once
// Removes string literals and comments from LISP source so that parentheses
// can be counted; tabs become blanks and line k of the output belongs to line
// k of the source.
#include "lisp/lsp_lines.h"

namespace morvane {

// Appends one cleaned line per source line to dest (not cleared first).
void cleanLspLines(const LspLines& source, LspLines& dest);

} // namespace morvane
