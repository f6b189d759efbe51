#pragma once
// The comment block written directly above a definition, and the one line of
// it that describes the command.
#include <optional>
#include <string>
#include <vector>

#include "lisp/lsp_lines.h"

namespace morvane {

// The block of comment lines directly above line s: each line trimmed, its
// semicolons removed, two blanks in front, joined with CR LF. Empty for s = 0,
// when the line above is not a comment line, or when s is past the end. A
// block that runs up to the file's first line counts.
std::u16string getDefunComment(const LspLines& source, int32_t s);

// The first line of a comment block that holds more than its first character
// and blanks, trimmed; nullopt when none does.
std::optional<std::u16string> chooseDescription(std::u16string_view commentBlock);

// What chooseDescription(getDefunComment(source, s)) gives, in time linear in
// the source over all definitions: comment runs and their first describing
// line are found once, however many definitions share them.
class CommentBlocks {
  public:
    explicit CommentBlocks(const LspLines& source);
    std::optional<std::u16string> description(size_t s);

  private:
    int32_t firstDescribingLine(int32_t top);

    const LspLines& source_;
    std::vector<int32_t> runTop_;         // -1 for a line that is not a comment line
    std::vector<int32_t> describingLine_; // by run top: -2 unknown, -1 none
};

} // namespace morvane
