#include "check_tool.h"

#include <filesystem>
#include <optional>

#include "cad_check.h"
#include "cad_list.h"
#include "folder_check.h"

namespace morvane {
namespace {

struct Options {
    std::optional<std::u16string> folder;
    std::optional<std::u16string> progId;
    std::optional<MessageLanguage> language;
    bool cad = false;
    bool listCads = false;
    bool help = false;
};

// The language --lang asks for, read before anything else so that even the
// usage errors are in it; nullopt when it is not given or not valid.
std::optional<MessageLanguage> languageAskedFor(const std::vector<std::u16string>& args) {
    for (size_t i = 0; i + 1 < args.size(); ++i)
        if (args[i] == u"--lang")
            return languageOption(args[i + 1]);
    return std::nullopt;
}

std::optional<std::u16string> parseArgs(const std::vector<std::u16string>& args,
                                        const CheckEnvironment& environment, const Messages& say,
                                        Options& options) {
    const auto value = [&](size_t& i) -> std::optional<std::u16string> {
        if (i + 1 == args.size() || args[i + 1].empty())
            return std::nullopt;
        return args[++i];
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const auto& arg = args[i];
        if (arg == u"-h" || arg == u"--help") {
            options.help = true;
        } else if (arg == u"--cad") {
            if (!environment.cad)
                return say(MessageId::CadWindowsOnly);
            options.cad = true;
        } else if (arg == u"--list-cads") {
            if (!environment.catalog)
                return say(MessageId::ListCadsWindowsOnly);
            options.listCads = true;
        } else if (arg == u"--progid" || arg == u"--lang") {
            if ((arg == u"--progid" && options.progId) || (arg == u"--lang" && options.language))
                return say(MessageId::OptionTwice, {arg});
            const auto given = value(i);
            if (!given)
                return say(MessageId::OptionNeedsValue, {arg});
            if (arg == u"--progid") {
                options.progId = *given;
            } else {
                options.language = languageOption(*given);
                if (!options.language)
                    return say(MessageId::UnknownLanguage, {*given});
            }
        } else if (arg.starts_with(u"--")) {
            return say(MessageId::UnknownOption, {arg});
        } else if (options.folder) {
            return say(MessageId::MoreThanOneFolder);
        } else {
            options.folder = arg;
        }
    }
    if (options.listCads && (options.folder || options.cad || options.progId))
        return say(MessageId::ListCadsAlone);
    if (options.progId && !options.cad)
        return say(MessageId::ProgIdWithoutCad);
    return std::nullopt;
}

// One line a CAD found, or a note that there is none; whether any was found.
bool listCads(CadCatalog& catalog, const Messages& say, std::u16string& out) {
    const std::vector<FoundCad> cads = findCads(catalog);
    for (const auto& cad : cads)
        out += formatFoundCad(cad, say.language()) + u"\n";
    if (cads.empty())
        out += u"cad: note: " + say(MessageId::NoCadFound) + u"\n";
    return !cads.empty();
}

} // namespace

int runCheckTool(const std::vector<std::u16string>& args, const CheckEnvironment& environment,
                 PlatformServices& services, std::u16string& out, std::u16string& err) {
    const Messages say(languageAskedFor(args).value_or(environment.language));
    Options options;
    if (const auto usageError = parseArgs(args, environment, say, options)) {
        err += u"morvanex-check: " + *usageError + u"\n" + say(MessageId::Usage);
        return kCheckUsageError;
    }
    if (options.help) {
        out += say(MessageId::Usage);
        return kNoError;
    }
    if (options.listCads)
        return listCads(*environment.catalog, say, out) ? kNoError : kErrorsFound;
    std::u16string folder = options.folder.value_or(environment.defaultFolder);
    std::error_code error;
    if (environment.isFolder
            ? !environment.isFolder(folder)
            : !std::filesystem::is_directory(std::filesystem::path(folder), error)) {
        out += folder + u": error: " + say(MessageId::NotAFolder) + u"\n";
        return kUnreadable;
    }
    if (folder.empty() || (folder.back() != u'/' && folder.back() != environment.separator))
        folder += environment.separator;

    const FolderReport report =
        checkFolder(folder,
                    FolderCheckOptions{environment.windowsPaths, say.language(),
                                       environment.hotkeyTaken, environment.localAppData},
                    services);
    size_t errors = 0, warnings = 0;
    for (const auto& finding : report.findings) {
        out += formatFinding(finding) + u"\n";
        errors += finding.severity == Severity::Error;
        warnings += finding.severity == Severity::Warning;
    }
    if (options.cad) {
        for (const auto& step :
             checkCad(options.progId.value_or(report.progId), *environment.cad, say.language())) {
            out += formatCadStep(step) + u"\n";
            errors += !step.ok;
        }
        // Which ProgID to give, where none was asked about.
        if (!options.progId && environment.catalog)
            listCads(*environment.catalog, say, out);
    }
    out += say(MessageId::Summary, {say.count(MessageId::ErrorCount, errors),
                                    say.count(MessageId::WarningCount, warnings)}) +
           u"\n";
    if (report.unreadable)
        return kUnreadable;
    return errors ? kErrorsFound : kNoError;
}

} // namespace morvane
