#include "support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

namespace morvane::test {

std::u16string pathText(const std::filesystem::path& path) {
    return path.u16string();
}

TempDir::TempDir() {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    for (;;) {
        std::ostringstream name;
        name << "morvane-test-" << stamp << "-" << counter++;
        path_ = std::filesystem::temp_directory_path() / name.str();
        if (std::filesystem::create_directory(path_))
            break;
    }
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::u16string TempDir::file(std::u16string_view name) const {
    return pathText(path_ / std::filesystem::path(std::u16string(name)));
}

std::u16string TempDir::folder() const {
    auto text = pathText(path_);
    text.push_back(static_cast<char16_t>(std::filesystem::path::preferred_separator));
    return text;
}

void TempDir::write(std::u16string_view name, std::string_view bytes) const {
    std::ofstream out(path_ / std::filesystem::path(std::u16string(name)), std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TempDir::read(std::u16string_view name) const {
    std::ifstream in(path_ / std::filesystem::path(std::u16string(name)), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

bool TempDir::exists(std::u16string_view name) const {
    return std::filesystem::exists(path_ / std::filesystem::path(std::u16string(name)));
}

std::set<std::u16string> TempDir::fileNames() const {
    std::set<std::u16string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
        names.insert(entry.path().filename().u16string());
    return names;
}

} // namespace morvane::test
