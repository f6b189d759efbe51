#pragma once
// Reading a text file again while the program runs, because it changed on
// disk: nothing is thrown and nothing is shown. A file that is missing, not
// ready or not right says so, and the caller keeps what it shows until the
// file changes again. The menu's own reload keeps reading through the
// loaders that report errors.
#include <string>
#include <string_view>
#include <vector>

#include "text/text_file.h"

namespace morvane {

class AnsiCodePage;
struct PlatformServices;

enum class QuietReadOutcome {
    Read,
    // No file there (also a folder of that name).
    Missing,
    // The file is there but cannot be opened or read now: an editor may
    // still hold it while saving. Worth trying again soon.
    CannotOpen,
    // No line at all: zero bytes, a byte-order mark alone, or a NUL first;
    // a file that is being written often looks like this for a moment.
    Empty,
    // Bytes that are no text in the encoding the file is read in
    // (hasValidBytes): a file caught half written, or saved in an encoding
    // it cannot be read in.
    InvalidBytes,
};

struct QuietRead {
    QuietReadOutcome outcome = QuietReadOutcome::Missing;
    // Read only: the lines, and the encoding they were read in.
    std::vector<std::u16string> lines;
    TextEncoding encoding = TextEncoding::Ansi;
};

// True when the bytes up to the end of the text (the first NUL) are text in
// the encoding decodeText reads them in:
// - a UTF-8 mark: valid UTF-8 (no stand-in for a broken sequence);
// - a UTF-16 mark: whole code units (an even number of bytes) and no
//   surrogate without its partner;
// - no mark: every byte sequence a character of the code page the bytes are
//   read in (unmarkedCodePage: the ANSI code page, or 932 for non-UTF-8
//   bytes on a UTF-8 system), as AnsiCodePage::isValid says.
bool hasValidBytes(std::string_view bytes, const AnsiCodePage& ansi);

// Reads and splits the file as the loaders do (decodeText, splitLines).
QuietRead readTextQuietly(std::u16string_view path, const PlatformServices& services);

} // namespace morvane
