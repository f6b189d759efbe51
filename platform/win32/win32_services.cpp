// The Windows implementation of the platform services.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/file_kind.h"
#include "platform/win32/file_stamp.h"
#include "platform/win32/file_writing.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"
#include "platform/win32/windows_code_page.h"
#include "services/services.h"
#include "text/path_name.h"

namespace morvane {
namespace {

class UserLocaleCollator final : public TextCollator {
  public:
    int compareIgnoreCase(std::u16string_view a, std::u16string_view b) const override {
        const int result =
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wptr(a),
                           static_cast<int>(a.size()), wptr(b), static_cast<int>(b.size()));
        return result - CSTR_EQUAL;
    }
};

class Win32FileSystem final : public FileSystem {
  public:
    bool fileExists(std::u16string_view path) const override {
        return fileExistsFollowingLinks(systemPath(path).c_str());
    }

    bool readFile(std::u16string_view path, std::string& bytes,
                  std::u16string& reason) const override {
        UniqueFile file(CreateFileW(systemPath(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file)
            return fail(reason);
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(file.get(), &size))
            return fail(reason);
        bytes.assign(static_cast<size_t>(size.QuadPart), '\0');
        size_t done = 0;
        while (done < bytes.size()) {
            DWORD got = 0;
            const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
            if (!ReadFile(file.get(), bytes.data() + done, want, &got, nullptr))
                return fail(reason);
            if (got == 0)
                break;
            done += got;
        }
        bytes.resize(done);
        return true;
    }

    bool writeFileAtomic(std::u16string_view path, std::string_view bytes,
                         std::u16string& reason) override {
        return replaceFileAtomically(path, bytes, reason);
    }

    std::u16string workingCopyPath(std::u16string_view path) override {
        return morvane::workingCopyPath(path);
    }

    bool moveFile(std::u16string_view from, std::u16string_view to,
                  std::u16string& reason) override {
        if (MoveFileW(systemPath(from).c_str(), systemPath(to).c_str()))
            return true;
        return fail(reason);
    }

    bool removeFile(std::u16string_view path) override {
        return DeleteFileW(systemPath(path).c_str()) != 0;
    }

    std::optional<FileStamp> fileStamp(std::u16string_view path) const override {
        return fileStampFollowingLinks(systemPath(path).c_str());
    }

    bool canReplaceFile(std::u16string_view path) override {
        if (!folderTakesNewFile(path))
            return false;
        const std::wstring target = systemPath(path);
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES)
            return GetLastError() == ERROR_FILE_NOT_FOUND;
        if (attributes & FILE_ATTRIBUTE_DIRECTORY)
            return false;
        UniqueFile file(CreateFileW(target.c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        // Held open by a program that shares less than we do: the right to
        // write is there all the same.
        return file || GetLastError() == ERROR_SHARING_VIOLATION;
    }

  private:
    // A file of a name of its own made in path's folder; the system removes
    // it as it is closed, so not even a crash leaves it behind.
    static bool folderTakesNewFile(std::u16string_view path) {
        const std::u16string folder(path.substr(0, fileNameStart(path)));
        const std::u16string stem = folder + u"~morvanex-probe-" +
                                    fromWide(std::to_wstring(GetCurrentProcessId())) + u"-" +
                                    fromWide(std::to_wstring(GetTickCount64())) + u"-";
        for (int attempt = 0; attempt < 100; ++attempt) {
            UniqueFile probe(
                CreateFileW(systemPath(stem + fromWide(std::to_wstring(attempt))).c_str(),
                            GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
            if (probe)
                return true;
            if (GetLastError() != ERROR_FILE_EXISTS && GetLastError() != ERROR_ALREADY_EXISTS)
                return false;
        }
        return false;
    }

    static bool fail(std::u16string& reason) {
        reason = systemErrorText(GetLastError());
        return false;
    }
};

class Win32Clock final : public Clock {
  public:
    LocalTime now() const override {
        SYSTEMTIME st{};
        GetLocalTime(&st);
        return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
    }
    uint64_t steadyMilliseconds() const override { return GetTickCount64(); }
};

} // namespace

PlatformServices& platformServices() {
    static WindowsCodePage ansi(CP_ACP);
    static UserLocaleCollator collator;
    static Win32FileSystem files;
    static Win32Clock clock;
    static PlatformServices services{ansi, collator, files, clock};
    return services;
}

} // namespace morvane
