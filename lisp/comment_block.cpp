#include "lisp/comment_block.h"

#include "text/letters.h"
#include "text/text_file.h"

namespace morvane {
namespace {

constexpr int32_t kNotComment = -1;
constexpr int32_t kNoDescription = -1;
constexpr int32_t kUnknown = -2;

bool isCommentLine(std::u16string_view line) {
    const auto trimmed = trimBlanks(line);
    return !trimmed.empty() && trimmed.front() == u';';
}

std::u16string withoutChar(std::u16string_view text, char16_t removed) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text)
        if (c != removed)
            out.push_back(c);
    return out;
}

std::u16string blockLineText(std::u16string_view line) {
    return u"  " + withoutChar(trimBlanks(line), u';');
}

} // namespace

std::u16string getDefunComment(const LspLines& source, int32_t s) {
    if (s <= 0 || static_cast<size_t>(s) > source.size())
        return {};
    int32_t top = s;
    while (top > 0 && isCommentLine(source[static_cast<size_t>(top - 1)]))
        --top;
    std::u16string block;
    for (int32_t k = top; k < s; ++k) {
        if (k > top)
            block += u"\r\n";
        block += blockLineText(source[static_cast<size_t>(k)]);
    }
    return block;
}

std::optional<std::u16string> chooseDescription(std::u16string_view commentBlock) {
    for (const auto& line : splitLines(commentBlock)) {
        const auto trimmed = trimBlanks(line);
        if (trimmed.empty())
            continue;
        if (trimBlanks(withoutChar(trimmed, trimmed.front())).empty())
            continue;
        return std::u16string(trimmed);
    }
    return std::nullopt;
}

CommentBlocks::CommentBlocks(const LspLines& source)
    : source_(source), runTop_(source.size(), kNotComment),
      describingLine_(source.size(), kUnknown) {
    for (size_t k = 0; k < source.size(); ++k) {
        if (!isCommentLine(source[k]))
            continue;
        runTop_[k] =
            (k > 0 && runTop_[k - 1] != kNotComment) ? runTop_[k - 1] : static_cast<int32_t>(k);
    }
}

int32_t CommentBlocks::firstDescribingLine(int32_t top) {
    auto& known = describingLine_[static_cast<size_t>(top)];
    if (known != kUnknown)
        return known;
    known = kNoDescription;
    for (size_t k = static_cast<size_t>(top); k < source_.size() && runTop_[k] == top; ++k) {
        if (chooseDescription(blockLineText(source_[k]))) {
            known = static_cast<int32_t>(k);
            break;
        }
    }
    return known;
}

std::optional<std::u16string> CommentBlocks::description(size_t s) {
    if (s == 0 || s > source_.size() || runTop_[s - 1] == kNotComment)
        return std::nullopt;
    const int32_t line = firstDescribingLine(runTop_[s - 1]);
    if (line == kNoDescription || static_cast<size_t>(line) >= s)
        return std::nullopt;
    return chooseDescription(blockLineText(source_[static_cast<size_t>(line)]));
}

} // namespace morvane
