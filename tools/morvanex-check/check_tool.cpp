#include "check_tool.h"

#include <filesystem>
#include <optional>

#include "cad_check.h"
#include "folder_check.h"
#include "text/letters.h"

namespace morvane {
namespace {

constexpr std::u16string_view kUsage =
    u"usage: morvanex-check [FOLDER] [--cad] [--progid PROGID]\n"
    u"  Checks the command list, target list and settings of a MorvaneX folder\n"
    u"  (default: the folder of this program on Windows, else the current one).\n"
    u"  --cad            also check that the CAD can be reached (Windows only)\n"
    u"  --progid PROGID  the CAD to check instead of the settings' one\n";

struct Options {
    std::optional<std::u16string> folder;
    std::optional<std::u16string> progId;
    bool cad = false;
    bool help = false;
};

std::optional<std::u16string> parseArgs(const std::vector<std::u16string>& args,
                                        const CheckEnvironment& environment, Options& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        const auto& arg = args[i];
        if (arg == u"-h" || arg == u"--help") {
            options.help = true;
        } else if (arg == u"--cad") {
            if (!environment.cad)
                return u"--cad works on Windows only, where the CAD runs";
            options.cad = true;
        } else if (arg == u"--progid") {
            if (i + 1 == args.size() || args[i + 1].empty())
                return u"--progid needs a value";
            if (options.progId)
                return u"--progid given twice";
            options.progId = args[++i];
        } else if (arg.starts_with(u"--")) {
            return u"unknown option " + arg;
        } else if (options.folder) {
            return u"more than one folder given";
        } else {
            options.folder = arg;
        }
    }
    if (options.progId && !options.cad)
        return u"--progid is for --cad";
    return std::nullopt;
}

std::u16string count(size_t n, std::u16string_view what) {
    std::u16string text = toDecimal(static_cast<long long>(n)) + u" " + std::u16string(what);
    if (n != 1)
        text += u's';
    return text;
}

} // namespace

int runCheckTool(const std::vector<std::u16string>& args, const CheckEnvironment& environment,
                 PlatformServices& services, std::u16string& out, std::u16string& err) {
    Options options;
    if (const auto usageError = parseArgs(args, environment, options)) {
        err += u"morvanex-check: " + *usageError + u"\n" + std::u16string(kUsage);
        return kCheckUsageError;
    }
    if (options.help) {
        out += kUsage;
        return kNoError;
    }
    std::u16string folder = options.folder.value_or(environment.defaultFolder);
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(folder), error)) {
        out += folder + u": error: not a folder that can be read\n";
        return kUnreadable;
    }
    if (folder.empty() || (folder.back() != u'/' && folder.back() != environment.separator))
        folder += environment.separator;

    const FolderReport report =
        checkFolder(folder, FolderCheckOptions{environment.windowsPaths}, services);
    size_t errors = 0, warnings = 0;
    for (const auto& finding : report.findings) {
        out += formatFinding(finding) + u"\n";
        errors += finding.severity == Severity::Error;
        warnings += finding.severity == Severity::Warning;
    }
    if (options.cad) {
        for (const auto& step :
             checkCad(options.progId.value_or(report.progId), *environment.cad)) {
            out += formatCadStep(step) + u"\n";
            errors += !step.ok;
        }
    }
    out += count(errors, u"error") + u", " + count(warnings, u"warning") + u"\n";
    if (report.unreadable)
        return kUnreadable;
    return errors ? kErrorsFound : kNoError;
}

} // namespace morvane
