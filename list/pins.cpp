#include "list/pins.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

namespace morvane {
namespace {

// What the settings reader returns at most.
constexpr size_t kLongestValue = 2047;

Pin pinOf(const ListRow& row) {
    return Pin{row.command, row.file};
}

bool names(const Pin& pin, const ListRow& row) {
    return pin.command == row.command && pin.file == row.file;
}

// Characters the profile functions trim from either end of a value: the
// blanks of code 32 or less and, under Wine, every Unicode space too.
bool trimmedByReader(char16_t c) {
    return c <= 32 || c == 0x85 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) ||
           c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F || c == 0x3000 || c == 0xFEFF;
}

bool isQuote(char16_t c) {
    return c == u'"' || c == u'\'';
}

std::u16string settingsValueOf(const Pin& pin) {
    std::u16string value = pin.command + u'\t' + pin.file;
    // Without a file field the TAB ends the value: the reader may trim it,
    // as a value without a TAB reads the same.
    const std::u16string_view end = pin.file.empty() ? pin.command : pin.file;
    if (trimmedByReader(value.front()) || isQuote(value.front()) || end.empty() ||
        trimmedByReader(end.back()))
        value = u'"' + value + u'"';
    return value;
}

bool holdsLineBreakOrNul(std::u16string_view text) {
    return text.find_first_of(std::u16string_view(u"\r\n\0", 3)) != std::u16string_view::npos;
}

// 1 to 999999999, written without leading zeros.
std::optional<uint32_t> keyNumber(std::u16string_view key) {
    if (key.empty() || key.size() > 9 || key.front() == u'0')
        return std::nullopt;
    uint32_t number = 0;
    for (char16_t c : key) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + static_cast<uint32_t>(c - u'0');
    }
    return number;
}

} // namespace

bool canPin(const ListRow& row) {
    return isCommandEntry(row) && !row.command.empty() &&
           row.command.find(u'\t') == std::u16string::npos && !holdsLineBreakOrNul(row.command) &&
           !holdsLineBreakOrNul(row.file) && settingsValueOf(pinOf(row)).size() <= kLongestValue;
}

Pins::Pins(std::vector<Pin> pins) {
    for (auto& pin : pins)
        if (std::find(pins_.begin(), pins_.end(), pin) == pins_.end())
            pins_.push_back(std::move(pin));
}

bool Pins::isPinned(const ListRow& row) const {
    return std::any_of(pins_.begin(), pins_.end(), [&](const Pin& pin) { return names(pin, row); });
}

bool Pins::pin(const ListRow& row) {
    if (!canPin(row) || isPinned(row))
        return false;
    pins_.push_back(pinOf(row));
    return true;
}

bool Pins::unpin(const ListRow& row) {
    const auto found =
        std::find_if(pins_.begin(), pins_.end(), [&](const Pin& pin) { return names(pin, row); });
    if (found == pins_.end())
        return false;
    pins_.erase(found);
    return true;
}

bool Pins::toggle(const ListRow& row) {
    if (unpin(row))
        return false;
    return pin(row);
}

std::vector<const ListRow*> pinnedRows(const ListRows& rows, const Pins& pins) {
    std::vector<const ListRow*> found(pins.list().size(), nullptr);
    if (found.empty())
        return {};
    // Pins by command: the rows are many, the pins few, and each row costs
    // one look-up.
    std::unordered_multimap<std::u16string_view, size_t> byCommand;
    for (size_t k = 0; k < pins.list().size(); ++k)
        byCommand.emplace(pins.list()[k].command, k);
    for (const auto& row : rows) {
        if (!isCommandEntry(row))
            continue;
        const auto [first, last] = byCommand.equal_range(row.command);
        for (auto it = first; it != last; ++it) {
            const ListRow*& slot = found[it->second];
            if (pins.list()[it->second].file == row.file && (!slot || row.row < slot->row))
                slot = &row;
        }
    }
    std::erase(found, nullptr);
    return found;
}

SettingsPairs pinSettingsValues(const Pins& pins) {
    SettingsPairs pairs;
    pairs.reserve(pins.list().size());
    for (size_t k = 0; k < pins.list().size(); ++k) {
        std::u16string key;
        for (size_t n = k + 1; n > 0; n /= 10)
            key.insert(key.begin(), static_cast<char16_t>(u'0' + n % 10));
        pairs.emplace_back(std::move(key), settingsValueOf(pins.list()[k]));
    }
    return pairs;
}

Pins pinsFromSettingsValues(const SettingsPairs& pairs, std::vector<PinSettingProblem>* problems) {
    auto report = [&](PinSettingProblem::Kind kind, const std::u16string& key) {
        if (problems)
            problems->push_back({kind, key});
    };
    struct Numbered {
        uint32_t number;
        const std::pair<std::u16string, std::u16string>* pair;
    };
    std::vector<Numbered> numbered;
    for (const auto& pair : pairs) {
        const auto number = keyNumber(pair.first);
        if (!number) {
            report(PinSettingProblem::kKeyNotNumber, pair.first);
            continue;
        }
        const bool repeated = std::any_of(numbered.begin(), numbered.end(),
                                          [&](const Numbered& n) { return n.number == *number; });
        if (repeated) {
            report(PinSettingProblem::kKeyRepeated, pair.first);
            continue;
        }
        numbered.push_back({*number, &pair});
    }
    std::sort(numbered.begin(), numbered.end(),
              [](const Numbered& a, const Numbered& b) { return a.number < b.number; });
    std::vector<Pin> pins;
    for (const auto& [number, pair] : numbered) {
        const std::u16string_view value = pair->second;
        const size_t tab = value.find(u'\t');
        Pin pin{std::u16string(value.substr(0, tab)), tab == std::u16string_view::npos
                                                          ? std::u16string()
                                                          : std::u16string(value.substr(tab + 1))};
        if (pin.command.empty()) {
            report(PinSettingProblem::kNoCommand, pair->first);
            continue;
        }
        if (std::find(pins.begin(), pins.end(), pin) != pins.end()) {
            report(PinSettingProblem::kPinRepeated, pair->first);
            continue;
        }
        pins.push_back(std::move(pin));
    }
    return Pins(std::move(pins));
}

std::u16string pinSettingProblemText(const PinSettingProblem& problem, MessageLanguage language) {
    const bool japanese = language == MessageLanguage::kJapanese;
    const std::u16string& key = problem.key;
    switch (problem.kind) {
    case PinSettingProblem::kKeyNotNumber:
        return japanese
                   ? u"[Pinned] のキー「" + key +
                         u"」は 1, 2, … の番号ではありません：この行は使われません"
                   : u"[Pinned] key \"" + key + u"\" is not a number 1, 2, …: the line is ignored";
    case PinSettingProblem::kKeyRepeated:
        return japanese ? u"[Pinned] のキー「" + key + u"」が二度あります：後のほうは使われません"
                        : u"[Pinned] key \"" + key + u"\" appears twice: the later one is ignored";
    case PinSettingProblem::kNoCommand:
        return japanese ? u"[Pinned] " + key + u"= にコマンドがありません：この行は使われません"
                        : u"[Pinned] " + key + u"= names no command: the line is ignored";
    case PinSettingProblem::kPinRepeated:
        return japanese ? u"[Pinned] " + key + u"= は前のピンと同じです：一つとして扱います"
                        : u"[Pinned] " + key + u"= repeats an earlier pin: it counts once";
    }
    return {};
}

} // namespace morvane
