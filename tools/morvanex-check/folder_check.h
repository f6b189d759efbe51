#pragma once
// The checks of a MorvaneX folder: its command list, target list and
// settings file, read with the launcher's own readers and judged by what the
// launcher would do with them. Platform-free; the files come through the
// platform services.
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shell/hotkey.h"

#include "messages.h"

namespace morvane {

struct PlatformServices;

enum class Severity { Error, Warning, Note };

struct Finding {
    std::u16string path;
    int line = 0; // 1-based; 0 when the finding is about the whole file
    Severity severity = Severity::Note;
    std::u16string message;

    bool operator==(const Finding&) const = default;
};

struct FolderCheckOptions {
    // Paths are Windows paths here: a drive letter or a UNC name can be
    // checked. Elsewhere such a path is only noted.
    bool windowsPaths = false;
    MessageLanguage language = MessageLanguage::kEnglish;
    // Whether another program holds this hotkey now; only Windows can tell
    // (null elsewhere: not checked).
    std::function<bool(const Hotkey&)> hotkeyTaken;
    // This user's local application data folder, where each operator's own
    // settings file lies when the one in the folder is not theirs to write;
    // "%LOCALAPPDATA%" where the system has none to tell.
    std::u16string localAppData = u"%LOCALAPPDATA%";
};

struct FolderReport {
    std::vector<Finding> findings;
    // A file exists but could not be read.
    bool unreadable = false;
    // The ProgID this user's launcher would drive: their own settings',
    // else the folder's, else the default.
    std::u16string progId;

    void add(std::u16string_view path, int line, Severity severity, std::u16string message) {
        findings.push_back({std::u16string(path), line, severity, std::move(message)});
    }
};

// folder ends with a separator. Writes and removes probe files to learn
// whether the launcher could save its settings and new lists there.
FolderReport checkFolder(std::u16string_view folder, const FolderCheckOptions& options,
                         PlatformServices& services);

// "PATH:LINE: error: message", or "PATH: ..." for a whole file; no line end.
std::u16string formatFinding(const Finding& finding);

} // namespace morvane
