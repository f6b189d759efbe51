#pragma once
// morvanex-index FILE.lsp... [--exe-dir DIR] [--out FILE]: the rows that
// dropping each file on the window would produce, in the order given.
#include <string>
#include <vector>

namespace morvane {

struct PlatformServices;

enum IndexToolExit { kRowsProduced = 0, kNoCommand = 1, kUsageError = 2, kFileError = 3 };

// args exclude the program name. Rows go to out as UTF-8 with LF unless --out
// names a file, which then receives a command list as a drop writes it (in
// newListEncoding; an existing file there is kept under a time-stamped name
// first). Messages go to
// err as UTF-8. kFileError covers a LISP file that cannot be read or parsed
// and a list that cannot be written.
int runIndexTool(const std::vector<std::u16string>& args, PlatformServices& services,
                 std::string& out, std::string& err);

} // namespace morvane
