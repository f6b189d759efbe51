// Turning the nodes on show into the nodes wanted with few edits.
#include <gtest/gtest.h>

#include <random>

#include "list/tree_update.h"

namespace morvane {
namespace {

TreeNode entry(std::u16string text, int32_t row) {
    return TreeNode{std::move(text), row, kCommandImage, {}};
}
TreeNode group(std::u16string text, int32_t row, std::vector<TreeNode> children) {
    return TreeNode{std::move(text), row, kGroupImage, std::move(children)};
}

// Carries the edits out on a copy of the nodes on show, the way the tree
// control is walked: a cursor over the old rows, inserts after the last
// kept or inserted row.
TreeNodes applied(const TreeNodes& shown, const std::vector<TreeEdit>& edits,
                  const TreeNodes& wanted) {
    TreeNodes result;
    size_t cursor = 0;
    for (const auto& edit : edits) {
        switch (edit.kind) {
        case TreeEdit::kKeep: {
            EXPECT_EQ(edit.index, cursor) << "kept out of order";
            TreeNode kept = shown[edit.index];
            // Rows come out in the wanted order: this one becomes the next
            // wanted node, its children edited towards that node's.
            EXPECT_LT(result.size(), wanted.size());
            if (result.size() < wanted.size()) {
                const TreeNode& becomes = wanted[result.size()];
                EXPECT_EQ(edit.newRow, kept.row != becomes.row);
                kept.row = becomes.row; // the item's data set anew
                kept.children = applied(kept.children, edit.children, becomes.children);
            }
            result.push_back(std::move(kept));
            ++cursor;
            break;
        }
        case TreeEdit::kRemove:
            EXPECT_EQ(edit.index, cursor) << "removed out of order";
            ++cursor;
            break;
        case TreeEdit::kInsert:
            EXPECT_EQ(edit.index, result.size()) << "inserted out of order";
            result.push_back(wanted[edit.index]);
            break;
        }
    }
    EXPECT_EQ(cursor, shown.size()) << "every row on show is kept or removed";
    return result;
}

size_t count(const std::vector<TreeEdit>& edits, TreeEdit::Kind kind) {
    size_t n = 0;
    for (const auto& edit : edits)
        n += edit.kind == kind;
    return n;
}

TreeNodes entries(std::initializer_list<int32_t> rows) {
    TreeNodes nodes;
    for (int32_t row : rows)
        nodes.push_back(entry(u"[C" + std::u16string(1, char16_t(u'0' + row % 10)) + u"]", row));
    return nodes;
}

TreeNode pinned(TreeNode node) {
    node.pinned = true;
    return node;
}

// The command view with the pin group at its top, holding row 2 again.
TreeNodes withPinGroup(TreeNodes nodes) {
    nodes.insert(nodes.begin(), group(u"ピン留め", kPinGroupRow, {pinned(entry(u"[C2]", 2))}));
    return nodes;
}

struct PlanCase {
    const char* name;
    TreeNodes shown;
    TreeNodes wanted;
    size_t keeps, removes, inserts;
};

TEST(TreeUpdate, EditsGiveExactlyTheWantedNodesWithFewChanges) {
    const std::vector<PlanCase> cases{
        {"nothing to nothing", {}, {}, 0, 0, 0},
        {"fill an empty tree", {}, entries({1, 2, 3}), 0, 0, 3},
        {"empty the tree", entries({1, 2, 3}), {}, 0, 3, 0},
        {"same rows", entries({1, 2, 3}), entries({1, 2, 3}), 3, 0, 0},
        {"narrowing search", entries({1, 2, 3, 4, 5}), entries({2, 4}), 2, 3, 0},
        {"widening search", entries({2, 4}), entries({1, 2, 3, 4, 5}), 2, 0, 3},
        {"disjoint", entries({1, 2}), entries({3, 4}), 0, 2, 2},
        {"swapped pair", entries({1, 2}), entries({2, 1}), 1, 1, 1},
        {"same row, new text", {entry(u"[A] old", 1)}, {entry(u"[A] new", 1)}, 0, 1, 1},
        {"same row, other image", {entry(u"A", 1)}, {group(u"A", 1, {})}, 0, 1, 1},
        {"duplicate rows on show", entries({1, 1, 2}), entries({1, 2}), 2, 1, 0},
        // The list read again after a line was added above them.
        {"lines moved down",
         {group(u"G", 0, {entry(u"[A] a", 1)}), entry(u"[B] b", 2)},
         {group(u"G", 1, {entry(u"[A] a", 2)}), entry(u"[B] b", 3)},
         2,
         0,
         0},
        {"duplicate rows wanted", entries({1, 2}), entries({1, 1, 2}), 2, 0, 1},
        {"same row, now its pinned node", {entry(u"[A]", 1)}, {pinned(entry(u"[A]", 1))}, 0, 1, 1},
        {"pin group comes", entries({1, 2, 3}), withPinGroup(entries({1, 2, 3})), 3, 0, 1},
        {"pin group goes", withPinGroup(entries({1, 2, 3})), entries({2}), 1, 3, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto edits = planTreeUpdate(c.shown, c.wanted);
        EXPECT_EQ(applied(c.shown, edits, c.wanted), c.wanted);
        EXPECT_EQ(count(edits, TreeEdit::kKeep), c.keeps);
        EXPECT_EQ(count(edits, TreeEdit::kRemove), c.removes);
        EXPECT_EQ(count(edits, TreeEdit::kInsert), c.inserts);
        EXPECT_EQ(keepsEverything(edits), c.shown == c.wanted);
    }
}

TEST(TreeUpdate, ManyChangedRowsAreRefilledRatherThanEdited) {
    const struct {
        const char* name;
        TreeNodes shown, wanted;
        bool refill;
    } cases[] = {
        {"nothing changes", entries({1, 2, 3, 4, 5}), entries({1, 2, 3, 4, 5}), false},
        {"one row of five goes", entries({1, 2, 3, 4, 5}), entries({1, 2, 4, 5}), false},
        {"one row of five comes", entries({1, 2, 4, 5}), entries({1, 2, 3, 4, 5}), false},
        {"two rows of five stay", entries({1, 2, 3, 4, 5}), entries({2, 4}), true},
        {"all new", entries({1, 2}), entries({3, 4}), true},
        {"empty to full", {}, entries({1}), true},
        {"to nothing", entries({1}), {}, true},
        {"nothing to nothing", {}, {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(refillIsCheaper(planTreeUpdate(c.shown, c.wanted)), c.refill);
    }
}

TEST(TreeUpdate, KeptGroupsHaveTheirChildrenEdited) {
    const TreeNodes shown{group(u"A", 1, entries({2, 3, 4})), group(u"B", 5, entries({6}))};
    const TreeNodes wanted{group(u"A", 1, entries({3})), group(u"B", 5, entries({6, 7}))};
    const auto edits = planTreeUpdate(shown, wanted);
    EXPECT_EQ(applied(shown, edits, wanted), wanted);
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_EQ(edits[0].kind, TreeEdit::kKeep);
    EXPECT_EQ(count(edits[0].children, TreeEdit::kRemove), 2u);
    EXPECT_EQ(count(edits[1].children, TreeEdit::kInsert), 1u);
    EXPECT_FALSE(keepsEverything(edits)) << "a changed child is a change";
    EXPECT_TRUE(keepsEverything(planTreeUpdate(wanted, wanted)));
    EXPECT_FALSE(keepsEverything(planTreeUpdate({entry(u"[A] a", 1)}, {entry(u"[A] a", 2)})))
        << "a kept row with a new key is a change";
}

// Random lists over a few rows, with repeats, groups and changed texts: the
// edits always give the wanted nodes.
TEST(TreeUpdate, RandomListsAlwaysEndAsWanted) {
    std::mt19937 random(20261210);
    auto randomNodes = [&](int depth) {
        TreeNodes nodes;
        const int length = static_cast<int>(random() % 9);
        for (int i = 0; i < length; ++i) {
            const int32_t row = static_cast<int32_t>(random() % 6);
            const std::u16string text = random() % 5 ? u"n" : u"m";
            if (depth == 0 && random() % 3 == 0) {
                TreeNodes children;
                const int childCount = static_cast<int>(random() % 4);
                for (int k = 0; k < childCount; ++k)
                    children.push_back(entry(u"c", static_cast<int32_t>(random() % 4)));
                nodes.push_back(group(text, row, std::move(children)));
            } else {
                nodes.push_back(entry(text, row));
            }
        }
        return nodes;
    };
    for (int trial = 0; trial < 2000; ++trial) {
        const TreeNodes shown = randomNodes(0);
        const TreeNodes wanted = randomNodes(0);
        const auto edits = planTreeUpdate(shown, wanted);
        ASSERT_EQ(applied(shown, edits, wanted), wanted) << "trial " << trial;
    }
}

} // namespace
} // namespace morvane
