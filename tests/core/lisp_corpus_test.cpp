// Every real-world LISP file of the corpus goes through reading and indexing;
// a few known commands come out as users see them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "lisp/comment_block.h"
#include "lisp/dropped_list.h"
#include "lisp/lsp_index.h"
#include "services/services.h"
#include "text/letters.h"

namespace morvane {
namespace {

const std::filesystem::path kCorpus = MORVANE_CORPUS_DIR;

std::vector<std::filesystem::path> corpusFiles() {
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(kCorpus))
        if (entry.is_regular_file() && upperAscii(entry.path().extension().u16string()) == u".LSP")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

TEST(LispCorpus, EveryFileIndexesAndFastDescriptionsAgree) {
    const auto files = corpusFiles();
    ASSERT_GT(files.size(), 300u);
    size_t withCommands = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.string());
        LspLines lines, rows;
        ASSERT_NO_THROW(lines = readLspFile(file.u16string(), platformServices()));
        ASSERT_NO_THROW(makeLspIndex(lines, rows, platformServices().collator));
        withCommands += rows.empty() ? 0 : 1;
        CommentBlocks blocks(lines);
        for (int32_t s = 0; s <= static_cast<int32_t>(lines.size()); ++s)
            ASSERT_EQ(blocks.description(static_cast<size_t>(s)),
                      chooseDescription(getDefunComment(lines, s)))
                << "line " << s;
    }
    EXPECT_GT(withCommands, 200u);
}

struct KnownCommand {
    const char* name;
    friend void PrintTo(const KnownCommand& c, std::ostream* os) { *os << c.name; }
    const char* file;
    std::u16string row;
};

class LispCorpusCommands : public testing::TestWithParam<KnownCommand> {};

TEST_P(LispCorpusCommands, RowAsUsersSeeIt) {
    const auto lines = readLspFile((kCorpus / GetParam().file).u16string(), platformServices());
    LspLines rows;
    makeLspIndex(lines, rows, platformServices().collator);
    EXPECT_NE(std::find(rows.begin(), rows.end(), GetParam().row), rows.end());
}

INSTANTIATE_TEST_SUITE_P(
    Known, LispCorpusCommands,
    testing::Values(KnownCommand{"shift_jis_file", "set-b/500_LSPFiles_BlockPasteandRename.lsp",
                                 u"VB\tブロック貼り付け+ブロック名変更"},
                    KnownCommand{"utf8_file", "set-b/500_LSPFiles_JoinLine.lsp",
                                 u"JL\t線分・ポリラインを結合"},
                    KnownCommand{"argument_and_comment", "set-a/LISP_Other_DimXTLswitch.lsp",
                                 u"DIMEXT VAL\tDean Jones added Jan. 25, 2006."},
                    KnownCommand{"error_handler_test", "set-a/LispHelpFunctions.lsp",
                                 u"TEST\tTest *ERROR* function."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace morvane
