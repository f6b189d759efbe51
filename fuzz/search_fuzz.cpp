// The search over random rows and search texts: folding is idempotent; an
// ASCII search over ASCII rows finds what the matcher of before folding
// reached beyond ASCII found (each word of a search of several); a piece of
// a row written in other case, kana or width finds the row; the search
// index changes no result; pins and their settings values hold together; the
// hotkey parser reads back its own text.
//
// Input: a flags byte, then texts separated by LF; the first text is the
// search, each further one a row (command, TAB, description). A byte below
// 0x80 is that character, 0x80 to 0xFE one of the characters the folding
// rules touch, 0xFF and two more bytes any UTF-16 code unit.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "list/pins.h"
#include "list/search_index.h"
#include "list/tree_model.h"
#include "shell/hotkey.h"
#include "tests/support/settings_read_back.h"
#include "text/letters.h"
#include "text/search_text.h"

using namespace morvane;
using morvane::fuzz::require;

namespace {

// The ranges' ends and their neighbours, the marks, the spaces, surrogates.
const std::u16string& touchedCharacters() {
    static const std::u16string characters = [] {
        std::u16string s = u"\u3000\u3001\u3040\u3041\u3042\u304C\u3094\u3096\u3097\u3099\u309A"
                           u"\u309B\u309C\u309D\u309E\u309F\u30A1\u30AB\u30AC\u30F4\u30FC\u30FD"
                           u"\uFF00\uFF01\uFF21\uFF3A\uFF41\uFF5A\uFF5E\uFF5F\uFF60\uFFA0"
                           u"\xD83D\xDE00\xD800\xDC00\u00E9\u7DDA";
        for (char16_t c = 0xFF61; c <= 0xFF9F; ++c)
            s.push_back(c);
        return s;
    }();
    return characters;
}

struct Input {
    uint8_t flags = 0;
    std::u16string search;
    std::vector<std::u16string> rows;
};

Input readInput(const uint8_t* data, size_t size) {
    Input input;
    if (size == 0)
        return input;
    input.flags = data[0];
    const bool asciiOnly = input.flags & 1;
    std::vector<std::u16string> texts(1);
    for (size_t i = 1; i < size; ++i) {
        const uint8_t byte = data[i];
        if (byte == '\n') {
            texts.emplace_back();
            continue;
        }
        char16_t c;
        if (asciiOnly) {
            c = byte & 0x7F;
        } else if (byte < 0x80) {
            c = byte;
        } else if (byte < 0xFF) {
            c = touchedCharacters()[(byte - 0x80) % touchedCharacters().size()];
        } else {
            c = static_cast<char16_t>((i + 2 < size ? data[i + 1] << 8 | data[i + 2] : 0));
            i += 2;
        }
        if (c != u'\n')
            texts.back().push_back(c);
    }
    input.search = texts[0];
    input.rows.assign(texts.begin() + 1, texts.end());
    return input;
}

bool isAscii(std::u16string_view text) {
    for (char16_t c : text)
        if (c >= 0x80)
            return false;
    return true;
}

// The matcher before folding reached beyond ASCII letter case.
bool previousMatch(std::u16string_view text, std::u16string_view search) {
    return upperAscii(text).find(upperAscii(search)) != std::u16string::npos;
}

void checkFolding(const Input& input) {
    for (const auto* text : {&input.search}) {
        const std::u16string once = foldSearchText(*text);
        require(once.size() <= text->size());
        require(foldSearchText(once) == once);
    }
    for (const auto& text : input.rows) {
        const std::u16string once = foldSearchText(text);
        require(foldSearchText(once) == once);
    }
}

ListRows rowsOf(const Input& input) {
    ListRows rows;
    int32_t key = 0;
    for (const auto& text : input.rows) {
        const size_t tab = text.find(u'\t');
        ListRow row;
        row.row = key;
        key += 1 + (input.flags >> 4 & 1); // gaps, as comment lines leave
        row.command = text.substr(0, tab);
        if (tab != std::u16string::npos)
            row.description = text.substr(tab + 1);
        if ((input.flags & 2) && key % 3 == 0 && !row.description.empty())
            row.file = u"f.lsp";
        rows.push_back(std::move(row));
    }
    return rows;
}

void checkSearch(std::u16string_view search, ListRows rows) {
    const std::u16string foldedSearch = foldSearchText(search);
    const auto terms = searchTerms(foldedSearch);
    const SearchIndex index(rows);
    const auto withIndex = reorderIntoSearchView(rows, search, nullptr, &index);
    const auto without = reorderIntoSearchView(rows, search);
    require(withIndex == without);
    if (!without) {
        require(rows.empty());
        return;
    }
    // The nodes are the matching entries in command order.
    size_t next = 0;
    for (const auto& row : rows) {
        if (!isCommandEntry(row))
            continue;
        const std::u16string shown = displayText(row);
        bool matched = holdsEveryTerm(foldSearchText(shown), terms);
        if (isAscii(shown) && isAscii(search)) {
            bool before = true;
            if (search.find(u' ') == std::u16string_view::npos)
                before = previousMatch(shown, search);
            else
                for (auto term : terms)
                    before = before && previousMatch(shown, term);
            require(matched == before);
        }
        if (matched) {
            require(next < without->size() && (*without)[next].row == row.row &&
                    (*without)[next].text == shown);
            ++next;
        }
    }
    require(next == without->size());
}

// A folded text written the other way: small letters, hiragana, ideographic
// spaces. It folds back to the same text.
std::u16string unfolded(std::u16string_view folded) {
    std::u16string text(folded);
    for (auto& c : text) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 0x20);
        else if (c >= 0x30A1 && c <= 0x30F6)
            c = static_cast<char16_t>(c - 0x60);
        else if (c == u' ')
            c = 0x3000;
    }
    return text;
}

// Random searches seldom occur in a row: searches cut from the rows' own
// folded texts, written the other way, must find their row, and over ASCII
// rows find what the matcher of before found.
void checkSearchesFromTheRows(const Input& input, const ListRows& rows) {
    size_t tried = 0;
    for (size_t k = 0; k < rows.size() && tried < 4; ++k) {
        if (!isCommandEntry(rows[k]))
            continue;
        ++tried;
        const std::u16string folded = foldSearchText(displayText(rows[k]));
        const size_t start = (input.flags + k * 7) % folded.size();
        const std::u16string search = unfolded(folded.substr(start, 1 + (input.flags + k) % 5));
        require(foldSearchText(search) == folded.substr(start, search.size()));
        checkSearch(search, rows);
        ListRows ordered = rows;
        const auto nodes = reorderIntoSearchView(ordered, search);
        require(std::any_of(nodes->begin(), nodes->end(),
                            [&](const TreeNode& node) { return node.row == rows[k].row; }));
    }
}

void checkPins(const Input& input, ListRows rows) {
    Pins pins;
    for (size_t k = 0; k < rows.size(); ++k)
        if ((input.flags >> (2 + k % 2)) & 1)
            pins.toggle(rows[k]);
    // The pin group heads the file-order view exactly when a pinned row is
    // present, and the rest is the view without pins.
    const auto plain = reorderIntoRowView(rows);
    const auto pinned = reorderIntoRowView(rows, nullptr, &pins);
    if (!plain) {
        require(!pinned);
        return;
    }
    const auto shown = pinnedRows(rows, pins);
    TreeNodes rest = *pinned;
    if (!shown.empty()) {
        require(!rest.empty() && rest.front().row == kPinGroupRow &&
                rest.front().children.size() == shown.size());
        for (const auto& child : rest.front().children)
            require(child.pinned && pins.isPinned(*findRow(rows, child.row)));
        rest.erase(rest.begin());
    }
    require(rest == *plain);

    std::vector<PinSettingProblem> problems;
    require(pinsFromSettingsValues(test::asReadBack(pinSettingsValues(pins)), &problems).list() ==
            pins.list());
    require(problems.empty());
}

void checkHotkey(const Input& input) {
    const HotkeySetting setting = parseHotkey(input.search);
    require(!(setting.hotkey && setting.problem));
    if (setting.hotkey)
        require(parseHotkey(hotkeyText(*setting.hotkey)).hotkey == setting.hotkey);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Input input = readInput(data, size);
    checkFolding(input);
    const ListRows rows = rowsOf(input);
    checkSearch(input.search, rows);
    checkSearchesFromTheRows(input, rows);
    checkPins(input, rows);
    checkHotkey(input);
    return 0;
}
