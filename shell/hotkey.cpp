#include "shell/hotkey.h"

#include <iterator>

#include "text/letters.h"

namespace morvane {
namespace {

constexpr uint32_t kFirstF = 1;
constexpr uint32_t kLastF = 24;
constexpr uint32_t kReservedF = 12; // the debugger's

struct Modifier {
    std::u16string_view name; // as written canonically; compared in capitals
    uint32_t flag;
};
constexpr Modifier kModifiers[] = {
    {u"Ctrl", kHotkeyCtrl},
    {u"Alt", kHotkeyAlt},
    {u"Shift", kHotkeyShift},
    {u"Win", kHotkeyWin},
};

std::optional<uint32_t> modifierFlag(std::u16string_view capitals) {
    for (const auto& modifier : kModifiers)
        if (upperAscii(modifier.name) == capitals)
            return modifier.flag;
    return std::nullopt;
}

// The virtual-key code of a key name in capitals, or nullopt.
std::optional<uint32_t> virtualKey(std::u16string_view capitals) {
    if (capitals.size() == 1 && ((capitals[0] >= u'A' && capitals[0] <= u'Z') ||
                                 (capitals[0] >= u'0' && capitals[0] <= u'9')))
        return capitals[0];
    if (capitals == u"SPACE")
        return kVirtualKeySpace;
    // F1 to F24, without leading zeros.
    if (capitals.size() < 2 || capitals.size() > 3 || capitals[0] != u'F' || capitals[1] == u'0')
        return std::nullopt;
    uint32_t number = 0;
    for (char16_t c : capitals.substr(1)) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        number = number * 10 + (c - u'0');
    }
    if (number < kFirstF || number > kLastF)
        return std::nullopt;
    return kVirtualKeyF1 + number - kFirstF;
}

bool isFunctionKey(uint32_t key) {
    return key >= kVirtualKeyF1 && key <= kVirtualKeyF1 + kLastF - kFirstF;
}

HotkeySetting refused(HotkeyProblem::Kind kind, std::u16string_view part) {
    return HotkeySetting{std::nullopt, HotkeyProblem{kind, std::u16string(part)}};
}

std::u16string keyName(uint32_t key) {
    if (key == kVirtualKeySpace)
        return u"Space";
    if (isFunctionKey(key)) {
        std::u16string name(u"F");
        name += toDecimal(key - kVirtualKeyF1 + kFirstF);
        return name;
    }
    return std::u16string(1, static_cast<char16_t>(key));
}

// Why a value gives no hotkey, one line for each HotkeyProblem::Kind in its
// order; %s is the part concerned.
struct ProblemReason {
    std::u16string_view japanese;
    std::u16string_view english;
};
constexpr ProblemReason kProblemReasons[] = {
    // kEmptyPart
    {u"「+」の前後に名前のない所があります", u"a part between the \"+\" signs is empty"},
    // kUnknownName
    {u"「%s」は修飾キー（Ctrl, Alt, Shift, Win）でもキー（A～Z, 0～9, F1～F24, "
     u"Space）でもありません",
     u"\"%s\" is neither a modifier (Ctrl, Alt, Shift, Win) nor a key (A-Z, 0-9, F1-F24, Space)"},
    // kRepeatedModifier
    {u"「%s」が二度書かれています", u"\"%s\" is written twice"},
    // kNoKey
    {u"修飾キーだけでキーがありません", u"there is no key after the modifiers"},
    // kKeyNotLast
    {u"キー「%s」の後にまだ続きがあります（キーは一つ、最後に書きます）",
     u"the key \"%s\" is followed by more (one key, written last)"},
    // kReservedKey
    {u"F12 は Windows がデバッガー用に予約しています",
     u"F12 is reserved by Windows for the debugger"},
    // kModifierNeeded
    {u"Ctrl、Alt、Win のどれもない「%s」は、どのプログラムでもそのキーの入力を奪ってしまいます",
     u"\"%s\" without Ctrl, Alt or Win would take that key from the typing in every program"},
};
static_assert(std::size(kProblemReasons) == HotkeyProblem::kModifierNeeded + 1);

} // namespace

HotkeySetting parseHotkey(std::optional<std::u16string_view> value) {
    if (!value)
        return {};
    const std::u16string_view text = trimBlanks(*value);
    if (text.empty())
        return {};
    Hotkey hotkey;
    std::optional<std::u16string_view> keyPart;
    size_t start = 0;
    for (;;) {
        const size_t plus = text.find(u'+', start);
        const std::u16string_view part =
            trimBlanks(text.substr(start, plus == std::u16string_view::npos ? plus : plus - start));
        if (part.empty())
            return refused(HotkeyProblem::kEmptyPart, part);
        if (keyPart)
            return refused(HotkeyProblem::kKeyNotLast, *keyPart);
        const std::u16string capitals = upperAscii(part);
        if (const auto flag = modifierFlag(capitals)) {
            if (hotkey.modifiers & *flag)
                return refused(HotkeyProblem::kRepeatedModifier, part);
            hotkey.modifiers |= *flag;
        } else if (const auto key = virtualKey(capitals)) {
            if (*key == kVirtualKeyF1 + kReservedF - kFirstF)
                return refused(HotkeyProblem::kReservedKey, part);
            hotkey.virtualKey = *key;
            keyPart = part;
        } else {
            return refused(HotkeyProblem::kUnknownName, part);
        }
        if (plus == std::u16string_view::npos)
            break;
        start = plus + 1;
    }
    if (!keyPart)
        return refused(HotkeyProblem::kNoKey, {});
    if (!isFunctionKey(hotkey.virtualKey) &&
        !(hotkey.modifiers & (kHotkeyCtrl | kHotkeyAlt | kHotkeyWin)))
        return refused(HotkeyProblem::kModifierNeeded, *keyPart);
    return HotkeySetting{hotkey, std::nullopt};
}

uint32_t registrationModifiers(const Hotkey& hotkey) {
    return hotkey.modifiers | kHotkeyNoRepeat;
}

std::u16string hotkeyText(const Hotkey& hotkey) {
    std::u16string text;
    for (const auto& modifier : kModifiers)
        if (hotkey.modifiers & modifier.flag) {
            text += modifier.name;
            text += u'+';
        }
    return text + keyName(hotkey.virtualKey);
}

std::u16string hotkeyProblemText(const HotkeyProblem& problem, MessageLanguage language) {
    const bool japanese = language == MessageLanguage::kJapanese;
    const ProblemReason& reason = kProblemReasons[problem.kind];
    std::u16string text = formatText(japanese ? reason.japanese : reason.english, {problem.part});
    text += japanese ? u"：ホットキーは使われません" : u": the launcher has no hotkey";
    return text;
}

std::u16string hotkeyTakenText(const Hotkey& hotkey, MessageLanguage language) {
    return hotkeyText(hotkey) +
           (language == MessageLanguage::kJapanese
                ? u" はほかのプログラムが使っています：ホットキーは使われません"
                : u" is held by another program: the launcher has no hotkey");
}

} // namespace morvane
