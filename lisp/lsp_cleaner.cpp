#include "lisp/lsp_cleaner.h"

namespace morvane {
namespace {

constexpr char16_t kQuote = u'"';
constexpr char16_t kSemicolon = u';';
constexpr char16_t kBar = u'|';
constexpr char16_t kBackslash = u'\\';
constexpr char16_t kTab = u'\t';

// A quote is escaped by one backslash before it, but not by two; nothing
// before the line start is looked at.
bool quoteFlips(std::u16string_view line, size_t i) {
    if (i == 0 || line[i - 1] != kBackslash)
        return true;
    return i >= 2 && line[i - 2] == kBackslash;
}

// Carries the two flags over line ends: strings and block comments may span
// lines.
class LineCleaner {
  public:
    std::u16string clean(std::u16string_view line) {
        std::u16string out;
        size_t i = 0;
        const size_t n = line.size();
        while (i < n) {
            if (inString_) {
                i = skipString(line, i);
                continue;
            }
            if (inBlock_) {
                if (!skipBlock(line, i))
                    return out;
                continue;
            }
            const size_t runEnd = plainRunEnd(line, i);
            appendRun(out, line.substr(i, runEnd - i));
            i = runEnd;
            if (i == n)
                break;
            const char16_t c = line[i];
            if (c == kQuote) {
                inString_ = quoteFlips(line, i);
                ++i;
            } else if (!semicolon(line, i)) {
                return out;
            }
        }
        return out;
    }

  private:
    // Up to and past the quote that ends the string, or to the line end.
    size_t skipString(std::u16string_view line, size_t i) {
        for (; i < line.size(); ++i) {
            if (line[i] == kQuote && quoteFlips(line, i)) {
                inString_ = false;
                return i + 1;
            }
        }
        return i;
    }

    // Inside a block comment only quotes and semicolons matter. Returns false
    // when a line comment ends the line.
    bool skipBlock(std::u16string_view line, size_t& i) {
        for (; i < line.size(); ++i) {
            const char16_t c = line[i];
            if (c == kQuote && quoteFlips(line, i)) {
                inString_ = true;
                ++i;
                return true;
            }
            if (c == kSemicolon) {
                const bool more = semicolon(line, i);
                return more;
            }
        }
        return true;
    }

    // Applies the semicolon rule at line[i] and moves past it. Returns false
    // when the rest of the line is dropped.
    bool semicolon(std::u16string_view line, size_t& i) {
        if (i + 1 < line.size() && line[i + 1] == kBar) {
            inBlock_ = true;
        } else if (i > 0 && line[i - 1] == kBar) {
            inBlock_ = false;
        } else {
            return false;
        }
        ++i;
        return true;
    }

    static size_t plainRunEnd(std::u16string_view line, size_t i) {
        while (i < line.size()) {
            const char16_t c = line[i];
            if (c == kQuote || c == kSemicolon)
                break;
            ++i;
        }
        return i;
    }

    static void appendRun(std::u16string& out, std::u16string_view run) {
        const size_t start = out.size();
        out.append(run);
        for (size_t k = start; k < out.size(); ++k)
            if (out[k] == kTab)
                out[k] = u' ';
    }

    bool inString_ = false;
    bool inBlock_ = false;
};

} // namespace

void cleanLspLines(const LspLines& source, LspLines& dest) {
    LineCleaner cleaner;
    dest.reserve(dest.size() + source.size());
    for (const auto& line : source)
        dest.push_back(cleaner.clean(line));
}

} // namespace morvane
