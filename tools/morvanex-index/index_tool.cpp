#include "index_tool.h"

#include <filesystem>
#include <optional>

#include "lisp/dropped_list.h"
#include "services/services.h"
#include "text/user_error.h"
#include "text/utf.h"

namespace morvane {
namespace {

constexpr std::string_view kUsage =
    "usage: morvanex-index FILE.lsp... [--exe-dir DIR] [--out FILE]\n"
    "  Prints the command-list rows (group, commands, load) for each file.\n"
    "  --exe-dir DIR  the program folder: its files load as Morvane\\NAME\n"
    "  --out FILE     write a command list (as a drop writes it, CR LF) instead;\n"
    "                 an existing FILE is kept as FILE<yyyymmddhhnnss>.txt\n";

struct Options {
    std::vector<std::u16string> files;
    std::optional<std::u16string> exeDir;
    std::optional<std::u16string> outFile;
    bool help = false;
};

// Fills options; returns an error text for a usage error.
std::optional<std::string> parseArgs(const std::vector<std::u16string>& args, Options& options) {
    bool onlyFiles = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const auto& arg = args[i];
        if (onlyFiles || arg.empty() || arg[0] != u'-' || arg == u"-") {
            options.files.push_back(arg);
            continue;
        }
        if (arg == u"--") {
            onlyFiles = true;
        } else if (arg == u"-h" || arg == u"--help") {
            options.help = true;
        } else if (arg == u"--exe-dir" || arg == u"--out") {
            auto& slot = arg == u"--out" ? options.outFile : options.exeDir;
            if (i + 1 == args.size())
                return utf16ToUtf8(arg) + " needs a value";
            if (slot)
                return utf16ToUtf8(arg) + " given twice";
            slot = args[++i];
        } else {
            return "unknown option " + utf16ToUtf8(arg);
        }
    }
    if (!options.help && options.files.empty())
        return "no LISP file given";
    return std::nullopt;
}

// The shell reports full paths; so does the tool, for load rows that work.
std::u16string fullPath(const std::u16string& path) {
    std::error_code error;
    const auto full = std::filesystem::absolute(std::filesystem::path(path), error);
    return error ? path : full.lexically_normal().u16string();
}

std::string fileError(std::u16string_view file, std::u16string_view message) {
    return "morvanex-index: " + utf16ToUtf8(file) + ": " + utf16ToUtf8(message) + "\n";
}

} // namespace

int runIndexTool(const std::vector<std::u16string>& args, PlatformServices& services,
                 std::string& out, std::string& err) {
    Options options;
    if (const auto usageError = parseArgs(args, options)) {
        err += "morvanex-index: " + *usageError + "\n" + std::string(kUsage);
        return kUsageError;
    }
    if (options.help) {
        out += kUsage;
        return kRowsProduced;
    }
    const auto programFolder = options.exeDir ? fullPath(*options.exeDir) : std::u16string();
    LspLines rows;
    for (const auto& file : options.files) {
        const auto path = fullPath(file);
        try {
            const auto lines = readLspFile(path, services);
            for (auto& row : buildDroppedList(path, programFolder, lines, services.collator))
                rows.push_back(std::move(row));
        } catch (const UserError& e) {
            err += fileError(file, e.message());
            return kFileError;
        }
    }
    if (rows.empty())
        return kNoCommand;
    if (options.outFile) {
        // As a drop does: an existing list is kept under a time-stamped name.
        try {
            const auto installed = installListFile(fullPath(*options.outFile), rows, services);
            if (!installed.backupPath.empty())
                err += "morvanex-index: the old list is kept as " +
                       utf16ToUtf8(installed.backupPath) + "\n";
        } catch (const UserError& e) {
            err += "morvanex-index: " + utf16ToUtf8(e.message()) + "\n";
            return kFileError;
        }
        return kRowsProduced;
    }
    for (const auto& row : rows)
        out += utf16ToUtf8(row) + "\n";
    return kRowsProduced;
}

} // namespace morvane
