#include "platform/win32/file_writing.h"

#include <algorithm>
#include <atomic>

#include "platform/long_path.h"
#include "platform/win32/scoped.h"
#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

// The reason for the last error; taken before anything else can change it.
bool fail(std::u16string& reason) {
    reason = systemErrorText(GetLastError());
    return false;
}

bool writeAll(HANDLE file, std::string_view bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD put = 0;
        const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 30));
        if (!WriteFile(file, bytes.data() + done, want, &put, nullptr))
            return false;
        done += put;
    }
    return true;
}

// Fills the working copy; false with the reason, its handle closed.
bool fillWorkingCopy(const std::wstring& working, std::string_view bytes, std::u16string& reason,
                     const WorkingCopySteps& steps) {
    UniqueFile file(CreateFileW(working.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return fail(reason);
    if (!writeAll(file.get(), bytes) || !steps.flush(file.get())) {
        fail(reason);
        steps.close(file.release());
        return false;
    }
    if (!steps.close(file.release()))
        return fail(reason);
    return true;
}

} // namespace

std::wstring systemPath(std::u16string_view path) {
    return toWide(longPathForm(path));
}

std::u16string workingCopyPath(std::u16string_view path) {
    static std::atomic<unsigned long long> calls{0};
    return std::u16string(path) + u".tmp~" + fromWide(std::to_wstring(GetCurrentProcessId())) +
           u"-" + fromWide(std::to_wstring(++calls));
}

bool replaceFileAtomically(std::u16string_view path, std::string_view bytes, std::u16string& reason,
                           const WorkingCopySteps& steps) {
    // The working copy's name is longer than the target's: it may be the one
    // that needs the long form.
    const std::wstring target = systemPath(path);
    const std::wstring working = systemPath(workingCopyPath(path));
    if (!fillWorkingCopy(working, bytes, reason, steps)) {
        DeleteFileW(working.c_str());
        return false;
    }
    if (!MoveFileExW(working.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        fail(reason);
        DeleteFileW(working.c_str());
        return false;
    }
    return true;
}

} // namespace morvane
