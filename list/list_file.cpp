#include "list/list_file.h"

#include "services/services.h"
#include "text/letters.h"
#include "text/text_file.h"
#include "text/user_error.h"

namespace morvane {
namespace {

constexpr char16_t kTab = u'\t';
constexpr char16_t kQuote = u'"';

// Reads a quoted field starting at line[pos] (the opening quote). Returns the
// position after the closing quote, or npos when the quote never closes.
size_t readQuotedField(std::u16string_view line, size_t pos, std::u16string& value) {
    for (size_t p = pos + 1; p < line.size(); ++p) {
        if (line[p] != kQuote) {
            value.push_back(line[p]);
            continue;
        }
        if (p + 1 < line.size() && line[p + 1] == kQuote) {
            value.push_back(kQuote);
            ++p;
            continue;
        }
        return p + 1;
    }
    return std::u16string_view::npos;
}

bool isCommentLine(std::u16string_view line) {
    return !line.empty() && (line[0] == u'/' || line[0] == u';');
}

} // namespace

std::vector<std::u16string> splitListFields(std::u16string_view line) {
    std::vector<std::u16string> fields;
    if (line.empty())
        return fields;
    size_t pos = 0;
    for (;;) {
        if (pos < line.size() && line[pos] == kQuote) {
            std::u16string value;
            const size_t after = readQuotedField(line, pos, value);
            fields.push_back(std::move(value));
            if (after == std::u16string_view::npos || after >= line.size())
                return fields;
            // A TAB right after the closing quote starts the next field; any
            // other text up to the next TAB is a field of its own.
            pos = line[after] == kTab ? after + 1 : after;
            continue;
        }
        const size_t tab = line.find(kTab, pos);
        if (tab == std::u16string_view::npos) {
            fields.emplace_back(line.substr(pos));
            return fields;
        }
        fields.emplace_back(line.substr(pos, tab - pos));
        pos = tab + 1;
    }
}

std::optional<ListRow> classifyListLine(std::u16string_view line, int32_t row) {
    if (isCommentLine(line))
        return std::nullopt;
    auto fields = splitListFields(line);
    const size_t n = fields.size();
    ListRow record;
    record.row = row;
    if (n == 1 || (n >= 2 && fields[1].empty())) {
        record.command = std::move(fields[0]);
        return record;
    }
    if (n == 0)
        return std::nullopt;
    record.command = std::move(fields[0]);
    record.description = std::move(fields[1]);
    if (n == 2 || isBlank(fields[2]))
        return record;
    record.file = std::move(fields[2]);
    if (n >= 4 && !isBlank(fields[3]))
        record.parameters = std::move(fields[3]);
    return record;
}

ListRows parseListLines(const std::vector<std::u16string>& lines) {
    // Sized once to the line count, an upper bound, and cut once.
    ListRows records(lines.size());
    size_t count = 0;
    for (size_t j = 0; j < lines.size(); ++j) {
        if (auto record = classifyListLine(lines[j], static_cast<int32_t>(j)))
            records[count++] = std::move(*record);
    }
    records.resize(count);
    return records;
}

std::u16string cannotOpenFileMessage(std::u16string_view path, std::u16string_view reason) {
    return formatText(u"ファイル %s は開けません。 %s ", {path, reason});
}

DecodedText readDecodedFile(std::u16string_view path, const PlatformServices& services) {
    std::string bytes;
    std::u16string reason;
    if (!services.files.readFile(path, bytes, reason))
        throw UserError(cannotOpenFileMessage(path, reason));
    try {
        return decodeText(bytes, services.ansi);
    } catch (const ConversionError& e) {
        throw UserError(cannotOpenFileMessage(path, e.reason()));
    }
}

bool loadMorvaneList(std::u16string_view fName, const PlatformServices& services,
                     ListRows& records) {
    if (!services.files.fileExists(fName))
        return false;
    const auto lines = splitLines(readDecodedFile(fName, services).text);
    if (lines.empty())
        return false;
    records = parseListLines(lines);
    return true;
}

QuietListLoad loadMorvaneListQuietly(std::u16string_view fName, const PlatformServices& services) {
    QuietRead read = readTextQuietly(fName, services);
    QuietListLoad result{read.outcome, {}};
    if (read.outcome == QuietReadOutcome::Read)
        result.rows = parseListLines(read.lines);
    return result;
}

} // namespace morvane
