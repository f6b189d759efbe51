#include "lisp/defun_locator.h"

#include <algorithm>
#include <optional>

#include "services/services.h"
#include "text/letters.h"

namespace morvane {
namespace {

constexpr std::u16string_view kDefun = u"(DEFUN ";
constexpr std::u16string_view kFill = u"         ";

bool matchesDefunAt(std::u16string_view line, size_t pos) {
    if (line.size() - pos < kDefun.size())
        return false;
    for (size_t k = 0; k < kDefun.size(); ++k) {
        char16_t c = line[pos + k];
        if (c >= u'a' && c <= u'z')
            c = static_cast<char16_t>(c - 0x20);
        if (c != kDefun[k])
            return false;
    }
    return true;
}

struct DefunStart {
    size_t column;
    std::u16string_view name;
};

// The first "(DEFUN " of the line, letter case ignored, when an opening
// parenthesis follows it on the line; later ones on the line never count.
std::optional<DefunStart> findDefunStart(std::u16string_view line) {
    for (size_t pos = line.find(u'('); pos != std::u16string_view::npos;
         pos = line.find(u'(', pos + 1)) {
        if (!matchesDefunAt(line, pos))
            continue;
        const size_t nameStart = pos + kDefun.size();
        const size_t paren = line.find(u'(', nameStart);
        if (paren == std::u16string_view::npos)
            return std::nullopt;
        return DefunStart{pos, line.substr(nameStart, paren - nameStart)};
    }
    return std::nullopt;
}

class DefunLocator {
  public:
    DefunLocator(LspLines& out, bool withFill, const TextCollator& collator)
        : out_(out), fill_(withFill ? kFill : std::u16string_view{}), collator_(collator) {}

    void line(size_t k, std::u16string_view text) {
        if (isBlank(text))
            return;
        size_t scanFrom = 0;
        if (!open_) {
            const auto start = findDefunStart(text);
            if (!start)
                return;
            open_ = true;
            opens_ = closes_ = 0;
            startLine_ = k;
            startColumn_ = scanFrom = start->column;
            name_.assign(start->name);
            pending_.clear();
        } else if (const auto inner = findDefunStart(text)) {
            pending_.push_back(std::u16string(inner->name) + u',' + toDecimal(k) + u',' +
                               toDecimal(static_cast<long long>(inner->column)));
        }
        countParentheses(k, text, scanFrom);
    }

  private:
    void countParentheses(size_t k, std::u16string_view text, size_t from) {
        for (size_t i = from; i < text.size(); ++i) {
            if (text[i] == u'(')
                ++opens_;
            else if (text[i] == u')')
                ++closes_;
            else
                continue;
            if (closes_ > 0 && opens_ == closes_) {
                close(k, i);
                return;
            }
        }
    }

    void close(size_t endLine, size_t endColumn) {
        out_.push_back(name_ + u',' + std::u16string(fill_) + u',' + toDecimal(startLine_) + u',' +
                       toDecimal(startColumn_) + u',' + toDecimal(endLine) + u',' +
                       toDecimal(static_cast<long long>(endColumn)));
        std::stable_sort(pending_.begin(), pending_.end(), [this](const auto& a, const auto& b) {
            return collator_.compareIgnoreCase(a, b) < 0;
        });
        for (const auto& nested : pending_)
            out_.push_back(name_ + u',' + nested);
        pending_.clear();
        open_ = false;
    }

    LspLines& out_;
    std::u16string_view fill_;
    const TextCollator& collator_;
    bool open_ = false;
    size_t opens_ = 0, closes_ = 0;
    long long startLine_ = 0;
    long long startColumn_ = 0;
    std::u16string name_;
    LspLines pending_;
};

} // namespace

void findDefuns(const LspLines& cleaned, LspLines& out, bool withFill,
                const TextCollator& collator) {
    if (cleaned.empty())
        return;
    out.clear();
    DefunLocator locator(out, withFill, collator);
    for (size_t k = 0; k < cleaned.size(); ++k)
        locator.line(k, cleaned[k]);
}

} // namespace morvane
