// The Windows implementation of the platform services.
#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/long_path.h"
#include "platform/services.h"
#include "platform/win32/file_kind.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

class AcpCodePage final : public AnsiCodePage {
  public:
    std::u16string decode(std::string_view bytes) const override {
        if (bytes.empty())
            return {};
        const int size = static_cast<int>(bytes.size());
        const int needed = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
        std::wstring out(static_cast<size_t>(needed), L'\0');
        MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, out.data(), needed);
        return fromWide(out);
    }
    std::string encode(std::u16string_view text) const override {
        if (text.empty())
            return {};
        const std::wstring wide = toWide(text);
        const int size = static_cast<int>(wide.size());
        // No best-fit guesses: what the code page cannot hold becomes its
        // default character.
        const DWORD flags = WC_NO_BEST_FIT_CHARS;
        const int needed =
            WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, nullptr);
        std::string out(static_cast<size_t>(needed), '\0');
        WideCharToMultiByte(CP_ACP, flags, wide.data(), size, out.data(), needed, nullptr, nullptr);
        return out;
    }
};

class UserLocaleCollator final : public TextCollator {
  public:
    int compareIgnoreCase(std::u16string_view a, std::u16string_view b) const override {
        const int result =
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, wptr(a),
                           static_cast<int>(a.size()), wptr(b), static_cast<int>(b.size()));
        return result - CSTR_EQUAL;
    }
};

// What the file functions are given: long paths in the form that works
// whatever the system's long-path policy. Reasons and messages keep the
// user's own form of the path.
std::wstring systemPath(std::u16string_view path) {
    return toWide(longPathForm(path));
}

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
        // The temporary name is longer than the target's: it may be the one
        // that needs the long form.
        const std::wstring target = systemPath(path);
        const std::wstring temp = systemPath(std::u16string(path) + u".tmp~" +
                                             fromWide(std::to_wstring(GetCurrentProcessId())));
        {
            UniqueFile file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
            if (!file)
                return fail(reason);
            size_t done = 0;
            while (done < bytes.size()) {
                DWORD put = 0;
                const DWORD want =
                    static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
                if (!WriteFile(file.get(), bytes.data() + done, want, &put, nullptr)) {
                    fail(reason);
                    file.reset();
                    DeleteFileW(temp.c_str());
                    return false;
                }
                done += put;
            }
            FlushFileBuffers(file.get());
        }
        if (!MoveFileExW(temp.c_str(), target.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
            fail(reason);
            DeleteFileW(temp.c_str());
            return false;
        }
        return true;
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

  private:
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
    static AcpCodePage ansi;
    static UserLocaleCollator collator;
    static Win32FileSystem files;
    static Win32Clock clock;
    static PlatformServices services{ansi, collator, files, clock};
    return services;
}

} // namespace morvane
