#include "standin_options.h"

#include <stdexcept>

namespace standin {
namespace {

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());
}

HwndType parseHwndType(const std::wstring& text) {
    if (text == L"i4")
        return HwndType::I4;
    if (text == L"i8")
        return HwndType::I8;
    if (text == L"bstr")
        return HwndType::Bstr;
    throw std::invalid_argument("--hwnd-type takes i4, i8 or bstr, not " + narrow(text));
}

unsigned parseMilliseconds(const std::wstring& text) {
    size_t used = 0;
    const unsigned long value = std::stoul(text, &used);
    if (used != text.size())
        throw std::invalid_argument("--busy-ms takes a number of milliseconds");
    return static_cast<unsigned>(value);
}

} // namespace

const wchar_t kUsage[] = L"StandinCad [--progid NAME] [--log FILE] [--no-document] [--minimized]\n"
                         L"           [--busy-ms N] [--reject] [--hwnd-type i4|i8|bstr]\n"
                         L"           [--register-only] [--no-type-library] [--unregister]";

Options parseOptions(const std::vector<std::wstring>& args) {
    Options options;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& arg = args[i];
        const auto value = [&]() -> const std::wstring& {
            if (i + 1 >= args.size())
                throw std::invalid_argument(narrow(arg) + " needs a value");
            return args[++i];
        };
        if (arg == L"--progid")
            options.progId = value();
        else if (arg == L"--log")
            options.logFile = value();
        else if (arg == L"--no-document")
            options.noDocument = true;
        else if (arg == L"--minimized")
            options.minimized = true;
        else if (arg == L"--busy-ms")
            options.busyMs = parseMilliseconds(value());
        else if (arg == L"--reject")
            options.reject = true;
        else if (arg == L"--hwnd-type")
            options.hwndType = parseHwndType(value());
        else if (arg == L"--register-only")
            options.registerOnly = true;
        else if (arg == L"--no-type-library")
            options.noTypeLibrary = true;
        else if (arg == L"--unregister")
            options.unregister = true;
        else
            throw std::invalid_argument("unknown option " + narrow(arg));
    }
    if (options.progId.empty())
        throw std::invalid_argument("--progid must not be empty");
    return options;
}

} // namespace standin
