#include "lisp/lsp_index.h"

#include <algorithm>
#include <optional>

#include "lisp/comma_list.h"
#include "lisp/comment_block.h"
#include "lisp/defun_locator.h"
#include "lisp/lsp_cleaner.h"
#include "services/services.h"
#include "text/letters.h"
#include "text/user_error.h"

namespace morvane {
namespace {

struct Position {
    size_t line;
    size_t column;
};

std::optional<size_t> nextNonEmptyLine(const LspLines& lines, size_t from) {
    for (size_t k = from; k < lines.size(); ++k)
        if (!lines[k].empty())
            return k;
    return std::nullopt;
}

std::optional<size_t> previousNonEmptyLine(const LspLines& lines, size_t below) {
    for (size_t k = below; k-- > 0;)
        if (!lines[k].empty())
            return k;
    return std::nullopt;
}

std::u16string gatherText(const LspLines& lines, Position start, Position end) {
    if (end.line < start.line)
        return {};
    if (end.line == start.line) {
        if (end.column < start.column)
            return {};
        return lines[start.line].substr(start.column, end.column - start.column + 1);
    }
    std::u16string text = lines[start.line].substr(start.column);
    for (size_t k = start.line + 1; k < end.line; ++k) {
        text += u' ';
        text += lines[k];
    }
    text += u' ';
    text += std::u16string_view(lines[end.line]).substr(0, end.column + 1);
    return text;
}

std::u16string itemLines(std::u16string_view text) {
    std::u16string result;
    for (const auto item : splitCommaList(text)) {
        result += item;
        result += u"\r\n";
    }
    return result;
}

// CR LF after every item becomes one blank between items.
std::u16string joinArgumentItems(std::u16string args) {
    std::u16string joined;
    joined.reserve(args.size());
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == u'\r' && i + 1 < args.size() && args[i + 1] == u'\n') {
            joined += u' ';
            ++i;
        } else {
            joined += args[i];
        }
    }
    if (!joined.empty() && joined.back() == u' ')
        joined.pop_back();
    return joined;
}

std::u16string listIndexError(long long index) {
    return u"List index out of bounds (" + toDecimal(index) + u")";
}

// One sorted locator row; appends its command row when it is a command.
void indexRow(std::u16string_view row, const LspLines& cleaned, CommentBlocks& comments,
              LspLines& index) {
    const auto fields = splitCommaList(row);
    if (fields.size() != 6)
        return;
    const int32_t s = rowFieldToInt(fields[2]);
    const int32_t c = rowFieldToInt(fields[3]);
    // Only a malformed nested row can point outside the file.
    if (s < 0 || c < 0 || static_cast<size_t>(s) > cleaned.size())
        throw UserError(listIndexError(s < 0 || c < 0 ? std::min(s, c) : s));
    auto text = std::u16string(fields[0]) + u' ';
    if (auto args = getDefunArgs(cleaned, s, c); !args.empty())
        text += joinArgumentItems(std::move(args));
    upperAsciiInPlace(text);
    if (!text.starts_with(u"C:"))
        return;
    const auto command = trimBlanks(std::u16string_view(text).substr(2));
    const auto description = comments.description(static_cast<size_t>(s));
    index.push_back(std::u16string(command) + u'\t' +
                    (description ? descriptionField(*description) : u"..."));
}

} // namespace

std::u16string getDefunArgs(const LspLines& cleaned, int32_t s, int32_t c) {
    if (s < 0 || static_cast<size_t>(s) >= cleaned.size())
        return {};
    int opens = 0;
    Position start{};
    for (size_t i = static_cast<size_t>(s); i < cleaned.size(); ++i) {
        const auto& line = cleaned[i];
        for (size_t j = i == static_cast<size_t>(s) ? static_cast<size_t>(std::max(c, 0)) : 0;
             j < line.size(); ++j) {
            const char16_t ch = line[j];
            if (ch == u'(') {
                if (++opens > 2)
                    return {};
                if (opens < 2)
                    continue;
                if (j + 1 < line.size()) {
                    start = {i, j + 1};
                    continue;
                }
                const auto next = nextNonEmptyLine(cleaned, i + 1);
                if (!next)
                    return {};
                start = {*next, 0};
            } else if (opens == 2 && (ch == u'/' || ch == u')')) {
                Position end{};
                if (j > 0) {
                    end = {i, j - 1};
                } else if (const auto above = previousNonEmptyLine(cleaned, i)) {
                    end = {*above, cleaned[*above].size() - 1};
                } else {
                    return {};
                }
                const auto text = gatherText(cleaned, start, end);
                return text.empty() ? std::u16string{} : itemLines(text);
            }
        }
    }
    return {};
}

void makeLspIndex(const LspLines& source, LspLines& index, const TextCollator& collator) {
    LspLines cleaned;
    cleanLspLines(source, cleaned);
    LspLines rows;
    findDefuns(cleaned, rows, true, collator);
    if (rows.empty())
        return;
    std::stable_sort(rows.begin(), rows.end(), [&collator](const auto& a, const auto& b) {
        return collator.compareIgnoreCase(a, b) < 0;
    });
    CommentBlocks comments(source);
    for (const auto& row : rows)
        indexRow(row, cleaned, comments, index);
}

std::u16string descriptionField(std::u16string_view description) {
    std::u16string field(description);
    std::replace(field.begin(), field.end(), u'\t', u' ');
    if (field.empty() || field.front() != u'"')
        return field;
    std::u16string quoted = u"\"";
    for (char16_t ch : field) {
        quoted += ch;
        if (ch == u'"')
            quoted += u'"';
    }
    quoted += u'"';
    return quoted;
}

int32_t rowFieldToInt(std::u16string_view text) {
    size_t i = 0;
    const bool negative = !text.empty() && text[0] == u'-';
    if (!text.empty() && (text[0] == u'-' || text[0] == u'+'))
        ++i;
    long long value = 0;
    bool valid = i < text.size();
    for (; valid && i < text.size(); ++i) {
        const char16_t ch = text[i];
        valid = ch >= u'0' && ch <= u'9' && value <= 2147483648LL;
        value = value * 10 + (ch - u'0');
    }
    if (negative)
        value = -value;
    if (!valid || value > 2147483647LL || value < -2147483648LL)
        throw UserError(u"'" + std::u16string(text) + u"' is not a valid integer value");
    return static_cast<int32_t>(value);
}

} // namespace morvane
