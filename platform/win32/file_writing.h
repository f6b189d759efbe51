#pragma once
// Writing files: the form of path the file functions are given, the names of
// working copies, and replacing a file through one.
#include <windows.h>

#include <string>
#include <string_view>

namespace morvane {

// What the file functions are given: long paths in the form that works
// whatever the system's long-path policy. Reasons and messages keep the
// user's own form of the path.
std::wstring systemPath(std::u16string_view path);

// path + ".tmp~<process id>-<call>": no other call, in this process or
// another running one, is given the same name.
std::u16string workingCopyPath(std::u16string_view path);

// The working copy's flush and close. On a file server a delayed write
// error shows only there, so either failing fails the write; a test makes
// them fail through this seam.
class WorkingCopySteps {
  public:
    virtual ~WorkingCopySteps() = default;
    virtual bool flush(HANDLE file) const { return FlushFileBuffers(file) != 0; }
    // The handle is gone afterwards, whatever the result, as with CloseHandle.
    virtual bool close(HANDLE file) const { return CloseHandle(file) != 0; }
};

// Writes bytes to a new working copy (workingCopyPath), flushes and closes
// it, then puts it in the place of path (MoveFileExW, write-through). Any
// failure leaves path as it was, removes the working copy and gives the
// system's reason.
bool replaceFileAtomically(std::u16string_view path, std::string_view bytes, std::u16string& reason,
                           const WorkingCopySteps& steps = WorkingCopySteps());

} // namespace morvane
