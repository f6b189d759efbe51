#pragma once
// Finds the top-level DEFUN forms in cleaned LISP lines by counting
// parentheses.
#include "lisp/lsp_lines.h"

namespace morvane {

class TextCollator;

// Definition rows "name,fill,startLine,startColumn,endLine,endColumn" in the
// order the definitions close, each followed by its nested rows
// "outer,inner,line,column" sorted with the collator. fill is nine blanks
// when withFill is set. out is cleared first unless cleaned is empty.
void findDefuns(const LspLines& cleaned, LspLines& out, bool withFill,
                const TextCollator& collator);

} // namespace morvane
