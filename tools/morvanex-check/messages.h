#pragma once
// Every text morvanex-check writes, in English and in Japanese: one table,
// so the rules are written once and name their messages by id. The level
// words of a finding (error, warning, note) and the "cad:" words stay English
// in both languages: editors and scripts parse them.
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "text/message_language.h"

namespace morvane {

// {1}, {2}... in a text are its arguments, in the order given; a language
// may place them in another order.
enum class MessageId {
    // MorvaneList.txt, TargetCAD_APIVersion.txt and MorvaneX.ini.
    BytesNotValid,
    LineIsUtf8,
    LineBreakTaken,
    ThirdFieldIgnored,
    CannotCheckHere,
    RelativeLisp,
    RelativeProgram,
    LispNotFound,
    ProgramNotFound,
    EmptyDescription,
    NoCommandNoFile,
    BlankAroundCommand,
    DuplicateCommand,
    NoCommandList,
    EmptyCommandList,
    NoTargetList,
    NoTab,
    TargetProgIdEmpty,
    TargetNameEmpty,
    DuplicateTargetName,
    NoSettingsFile,
    NotANumber,
    SettingsProgIdEmpty,
    ProgIdNotInTargets,
    HotkeyNotUsed,
    FolderNotWritable,
    SettingsPerUserAsked,
    SettingsPerUserUnwritable,
    // The CAD check's steps.
    NotRegistered,
    Registered,
    NotReachableElevated,
    NotReachableNotElevated,
    InstanceRunning,
    HwndIsWindow,
    HwndIsNoWindow,
    HwndUnreadable,
    DocumentOpen,
    NoDocument,
    ActiveDocumentUnreadable,
    // The CADs found on this PC.
    CadRunning,
    CadInstalled,
    CadVersionIndependent,
    CadVersionIndependentNow,
    CadOneVersion,
    CadNoDocumentToAsk,
    CadDescription,
    NoCadFound,
    // The tool itself.
    NotAFolder,
    ErrorCount,
    WarningCount,
    Summary,
    ClauseSeparator,
    Usage,
    CadWindowsOnly,
    ListCadsWindowsOnly,
    ListCadsAlone,
    OptionNeedsValue,
    OptionTwice,
    UnknownOption,
    UnknownLanguage,
    MoreThanOneFolder,
    ProgIdWithoutCad,
};

struct MessageText {
    MessageId id;
    std::u16string_view english;
    std::u16string_view japanese;
    // English for a count other than 1, where it differs.
    std::u16string_view englishPlural = {};
};

// The table, in the order of MessageId.
std::span<const MessageText> messageTable();

class Messages {
  public:
    explicit Messages(MessageLanguage language) : language_(language) {}
    MessageLanguage language() const { return language_; }
    std::u16string operator()(MessageId id,
                              std::initializer_list<std::u16string_view> args = {}) const;
    // A text whose {1} is n, English in its plural form unless n is 1.
    std::u16string count(MessageId id, size_t n) const;

  private:
    MessageLanguage language_;
};

// "ja..." is Japanese, anything else English: a locale name such as
// ja_JP.UTF-8, or the value of --lang.
MessageLanguage languageOfLocale(std::u16string_view locale);
// --lang's values: ja or en.
std::optional<MessageLanguage> languageOption(std::u16string_view value);

} // namespace morvane
