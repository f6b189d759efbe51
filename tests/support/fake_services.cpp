#include "support/fake_services.h"

namespace morvane::test {

bool FakeFileSystem::fileExists(std::u16string_view path) const {
    const std::u16string key(path);
    return files.count(key) || unreadable.count(key);
}

bool FakeFileSystem::readFile(std::u16string_view path, std::string& bytes,
                              std::u16string& reason) const {
    const std::u16string key(path);
    if (auto it = unreadable.find(key); it != unreadable.end()) {
        reason = it->second;
        return false;
    }
    auto it = files.find(key);
    if (it == files.end()) {
        reason = u"not found";
        return false;
    }
    bytes = it->second;
    return true;
}

bool FakeFileSystem::writeFileAtomic(std::u16string_view path, std::string_view bytes,
                                     std::u16string& reason) {
    const std::u16string key(path);
    if (auto it = unreadable.find(key); it != unreadable.end()) {
        reason = it->second;
        return false;
    }
    files[key] = std::string(bytes);
    return true;
}

bool FakeFileSystem::moveFile(std::u16string_view from, std::u16string_view to,
                              std::u16string& reason) {
    const std::u16string source(from), target(to);
    if (!files.count(source) || files.count(target)) {
        reason = u"cannot move";
        return false;
    }
    files[target] = std::move(files[source]);
    files.erase(source);
    return true;
}

bool FakeFileSystem::removeFile(std::u16string_view path) {
    return files.erase(std::u16string(path)) > 0;
}

} // namespace morvane::test
