#pragma once
// The search box's comparison: both the search text and each row's shown
// text are folded, so that what an operator types with the input method on
// or off, in half-width or full-width, in hiragana or katakana finds the same
// rows; then the search text is cut into terms at its blanks.
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

// Folds, code unit by code unit, leaving every other unit as it is
// (surrogates included):
// - full-width ASCII U+FF01–U+FF5E to ASCII U+0021–U+007E;
// - the ideographic space U+3000 to the space U+0020;
// - half-width katakana and punctuation U+FF61–U+FF9F to their full-width
//   forms; a voiced or semi-voiced mark (ﾞ U+FF9E, ﾟ U+FF9F) right after a
//   half-width kana that takes it joins that kana (ｶﾞ→ガ, ﾊﾟ→パ, ｳﾞ→ヴ,
//   ﾜﾞ→ヷ, ｦﾞ→ヺ); any other mark stands alone and becomes the full-width
//   spacing mark ゛ U+309B or ゜ U+309C, so it still matches a mark typed in
//   full width;
// - hiragana U+3041–U+3096 to katakana U+30A1–U+30F6, and the iteration
//   marks ゝ ゞ to ヽ ヾ;
// - a to z to A to Z, also those that were full-width.
// Folding a folded text changes nothing.
std::u16string foldSearchText(std::u16string_view text);
// The same into out, reusing its buffer.
void foldSearchTextInto(std::u16string& out, std::u16string_view text);

// The terms of a folded search text: its runs between blanks (U+0020, which
// the ideographic space folds to). Blanks at either end separate nothing,
// and a text of blanks alone has no term.
std::vector<std::u16string_view> searchTerms(std::u16string_view foldedSearchText);

// True when the folded text holds every term, anywhere and in any order
// (terms may overlap). No term matches every text.
bool holdsEveryTerm(std::u16string_view foldedText, const std::vector<std::u16string_view>& terms);

} // namespace morvane
