#pragma once
// Windows' code-page conversions: the ANSI code page of the platform
// services, and the checked calls it makes.
#include <windows.h>

#include "services/services.h"

namespace morvane {

// WideCharToMultiByte and MultiByteToWideChar, with the preconditions
// Microsoft documents checked first (the flags the code page takes, a
// non-empty input, an output buffer that matches its size): a call Windows
// refuses is refused here too, with Windows' error and result 0, also under
// Wine, which takes what Windows does not. No default character is passed,
// as UTF-8 requires.
int checkedWideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* text, int length,
                               char* bytes, int size);
int checkedMultiByteToWideChar(UINT codePage, DWORD flags, const char* bytes, int size,
                               wchar_t* text, int length);

// A Windows code page by its number; CP_ACP is the system's ANSI code page.
// The flags of each conversion are chosen for the code page (code_page_flags.h).
class WindowsCodePage final : public AnsiCodePage {
  public:
    explicit WindowsCodePage(UINT id) : id_(id) {}

    std::u16string decode(std::string_view bytes) const override;
    std::string encode(std::u16string_view text) const override;
    unsigned number() const override;
    // Where the code page takes no MB_ERR_INVALID_CHARS, every byte sequence
    // decodes to something and counts as valid.
    bool isValid(std::string_view bytes) const override;
    const AnsiCodePage& cp932() const override;

  private:
    UINT id_;
};

} // namespace morvane
