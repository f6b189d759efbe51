// The target list: line parts, matching, sorted insertion and the dialog's
// handlers over a recording view.
#include <gtest/gtest.h>

#include <functional>

#include "cad_targets/target_dialog_model.h"
#include "cad_targets/target_line.h"
#include "support/fake_services.h"
#include "text/user_error.h"

namespace morvane {
namespace {

using Lines = std::vector<std::u16string>;

struct SplitCase {
    const char* name;
    friend void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }
    std::u16string line;
    std::u16string targetName;
    std::u16string progId;
};

class SplitTargetLine : public testing::TestWithParam<SplitCase> {};

TEST_P(SplitTargetLine, SplitsAtTheFirstTab) {
    const auto parts = splitTargetLine(GetParam().line);
    EXPECT_EQ(parts.name, GetParam().targetName);
    EXPECT_EQ(parts.progId, GetParam().progId);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SplitTargetLine,
    testing::Values(SplitCase{"name_and_progid", u"BricsCAD V25\tBricscadApp.AcadApplication.25",
                              u"BricsCAD V25", u"BricscadApp.AcadApplication.25"},
                    SplitCase{"no_tab_is_all_progid", u"Only.ProgID", u"", u"Only.ProgID"},
                    SplitCase{"second_tab_stays_in_progid", u"n\tp\tq", u"n", u"p\tq"},
                    SplitCase{"single_tab", u"\t", u"", u""},
                    SplitCase{"empty_line", u"", u"", u""},
                    SplitCase{"nothing_trimmed", u" n \t p ", u" n ", u" p "}),
    [](const auto& info) { return std::string(info.param.name); });

struct MatchCase {
    const char* name;
    friend void PrintTo(const MatchCase& c, std::ostream* os) { *os << c.name; }
    std::u16string line;
    std::u16string progId;
    bool matches;
};

class TargetLineMatches : public testing::TestWithParam<MatchCase> {};

TEST_P(TargetLineMatches, ByTabAndProgIdContainment) {
    EXPECT_EQ(targetLineMatches(GetParam().line, GetParam().progId), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, TargetLineMatches,
    testing::Values(MatchCase{"exact", u"x\tA.B", u"A.B", true},
                    MatchCase{"versioned_progid", u"x\tBricscadApp.AcadApplication.25",
                              u"BricscadApp.AcadApplication", true},
                    MatchCase{"case_matters", u"x\ta.b", u"A.B", false},
                    MatchCase{"needs_the_tab", u"A.B", u"A.B", false},
                    MatchCase{"text_in_name_only", u"A.B\tother", u"A.B", false},
                    MatchCase{"after_second_tab", u"x\ty\tA.B", u"A.B", true},
                    MatchCase{"empty_progid_any_tab", u"x\t", u"", true},
                    MatchCase{"empty_progid_without_tab", u"x", u"", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FindTargetName, FirstMatchInOrderTextBeforeTheOccurrence) {
    const Lines lines{u"none\tOther", u"a\tb\tAcad.App.2", u"later\tAcad.App"};
    EXPECT_EQ(findTargetName(lines, u"Acad.App"), u"a\tb");
    EXPECT_EQ(findTargetName(lines, u"Missing"), std::nullopt);
}

TEST(TargetList, SortsIgnoringCaseAndKeepsEqualLinesInArrivalOrder) {
    TargetList list(platformServices().collator);
    for (const char16_t* line : {u"B\tp2", u"a\tp1", u"c\tp3", u"A\tp1", u"a\tp1"})
        list.addSorted(line);
    EXPECT_EQ(list.lines(), (Lines{u"a\tp1", u"A\tp1", u"a\tp1", u"B\tp2", u"c\tp3"}));
    EXPECT_EQ(list.findIgnoreCase(u"A\tP1"), 0);
    EXPECT_EQ(list.findIgnoreCase(u"b\tP2"), 3);
    EXPECT_EQ(list.findIgnoreCase(u"d"), -1);
}

TEST(TargetList, SelectionFollowsItsLine) {
    TargetList list(platformServices().collator);
    list.addSorted(u"b");
    list.addSorted(u"d");
    list.select(1);
    list.addSorted(u"a");
    EXPECT_EQ(list.selected(), 2);
    list.removeAt(0);
    EXPECT_EQ(list.selected(), 1);
    list.removeAt(1);
    EXPECT_EQ(list.selected(), -1);
    list.select(5);
    EXPECT_EQ(list.selected(), -1);
}

std::u16string errorText(const std::function<void()>& action) {
    try {
        action();
    } catch (const UserError& e) {
        return e.message();
    }
    return u"<no error>";
}

TEST(TargetList, IndexChecks) {
    TargetList list(platformServices().collator);
    list.addSorted(u"a");
    EXPECT_EQ(errorText([&] { list.at(-1); }), u"リストのインデックスが範囲を超えています (-1)");
    EXPECT_EQ(errorText([&] { list.at(1); }), u"リストのインデックスが範囲を超えています (1)");
    EXPECT_EQ(errorText([&] { list.replaceAt(1, u"x"); }),
              u"リストのインデックスが範囲を超えています (1)");
    EXPECT_FALSE(list.removeAt(-1));
    EXPECT_EQ(list.lines(), Lines{u"a"});
}

// Mirrors the effects the way the dialog's list box and edits would, and logs
// them in order.
class RecordingView final : public TargetDialogView {
  public:
    Lines lines;
    int selection = -1;
    std::u16string name, progId;
    std::vector<std::string> log;

    std::u16string nameText() const override { return name; }
    std::u16string progIdText() const override { return progId; }
    void setNameText(std::u16string_view text) override {
        name = text;
        log.push_back("name");
    }
    void setProgIdText(std::u16string_view text) override {
        progId = text;
        log.push_back("progId");
    }
    void listCleared() override {
        lines.clear();
        selection = -1;
        log.push_back("clear");
    }
    void lineInserted(int index, std::u16string_view line) override {
        lines.insert(lines.begin() + index, std::u16string(line));
        if (selection >= index)
            ++selection;
        log.push_back("insert " + std::to_string(index));
    }
    void lineRemoved(int index) override {
        lines.erase(lines.begin() + index);
        if (selection == index)
            selection = -1;
        else if (selection > index)
            --selection;
        log.push_back("remove " + std::to_string(index));
    }
    void selectionSet(int index) override {
        selection = index;
        log.push_back("select " + std::to_string(index));
    }
};

const std::u16string kListPath = u"C:\\MorvaneX\\TargetCAD_APIVersion.txt";

std::string crlf(const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines)
        bytes += line + "\r\n";
    return bytes;
}

// The dialog's logic over a fake file and a recording view.
struct TargetDialog {
    test::FakeServices fake;
    RecordingView view;
    TargetDialogModel model{kListPath, fake.services, view};

    void putFile(std::string bytes) { fake.files.files[kListPath] = std::move(bytes); }
    std::string fileBytes() const {
        auto it = fake.files.files.find(kListPath);
        return it == fake.files.files.end() ? std::string("<none>") : it->second;
    }
    void open(std::string bytes, std::u16string_view progId = u"") {
        putFile(std::move(bytes));
        model.load(progId);
    }
    void type(std::u16string name, std::u16string progId) {
        view.name = std::move(name);
        view.progId = std::move(progId);
    }
    // The view must show what the model holds after every handler.
    void expectViewInStep() const {
        EXPECT_EQ(view.lines, model.list().lines());
        EXPECT_EQ(view.selection, model.list().selected());
    }
    UserError errorOf(void (TargetDialogModel::*handler)()) {
        try {
            (model.*handler)();
        } catch (const UserError& e) {
            return e;
        }
        ADD_FAILURE() << "no error";
        return UserError(u"");
    }
};

const std::u16string kIndexError = u"リストのインデックスが範囲を超えています (-1)";

struct DeleteCase {
    const char* name;
    friend void PrintTo(const DeleteCase& c, std::ostream* os) { *os << c.name; }
    std::vector<std::string> file;
    int selectedBefore;
    Lines linesAfter;
    int selectedAfter;
    std::u16string nameAfter;
};

class DeleteSelects : public testing::TestWithParam<DeleteCase> {};

TEST_P(DeleteSelects, TheNeighbourTheRuleNames) {
    const auto& c = GetParam();
    TargetDialog dialog;
    dialog.open(crlf(c.file));
    dialog.model.userSelected(c.selectedBefore);
    dialog.model.deleteTarget();
    EXPECT_EQ(dialog.model.list().lines(), c.linesAfter);
    EXPECT_EQ(dialog.model.list().selected(), c.selectedAfter);
    EXPECT_EQ(dialog.view.name, c.nameAfter);
    EXPECT_EQ(dialog.view.progId, c.nameAfter.empty() ? u"" : u"p" + c.nameAfter);
    dialog.expectViewInStep();
    std::string saved;
    for (const auto& line : c.linesAfter)
        saved += std::string(line.begin(), line.end()) + "\r\n";
    EXPECT_EQ(dialog.fileBytes(), saved);
}

INSTANTIATE_TEST_SUITE_P(
    Neighbours, DeleteSelects,
    testing::Values(
        DeleteCase{"B_of_ABCD_selects_C",
                   {"A\tpA", "B\tpB", "C\tpC", "D\tpD"},
                   1,
                   {u"A\tpA", u"C\tpC", u"D\tpD"},
                   1,
                   u"C"},
        DeleteCase{"C_of_ABCD_selects_B",
                   {"A\tpA", "B\tpB", "C\tpC", "D\tpD"},
                   2,
                   {u"A\tpA", u"B\tpB", u"D\tpD"},
                   1,
                   u"B"},
        DeleteCase{"D_of_ABCD_selects_C",
                   {"A\tpA", "B\tpB", "C\tpC", "D\tpD"},
                   3,
                   {u"A\tpA", u"B\tpB", u"C\tpC"},
                   2,
                   u"C"},
        DeleteCase{
            "B_of_ABC_selects_A", {"A\tpA", "B\tpB", "C\tpC"}, 1, {u"A\tpA", u"C\tpC"}, 0, u"A"},
        DeleteCase{"A_of_AB_selects_nothing", {"A\tpA", "B\tpB"}, 0, {u"B\tpB"}, -1, u""},
        DeleteCase{"B_of_AB_selects_A", {"A\tpA", "B\tpB"}, 1, {u"A\tpA"}, 0, u"A"},
        DeleteCase{"only_line_leaves_empty_file", {"A\tpA"}, 0, {}, -1, u""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TargetDialogDelete, NothingSelectedEmptiesEditsThenFailsWithoutSaving) {
    TargetDialog dialog;
    dialog.open("A\tpA\n", u"none");
    dialog.type(u"typed", u"text");
    dialog.view.log.clear();
    EXPECT_EQ(dialog.errorOf(&TargetDialogModel::deleteTarget).message(), kIndexError);
    EXPECT_EQ(dialog.view.log, (std::vector<std::string>{"name", "progId", "select -1"}));
    EXPECT_EQ(dialog.view.name, u"");
    EXPECT_EQ(dialog.view.progId, u"");
    EXPECT_EQ(dialog.model.list().lines(), Lines{u"A\tpA"});
    EXPECT_EQ(dialog.fileBytes(), "A\tpA\n") << "nothing may be saved";
}

TEST(TargetDialogDelete, NothingSelectedInAnEmptyListSavesTheEmptyList) {
    TargetDialog dialog;
    dialog.open("\xEF\xBB\xBF");
    dialog.putFile("stale");
    dialog.type(u"typed", u"text");
    dialog.model.deleteTarget();
    EXPECT_EQ(dialog.view.name, u"");
    EXPECT_EQ(dialog.fileBytes(), "\xEF\xBB\xBF");
}

TEST(TargetDialogShow, EmptyProgIdPreselectsTheFirstLineWithATab) {
    TargetDialog dialog;
    dialog.open(crlf({"no tab", "B\tp2", "a\tp1"}), u"");
    EXPECT_EQ(dialog.model.list().lines(), (Lines{u"a\tp1", u"B\tp2", u"no tab"}));
    EXPECT_EQ(dialog.model.list().selected(), 0);
    EXPECT_EQ(dialog.view.progId, u"p1");
}

TEST(TargetDialogAdd, GoesToItsSortedPlaceIsSelectedAndSaved) {
    TargetDialog dialog;
    dialog.open(crlf({"B\tp2", "a\tp1"}), u"no such id");
    dialog.type(u"C", u"p3");
    dialog.model.addTarget();
    EXPECT_EQ(dialog.model.list().lines(), (Lines{u"a\tp1", u"B\tp2", u"C\tp3"}));
    EXPECT_EQ(dialog.model.list().selected(), 2);
    EXPECT_EQ(dialog.fileBytes(), crlf({"a\tp1", "B\tp2", "C\tp3"}));
    dialog.expectViewInStep();
}

TEST(TargetDialogAdd, EmptyEditsAddASingleTab) {
    TargetDialog dialog;
    dialog.open(crlf({"x\tp"}), u"none");
    dialog.type(u"", u"");
    dialog.model.addTarget();
    const int at = dialog.model.list().selected();
    ASSERT_GE(at, 0);
    EXPECT_EQ(dialog.model.list().lines()[static_cast<size_t>(at)], u"\t");
    EXPECT_EQ(dialog.view.name, u"");
    EXPECT_EQ(dialog.view.progId, u"");
    EXPECT_NE(dialog.fileBytes().find("\t\r\n"), std::string::npos);
}

TEST(TargetDialogAdd, OlderLineDifferingOnlyInCaseIsTheOneSelected) {
    TargetDialog dialog;
    dialog.open(crlf({"cad\tapp.x"}), u"none");
    dialog.type(u"CAD", u"APP.X");
    dialog.model.addTarget();
    EXPECT_EQ(dialog.model.list().lines(), (Lines{u"cad\tapp.x", u"CAD\tAPP.X"}));
    EXPECT_EQ(dialog.model.list().selected(), 0);
    EXPECT_EQ(dialog.view.name, u"cad");
    EXPECT_EQ(dialog.view.progId, u"app.x");
}

struct EncodingCase {
    const char* name;
    friend void PrintTo(const EncodingCase& c, std::ostream* os) { *os << c.name; }
    std::string before; // "<none>" for no file
    std::string after;  // after adding b / p2
};

std::string le(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text)
        bytes += static_cast<char>(c & 0xFF), bytes += static_cast<char>(c >> 8);
    return bytes;
}

std::string be(std::u16string_view text) {
    std::string bytes;
    for (char16_t c : text)
        bytes += static_cast<char>(c >> 8), bytes += static_cast<char>(c & 0xFF);
    return bytes;
}

class SavedEncoding : public testing::TestWithParam<EncodingCase> {};

TEST_P(SavedEncoding, IsTheOneLastReadWithItsMark) {
    TargetDialog dialog;
    if (GetParam().before != "<none>")
        dialog.putFile(GetParam().before);
    dialog.model.load(u"none");
    dialog.type(u"b", u"p2");
    dialog.model.addTarget();
    EXPECT_EQ(dialog.fileBytes(), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Files, SavedEncoding,
    testing::Values(EncodingCase{"no_file_ansi_without_mark", "<none>", "b\tp2\r\n"},
                    EncodingCase{"utf8_mark_kept", "\xEF\xBB\xBF\xE5\x90\x8D\tp1\r\n",
                                 "\xEF\xBB\xBF"
                                 "b\tp2\r\n\xE5\x90\x8D\tp1\r\n"},
                    EncodingCase{"unmarked_is_ansi_lf_becomes_crlf", "\x96\xBC\tp1\n",
                                 "b\tp2\r\n\x96\xBC\tp1\r\n"},
                    EncodingCase{"utf16le_mark_kept", "\xFF\xFE" + le(u"a\tp1\r"),
                                 "\xFF\xFE" + le(u"a\tp1\r\nb\tp2\r\n")},
                    EncodingCase{"utf16be_mark_kept", "\xFE\xFF" + be(u"a\tp1"),
                                 "\xFE\xFF" + be(u"a\tp1\r\nb\tp2\r\n")},
                    EncodingCase{"empty_lines_are_lines", "\r\n\r\nx\tq\r\n",
                                 "\r\n\r\nb\tp2\r\nx\tq\r\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(TargetDialogSave, EncodingOfTheLastReadSurvivesAMissingFile) {
    TargetDialog dialog;
    dialog.open("\xEF\xBB\xBF"
                "a\tp1\r\n");
    dialog.fake.files.files.erase(kListPath);
    dialog.model.load(u"none");
    EXPECT_EQ(dialog.model.list().lines(), Lines{u"a\tp1"}) << "a missing file keeps the list";
    dialog.type(u"b", u"p2");
    dialog.model.addTarget();
    EXPECT_EQ(dialog.fileBytes(), "\xEF\xBB\xBF"
                                  "a\tp1\r\nb\tp2\r\n");
}

TEST(TargetDialogShow, PreselectsTheFirstLineInListOrderContainingTabAndProgId) {
    TargetDialog dialog;
    // The exact line comes first in the file, the versioned one first in the list.
    dialog.open(crlf({"z\tBricscadApp.AcadApplication", "y\tOther.App",
                      "x\tBricscadApp.AcadApplication.25"}),
                u"BricscadApp.AcadApplication");
    EXPECT_EQ(dialog.model.list().selected(), 0);
    EXPECT_EQ(dialog.view.name, u"x");
    EXPECT_EQ(dialog.view.progId, u"BricscadApp.AcadApplication.25");
    dialog.expectViewInStep();
}

TEST(TargetDialogShow, NoMatchSelectsNothingAndKeepsTheEdits) {
    TargetDialog dialog;
    dialog.type(u"kept", u"kept.id");
    dialog.open(crlf({"a\tp1"}), u"Missing.App");
    EXPECT_EQ(dialog.model.list().selected(), -1);
    EXPECT_EQ(dialog.view.name, u"kept");
    EXPECT_EQ(dialog.view.progId, u"kept.id");
}

TEST(TargetDialogShow, MissingFileKeepsListAndEditsAndReloadReplacesThem) {
    TargetDialog dialog;
    dialog.model.load(u"x");
    EXPECT_EQ(dialog.model.list().count(), 0);
    dialog.type(u"n", u"p");
    dialog.model.addTarget();
    dialog.fake.files.files.erase(kListPath);
    dialog.model.load(u"p");
    EXPECT_EQ(dialog.model.list().lines(), Lines{u"n\tp"});
    EXPECT_EQ(dialog.model.list().selected(), 0) << "kept from the last opening";
    dialog.open(crlf({"m\tq", "k\tr"}), u"q");
    EXPECT_EQ(dialog.model.list().lines(), (Lines{u"k\tr", u"m\tq"}));
    EXPECT_EQ(dialog.model.list().selected(), 1);
    dialog.expectViewInStep();
}

TEST(TargetDialogShow, UnopenableFileReportsAndKeepsTheList) {
    TargetDialog dialog;
    dialog.open(crlf({"a\tp1"}), u"p1");
    dialog.fake.files.unreadable[kListPath] = u"アクセスが拒否されました。";
    try {
        dialog.model.load(u"p1");
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(),
                  u"ファイル " + kListPath + u" は開けません。 アクセスが拒否されました。 ");
    }
    EXPECT_EQ(dialog.model.list().lines(), Lines{u"a\tp1"});
}

TEST(TargetDialogSelect, LineWithoutTabOrWithSecondTab) {
    TargetDialog dialog;
    dialog.open(crlf({"a\tp\tq", "b.only.progid"}));
    dialog.type(u"old", u"old");
    dialog.model.userSelected(1);
    EXPECT_EQ(dialog.view.name, u"");
    EXPECT_EQ(dialog.view.progId, u"b.only.progid");
    dialog.model.userSelected(0);
    EXPECT_EQ(dialog.view.name, u"a");
    EXPECT_EQ(dialog.view.progId, u"p\tq");
}

TEST(TargetDialogChange, ReplacesInPlaceWithoutResorting) {
    TargetDialog dialog;
    dialog.open(crlf({"B\tp2", "a\tp1"}), u"p1");
    ASSERT_EQ(dialog.model.list().selected(), 0);
    dialog.type(u"z", u"p1");
    dialog.view.log.clear();
    dialog.model.changeTarget();
    EXPECT_EQ(dialog.model.list().lines(), (Lines{u"z\tp1", u"B\tp2"}));
    EXPECT_EQ(dialog.fileBytes(), crlf({"z\tp1", "B\tp2"}));
    EXPECT_EQ(dialog.view.log, (std::vector<std::string>{"remove 0", "insert 0", "select 0"}))
        << "the edits keep the texts just used";
    dialog.expectViewInStep();
    dialog.model.load(u"p1");
    EXPECT_EQ(dialog.model.list().lines(), (Lines{u"B\tp2", u"z\tp1"})) << "sorted again";
}

TEST(TargetDialogChange, NothingSelectedFailsAndChangesNothing) {
    TargetDialog dialog;
    dialog.open(crlf({"a\tp1"}), u"none");
    dialog.type(u"n", u"p");
    dialog.view.log.clear();
    EXPECT_EQ(dialog.errorOf(&TargetDialogModel::changeTarget).message(), kIndexError);
    EXPECT_TRUE(dialog.view.log.empty());
    EXPECT_EQ(dialog.fileBytes(), crlf({"a\tp1"}));
}

TEST(TargetDialogSave, TellsItsOwnerOfEachWriteOnceTheFileHoldsIt) {
    TargetDialog dialog;
    dialog.open(crlf({"a\tp1", "b\tp2"}), u"p1");
    std::vector<std::string> heard;
    dialog.model.onSaved([&](std::u16string_view path) {
        EXPECT_EQ(path, kListPath);
        heard.push_back(dialog.fileBytes());
    });
    dialog.type(u"c", u"p3");
    dialog.model.addTarget();
    dialog.type(u"c", u"p4");
    dialog.model.changeTarget();
    dialog.model.deleteTarget();
    EXPECT_EQ(heard, (std::vector<std::string>{crlf({"a\tp1", "b\tp2", "c\tp3"}),
                                               crlf({"a\tp1", "b\tp2", "c\tp4"}),
                                               crlf({"a\tp1", "b\tp2"})}));

    // Nothing written, nothing heard.
    heard.clear();
    dialog.fake.files.unreadable[kListPath] = u"アクセスが拒否されました。";
    dialog.type(u"d", u"p5");
    EXPECT_THROW(dialog.model.addTarget(), UserError);
    dialog.fake.files.unreadable.clear();
    dialog.model.load(u"p1"); // reading is no write
    EXPECT_TRUE(heard.empty());
}

TEST(TargetDialogSave, FailedWriteKeepsTheChangeShownAndTheOldFile) {
    TargetDialog dialog;
    dialog.open(crlf({"a\tp1"}), u"none");
    const std::string before = dialog.fileBytes();
    dialog.fake.files.unreadable[kListPath] = u"アクセスが拒否されました。";
    dialog.type(u"b", u"p2");
    try {
        dialog.model.addTarget();
        FAIL() << "no error";
    } catch (const UserError& e) {
        EXPECT_EQ(e.message(),
                  u"ファイル \"" + kListPath + u"\" を作成できません。アクセスが拒否されました。");
    }
    EXPECT_EQ(dialog.model.list().lines(), (Lines{u"a\tp1", u"b\tp2"}));
    EXPECT_EQ(dialog.model.list().selected(), 1);
    EXPECT_EQ(dialog.fileBytes(), before);
    dialog.fake.files.unreadable.clear();
    dialog.type(u"c", u"p3");
    dialog.model.addTarget();
    EXPECT_EQ(dialog.fileBytes(), crlf({"a\tp1", "b\tp2", "c\tp3"}));
}

} // namespace
} // namespace morvane
