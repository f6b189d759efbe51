#pragma once
// morvanex-check as the Windows exe runs it. Its files at any path length: The file services give
// a long path its \\?\ form only when the path is full, and a folder given
// relative to a short current folder can still be 260 characters or more; so
// every path is made full first, while the findings keep the form the user
// typed.
#include <string>
#include <string_view>
#include <vector>

#include "messages.h"
#include "services/services.h"
#include "shell/hotkey.h"

namespace morvane {

// GetFullPathNameW's answer, which takes paths of any length; the path as it
// is when it has none.
std::u16string fullPath(std::u16string_view path);

// RegisterHotKey refuses the hotkey: another program holds it.
bool hotkeyHeldElsewhere(const Hotkey& hotkey);

// An existing folder, at any path length.
bool isFolder(std::u16string_view path);

class FullPathFiles final : public FileSystem {
  public:
    explicit FullPathFiles(FileSystem& files) : files_(files) {}
    bool fileExists(std::u16string_view path) const override {
        return files_.fileExists(fullPath(path));
    }
    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override {
        return files_.readFile(fullPath(path), bytes, reason);
    }
    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override {
        return files_.writeFileAtomic(fullPath(path), bytes, reason);
    }
    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override {
        return files_.moveFile(fullPath(from), fullPath(to), reason);
    }
    std::u16string workingCopyPath(std::u16string_view path) override {
        return files_.workingCopyPath(fullPath(path));
    }
    bool removeFile(std::u16string_view path) override { return files_.removeFile(fullPath(path)); }
    std::optional<FileStamp> fileStamp(std::u16string_view path) const override {
        return files_.fileStamp(fullPath(path));
    }
    bool canReplaceFile(std::u16string_view path) override {
        return files_.canReplaceFile(fullPath(path));
    }

  private:
    FileSystem& files_;
};

class CadSystem;
class CadCatalog;

// runCheckTool with FOLDER defaulting to the exe's folder and every path
// reaching the services full; cad and catalog may be null (no --cad, no
// --list-cads).
int runCheckToolOnWindows(const std::vector<std::u16string>& args, PlatformServices& services,
                          CadSystem* cad, CadCatalog* catalog, MessageLanguage userLanguage,
                          std::u16string& out, std::u16string& err);

} // namespace morvane
