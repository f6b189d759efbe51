#include "platform/win32/windows_code_page.h"

#include <climits>

#include "platform/code_page_flags.h"
#include "platform/win32/win32_text.h"

namespace morvane {
namespace {

static_assert(code_page::kNoBestFitChars == WC_NO_BEST_FIT_CHARS);
static_assert(code_page::kFailOnInvalidUnits == WC_ERR_INVALID_CHARS);
static_assert(code_page::kFailOnInvalidBytes == MB_ERR_INVALID_CHARS);
static_assert(code_page::kPrecomposed == MB_PRECOMPOSED);

// The flags' rules are written for code page numbers, not for CP_ACP and
// its kind.
UINT resolved(UINT codePage) {
    switch (codePage) {
    case CP_ACP:
        return GetACP();
    case CP_OEMCP:
        return GetOEMCP();
    default:
        return codePage;
    }
}

int refuse(DWORD error) {
    SetLastError(error);
    return 0;
}

// The documented conditions on the input and the output buffer shared by
// both calls; the error Windows gives when one is not met, or 0.
template <class In, class Out>
DWORD bufferError(const In* input, int inputSize, const Out* output, int outputSize) {
    if (input == nullptr || inputSize == 0 || inputSize < -1 || outputSize < 0 ||
        (outputSize > 0) != (output != nullptr))
        return ERROR_INVALID_PARAMETER;
    return 0;
}

[[noreturn]] void throwLastError() {
    throw ConversionError(systemErrorText(GetLastError()));
}

int sizeOf(size_t size) {
    if (size > static_cast<size_t>(INT_MAX))
        throw ConversionError(systemErrorText(ERROR_ARITHMETIC_OVERFLOW));
    return static_cast<int>(size);
}

} // namespace

int checkedWideCharToMultiByte(UINT codePage, DWORD flags, const wchar_t* text, int length,
                               char* bytes, int size) {
    if (const DWORD error = bufferError(text, length, bytes, size))
        return refuse(error);
    if (!code_page::encodeTakes(resolved(codePage), flags))
        return refuse(ERROR_INVALID_FLAGS);
    return WideCharToMultiByte(codePage, flags, text, length, bytes, size, nullptr, nullptr);
}

int checkedMultiByteToWideChar(UINT codePage, DWORD flags, const char* bytes, int size,
                               wchar_t* text, int length) {
    if (const DWORD error = bufferError(bytes, size, text, length))
        return refuse(error);
    if (!code_page::decodeTakes(resolved(codePage), flags))
        return refuse(ERROR_INVALID_FLAGS);
    return MultiByteToWideChar(codePage, flags, bytes, size, text, length);
}

std::u16string WindowsCodePage::decode(std::string_view bytes) const {
    if (bytes.empty())
        return {};
    const UINT page = number();
    const DWORD flags = code_page::decodeFlags(page, false);
    const int size = sizeOf(bytes.size());
    const int needed = checkedMultiByteToWideChar(page, flags, bytes.data(), size, nullptr, 0);
    if (needed <= 0)
        throwLastError();
    std::wstring out(static_cast<size_t>(needed), L'\0');
    if (checkedMultiByteToWideChar(page, flags, bytes.data(), size, out.data(), needed) != needed)
        throwLastError();
    return fromWide(out);
}

std::string WindowsCodePage::encode(std::u16string_view text) const {
    if (text.empty())
        return {};
    const UINT page = number();
    const DWORD flags = code_page::encodeFlags(page);
    const std::wstring wide = toWide(text);
    const int length = sizeOf(wide.size());
    const int needed = checkedWideCharToMultiByte(page, flags, wide.data(), length, nullptr, 0);
    if (needed <= 0)
        throwLastError();
    std::string out(static_cast<size_t>(needed), '\0');
    if (checkedWideCharToMultiByte(page, flags, wide.data(), length, out.data(), needed) != needed)
        throwLastError();
    return out;
}

unsigned WindowsCodePage::number() const {
    return resolved(id_);
}

bool WindowsCodePage::isValid(std::string_view bytes) const {
    const UINT page = number();
    const DWORD flags = code_page::decodeFlags(page, true);
    if (bytes.empty() || flags == 0)
        return true;
    if (checkedMultiByteToWideChar(page, flags, bytes.data(), sizeOf(bytes.size()), nullptr, 0) !=
        0)
        return true;
    if (GetLastError() == ERROR_NO_UNICODE_TRANSLATION)
        return false;
    throwLastError();
}

const AnsiCodePage& WindowsCodePage::cp932() const {
    static const WindowsCodePage japanese(932);
    return japanese;
}

} // namespace morvane
