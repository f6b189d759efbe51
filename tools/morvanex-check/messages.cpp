#include "messages.h"

#include <array>

#include "text/letters.h"

namespace morvane {
namespace {

using enum MessageId;

// The Japanese is written for the CAD operators who keep the lists, in the
// words of the users' guide: コマンドリスト, ターゲット CAD の一覧, 設定,
// グループ, 説明（2 列目）, 図面. Its sentences are joined with 。 and, like
// the English ones, end without a stop.
constexpr auto kMessages = std::to_array<MessageText>({
    {BytesNotValid, u"bytes not valid in code page {1}: the line shows as garbage",
     u"コードページ {1} の文字ではないバイトがあります。この行は文字化けして表示されます"},
    {LineIsUtf8,
     u"; the line is valid UTF-8: the file was saved as UTF-8 without a byte-order mark (save it "
     u"with one)",
     u"。この行は UTF-8 としては正しい文字なので、ファイルが BOM なしの UTF-8 で保存された"
     u"ようです（BOM 付きの UTF-8 で保存し直してください）"},
    {LineBreakTaken,
     u"; its last byte takes the line break with it: the launcher reads line {1} as part of "
     u"this line",
     u"。行末のバイトが改行を取り込むため、MorvaneX は {1} 行目をこの行の続きとして読みます"},
    {ThirdFieldIgnored, u"the third field {1} is neither a .lsp nor an .exe file: it is ignored",
     u"3 列目の {1} は .lsp でも .exe でもないため、無視されます"},
    {CannotCheckHere, u"{1} cannot be checked on this system",
     u"{1} はこのシステムでは確かめられません"},
    {RelativeLisp, u"{1} is relative to the launcher's current folder: not checked",
     u"{1} は MorvaneX の作業フォルダーからの相対パスです。確かめていません"},
    {RelativeProgram, u"{1} is looked up by Windows when started: not checked",
     u"{1} は起動するときに Windows が探します。確かめていません"},
    {LispNotFound, u"LISP file not found: {1}; a double-click shows {2}",
     u"LISP ファイルが見つかりません: {1}。ダブルクリックすると {2} と表示されます"},
    {ProgramNotFound, u"program not found: {1}; a double-click starts nothing",
     u"プログラムが見つかりません: {1}。ダブルクリックしても何も起動しません"},
    {EmptyDescription, u"{1} has an empty description: it is shown as a group",
     u"{1} は説明（2 列目）が空なので、グループとして表示されます"},
    {NoCommandNoFile, u"{1} has no command and no file: a double-click does nothing",
     u"{1} にはコマンドもファイルもありません。ダブルクリックしても何も起きません"},
    {BlankAroundCommand,
     u"the command {1} starts or ends with a blank: it is sent as typed, and many CADs take a "
     u"space as Enter",
     u"コマンド {1} の先頭か末尾に空白があります。空白もそのまま送られ、多くの CAD は空白を "
     u"Enter として扱います"},
    {DuplicateCommand, u"the command {1} is also on line {2}",
     u"コマンド {1} は {2} 行目にもあります"},
    {NoCommandList, u"there is no command list: the launcher shows no commands",
     u"コマンドリストがありません。MorvaneX にはコマンドが表示されません"},
    {EmptyCommandList, u"the command list is empty: the launcher shows no commands",
     u"コマンドリストが空です。MorvaneX にはコマンドが表示されません"},
    {NoTargetList,
     u"there is no target list: the caption stays {1} and the target dialog starts empty",
     u"ターゲット CAD の一覧がありません。タイトル バーは {1} のままで、ターゲット CAD の"
     u"ダイアログの一覧は空です"},
    {NoTab, u"no TAB between a name and a ProgID: the line names no CAD",
     u"名称と ProgID の間にタブがありません。この行はどの CAD も指しません"},
    {TargetProgIdEmpty, u"the ProgID is empty", u"ProgID が空です"},
    {TargetNameEmpty, u"the name is empty", u"名称が空です"},
    {DuplicateTargetName, u"the name {1} is also on line {2}", u"名称 {1} は {2} 行目にもあります"},
    {NoSettingsFile,
     u"there is no settings file: the window opens centred on the screen and drives {1}",
     u"設定ファイルがありません。ウィンドウは画面の中央に開き、ProgID {1} の CAD を操作します"},
    {NotANumber, u"{1}={2} is not a number: the default is used instead",
     u"{1}={2} は数値ではありません。代わりに既定値を使います"},
    {SettingsProgIdEmpty, u"the ProgID is empty: no CAD can be reached",
     u"ProgID が空です。どの CAD にも届きません"},
    {ProgIdNotInTargets, u"the ProgID {1} is not in the target list: the caption stays {2}",
     u"ProgID {1} はターゲット CAD の一覧にありません。タイトル バーは {2} のままです"},
    {HotkeyNotUsed, u"[Keys] Activate={1}: {2}", u"[Keys] Activate={1} は使えません。{2}"},
    {FolderNotWritable,
     u"the folder cannot be written ({1}): new lists and the target list cannot be saved",
     u"フォルダーに書き込めません（{1}）。新しいコマンドリストとターゲット CAD "
     u"の一覧を保存できません"},
    {SettingsPerUserAsked,
     u"each user keeps their own settings, as {1} asks: this user's are in {2}; the values it "
     u"lacks come from this file, which the launcher never writes",
     u"{1} の指定により、設定は利用者ごとに保存されます。この利用者の設定は {2} にあります。そこに"
     u"ない値はこのファイルから読まれ、このファイルに MorvaneX が書き込むことはありません"},
    {SettingsPerUserUnwritable,
     u"this user cannot write this file: their own settings are in {1}; the values it lacks come "
     u"from this file, which the launcher never writes",
     u"この利用者はこのファイルに書き込めません。この利用者の設定は {1} "
     u"に保存されます。そこにない値"
     u"はこのファイルから読まれ、このファイルに MorvaneX が書き込むことはありません"},

    {NotRegistered, u"the ProgID {1} is not registered", u"ProgID {1} は登録されていません"},
    {Registered, u"the ProgID {1} is registered", u"ProgID {1} は登録されています"},
    {NotReachableElevated,
     u"no running instance can be reached: {1}; this process runs elevated, and a CAD running "
     u"at another elevation level cannot be reached by COM, nor by MorvaneX",
     u"起動中の CAD に届きません: {1}。このチェックは管理者として実行されています。権限の"
     u"違う CAD には、COM でも MorvaneX からも届きません"},
    {NotReachableNotElevated,
     u"no running instance can be reached: {1}; this process does not run elevated, and a CAD "
     u"running at another elevation level cannot be reached by COM, nor by MorvaneX",
     u"起動中の CAD に届きません: {1}。このチェックは管理者としては実行されていません。権限の"
     u"違う CAD には、COM でも MorvaneX からも届きません"},
    {InstanceRunning, u"an instance is running", u"CAD が起動しています"},
    {HwndIsWindow, u"HWND gives its main window {1}", u"HWND はメイン ウィンドウ {1} を返します"},
    {HwndIsNoWindow, u"HWND gives {1}, which is no window: the CAD cannot be brought to the front",
     u"HWND が返す {1} はウィンドウではありません。CAD を前に出せません"},
    {HwndUnreadable, u"HWND cannot be read: {1}", u"HWND を読み取れません: {1}"},
    {DocumentOpen, u"a document is open (ActiveDocument)", u"図面が開いています（ActiveDocument）"},
    {NoDocument, u"no document is open (ActiveDocument gives none): commands have nowhere to go",
     u"図面が開いていません（ActiveDocument が図面を返しません）。コマンドの送り先がありません"},
    {ActiveDocumentUnreadable, u"ActiveDocument cannot be read: {1}",
     u"ActiveDocument を読み取れません: {1}"},

    {CadRunning, u"running", u"起動しています"},
    {CadInstalled, u"installed, not running", u"インストールされていますが、起動していません"},
    {CadVersionIndependent, u"version-independent", u"バージョンに依存しない ProgID です"},
    {CadVersionIndependentNow, u"version-independent, now {1}",
     u"バージョンに依存しない ProgID です（今は {1} を指します）"},
    {CadOneVersion, u"this version only", u"このバージョンだけを指します"},
    {CadNoDocumentToAsk, u"no document is open, so SendCommand was not asked",
     u"図面が開いていないので、SendCommand は確かめていません"},
    {CadDescription, u" ({1})", u"（{1}）"},
    {NoCadFound,
     u"no CAD found: no running program and no installed ProgID offers HWND, ActiveDocument and "
     u"the document's SendCommand",
     u"CAD が見つかりません。HWND と ActiveDocument、図面の SendCommand を備えた、起動中の"
     u"プログラムもインストールされた ProgID もありません"},

    {NotAFolder, u"not a folder that can be read", u"読み取れるフォルダーではありません"},
    {ErrorCount, u"{1} error", u"エラー {1} 件", u"{1} errors"},
    {WarningCount, u"{1} warning", u"警告 {1} 件", u"{1} warnings"},
    {Summary, u"{1}, {2}", u"{1}、{2}"},
    {ClauseSeparator, u"; ", u"。"},
    {Usage,
     u"usage: morvanex-check [FOLDER] [--cad [--progid PROGID]] [--lang ja|en]\n"
     u"       morvanex-check --list-cads [--lang ja|en]\n"
     u"  Checks the command list, target list and settings of a MorvaneX folder\n"
     u"  (default: the folder of this program on Windows, else the current one).\n"
     u"  --cad            also check that the CAD can be reached, and list the\n"
     u"                   CADs found on this PC (Windows only)\n"
     u"  --progid PROGID  the CAD to check instead of the settings' one (no list)\n"
     u"  --list-cads      only list the ProgIDs of the CADs found on this PC\n"
     u"                   (Windows only)\n"
     u"  --lang ja|en     the language of the messages (default: the user's)\n",
     u"使い方: morvanex-check [フォルダー] [--cad [--progid PROGID]] [--lang ja|en]\n"
     u"        morvanex-check --list-cads [--lang ja|en]\n"
     u"  MorvaneX のフォルダーのコマンドリスト、ターゲット CAD の一覧、設定を調べます\n"
     u"  （フォルダーの既定: Windows ではこのプログラムのフォルダー、ほかでは現在のフォルダー）。\n"
     u"  --cad            CAD に届くかも調べ、この PC で見つかった CAD の一覧も出します\n"
     u"                   （Windows のみ）\n"
     u"  --progid PROGID  設定の ProgID の代わりに調べる CAD（一覧は出しません）\n"
     u"  --list-cads      この PC で見つかった CAD の ProgID の一覧だけを出します\n"
     u"                   （Windows のみ）\n"
     u"  --lang ja|en     メッセージの言語（既定: ユーザーの表示言語）\n"},
    {CadWindowsOnly, u"--cad works on Windows only, where the CAD runs",
     u"--cad は CAD が動く Windows でだけ使えます"},
    {ListCadsWindowsOnly, u"--list-cads works on Windows only, where the CAD runs",
     u"--list-cads は CAD が動く Windows でだけ使えます"},
    {ListCadsAlone,
     u"--list-cads takes no folder and no other option but --lang (--cad without --progid lists "
     u"the CADs too)",
     u"--list-cads には --lang のほか、フォルダーもオプションも付けられません（--progid なしの "
     u"--cad でも CAD の一覧を出します）"},
    {OptionNeedsValue, u"{1} needs a value", u"{1} には値が必要です"},
    {OptionTwice, u"{1} given twice", u"{1} が 2 回指定されています"},
    {UnknownOption, u"unknown option {1}", u"{1} というオプションはありません"},
    {UnknownLanguage, u"--lang takes ja or en, not {1}",
     u"--lang には ja か en を指定します（{1} は使えません）"},
    {MoreThanOneFolder, u"more than one folder given", u"フォルダーが 2 つ以上指定されています"},
    {ProgIdWithoutCad, u"--progid is for --cad", u"--progid は --cad と一緒に使います"},
});

constexpr bool inIdOrder() {
    for (size_t i = 0; i < kMessages.size(); ++i)
        if (static_cast<size_t>(kMessages[i].id) != i)
            return false;
    return kMessages.size() == static_cast<size_t>(ProgIdWithoutCad) + 1;
}
static_assert(inIdOrder(), "one text for every MessageId, in its order");

std::u16string fill(std::u16string_view text, std::initializer_list<std::u16string_view> args) {
    std::u16string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t index = i + 2 < text.size() && text[i] == u'{' && text[i + 2] == u'}'
                                 ? static_cast<size_t>(text[i + 1] - u'1')
                                 : args.size();
        if (index < args.size()) {
            out += args.begin()[index];
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

} // namespace

std::span<const MessageText> messageTable() {
    return kMessages;
}

std::u16string Messages::operator()(MessageId id,
                                    std::initializer_list<std::u16string_view> args) const {
    const MessageText& text = kMessages[static_cast<size_t>(id)];
    return fill(language_ == MessageLanguage::kJapanese ? text.japanese : text.english, args);
}

std::u16string Messages::count(MessageId id, size_t n) const {
    const MessageText& text = kMessages[static_cast<size_t>(id)];
    std::u16string_view pattern = text.japanese;
    if (language_ == MessageLanguage::kEnglish)
        pattern = n != 1 && !text.englishPlural.empty() ? text.englishPlural : text.english;
    return fill(pattern, {toDecimal(static_cast<long long>(n))});
}

MessageLanguage languageOfLocale(std::u16string_view locale) {
    return locale.starts_with(u"ja") ? MessageLanguage::kJapanese : MessageLanguage::kEnglish;
}

std::optional<MessageLanguage> languageOption(std::u16string_view value) {
    if (value == u"ja")
        return MessageLanguage::kJapanese;
    if (value == u"en")
        return MessageLanguage::kEnglish;
    return std::nullopt;
}

} // namespace morvane
