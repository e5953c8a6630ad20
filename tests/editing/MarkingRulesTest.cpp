#include "editing/MarkingRules.h"

#include "editing/MarkChange.h"
#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"
#include "engine/clsListEmu.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

using namespace twinscan;

namespace {

using Marks = std::string; // one digit per entry, 1 for marked
using Occurrences = std::vector<std::pair<int, int>>; // 0-based line, its group's first line

// A duplicates list over `file` holding `occurrences` in order, as the scan adds entries or as
// plain entry texts.
std::unique_ptr<LineList> makeList(
    bool asTexts, const std::string &file, const Occurrences &occurrences, const Marks &marks)
{
    const auto text = LoadedText::fromBytes(file);
    auto list = std::make_unique<ItemVectorList>();
    list->setSource(text);
    for (const auto &[line, first] : occurrences) {
        if (asTexts)
            list->AddItem(formatEntry(line + 1, text->lineText(first)));
        else
            list->addEntry(line, first);
    }
    for (std::size_t i = 0; i < marks.size(); ++i)
        list->setSelected(int(i), marks[i] == '1');
    return list;
}

TEST(MarkingRules, RulesSetTheExpectedMarks)
{
    using enum MarkRule;
    // Lines 2, 5, 9 share one text and lines 3, 4 another.
    const std::string twoGroups = "a\nx\ny\ny\nx\nb\nc\nd\nx\n";
    const Occurrences twoGroupEntries = {{1, 1}, {4, 1}, {8, 1}, {2, 2}, {3, 2}};
    // Keys are everything after the first TAB: "a\tb" and "a\tc" are two groups.
    const std::string tabs = "a\tb\na\tc\na\tb\na\tc\n";
    const Occurrences twoPairs = {{0, 0}, {2, 0}, {1, 1}, {3, 1}};
    const struct
    {
        const char *name;
        std::string file;
        Occurrences entries;
        Marks before;
        std::vector<MarkRule> rules;
        Marks after;
    } cases[] = {
        {"AllButFirst", twoGroups, twoGroupEntries, "10010", {AllButFirst}, "01101"},
        {"AllButLast", twoGroups, twoGroupEntries, "00101", {AllButLast}, "11010"},
        {"All", twoGroups, twoGroupEntries, "01000", {All}, "11111"},
        {"InvertAfterNone", twoGroups, twoGroupEntries, "10110", {None, Invert}, "11111"},
        // The empty key of a first group of empty lines must not read as "same as before item 0".
        {"AllButFirstLeadingEmptyLines", "\nx\n\nx\n", twoPairs, "1111", {AllButFirst}, "0101"},
        {"AllButLastTabsInText", tabs, twoPairs, "0000", {AllButLast}, "1010"},
        {"EmptyList", "a\n", {}, "", {All, None, Invert, AllButFirst, AllButLast}, ""},
    };
    for (const bool asTexts : {false, true}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (asTexts ? ", as texts" : ""));
            const auto list = makeList(asTexts, c.file, c.entries, c.before);
            for (const MarkRule rule : c.rules)
                applyMarkRule(*list, rule);
            Marks marks;
            for (int i = 0; i < list->ListCount(); ++i)
                marks += list->Selected(i) ? '1' : '0';
            EXPECT_EQ(marks, c.after);
        }
    }
}

Marks marksOf(const LineList &list)
{
    Marks marks;
    for (int i = 0; i < list.ListCount(); ++i)
        marks += list.Selected(i) ? '1' : '0';
    return marks;
}

// A step's change applied once brings back the marks before the step, applied again those after
// it, with the count of marks right, in a plain list and in an emulation. It keeps the smaller of
// an index per flip or a bit per entry, so a rule over millions of entries stays an eighth of a
// byte per entry. A list of another length is left alone.
TEST(MarkChange, UndoesAndRedoesEachStepExactly)
{
    using enum MarkRule;
    constexpr int count = 4096; // 2,048 groups of two
    const auto every = [](int n) {
        Marks marks(count, '0');
        for (int i = 0; i < count; i += n)
            marks[std::size_t(i)] = '1';
        return marks;
    };
    const auto firstAndLast = [](std::uint32_t n) { // entries 0 .. n - 1 and the last one
        std::vector<std::uint32_t> entries(n);
        std::iota(entries.begin(), entries.end(), 0);
        entries.push_back(count - 1);
        return entries;
    };
    using Step = std::function<MarkChange(LineList &)>;
    const auto rule = [](MarkRule r) {
        return Step([r](LineList &list) {
            const MarkSnapshot before(list);
            applyMarkRule(list, r);
            return MarkChange::since(before, list);
        });
    };
    const auto flips = [](std::vector<std::uint32_t> entries) {
        return Step([entries](LineList &list) {
            for (const std::uint32_t entry : entries)
                list.setSelected(int(entry), !list.Selected(int(entry)));
            return MarkChange::ofEntries(entries, list.ListCount());
        });
    };
    const auto checks = [](std::vector<int> entries) { // as the viewer carries its checks back
        return Step([entries](LineList &list) {
            const MarkSnapshot before(list);
            for (const int entry : entries)
                list.setSelected(entry, true);
            return MarkChange::since(before, list);
        });
    };
    const struct
    {
        const char *name;
        Marks before;
        Step step;
        int flips;
        std::size_t maxBytes;
    } cases[] = {
        {"All", every(3), rule(All), count - count / 3 - 1, count / 8},
        {"None", every(3), rule(None), count / 3 + 1, count / 8},
        {"Invert", every(5), rule(Invert), count, count / 8},
        {"AllButFirst", every(3), rule(AllButFirst), 2048, count / 8},
        {"AllButLast", every(3), rule(AllButLast), 2048, count / 8},
        {"one click", every(7), flips({4095}), 1, 4},
        {"clicks on and off", every(7), flips({0, 7, 9}), 3, 12},
        {"many clicks", Marks(count, '0'), flips(firstAndLast(128)), 129, count / 8},
        {"viewer checks", every(7), checks({1, 7, 4094}), 2, 8},
        {"viewer checks at both ends", Marks(count, '0'), checks({0, 4095}), 2, 8},
        {"nothing changed", Marks(count, '1'), rule(All), 0, 0},
    };
    for (const bool emulated : {false, true}) {
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (emulated ? ", emulated" : ""));
            std::unique_ptr<LineList> list;
            if (emulated) {
                auto emulation = std::make_unique<clsListEmu>();
                emulation->setUpperLimit(
                    count + 1); // room for the entry that makes it another list
                list = std::move(emulation);
            } else {
                list = std::make_unique<ItemVectorList>();
            }
            for (int i = 0; i < count; ++i)
                list->addEntry(i, i - i % 2);
            for (int i = 0; i < count; ++i)
                list->setSelected(i, c.before[std::size_t(i)] == '1');
            const MarkChange change = c.step(*list);
            const Marks after = marksOf(*list);
            EXPECT_EQ(change.flipCount(), c.flips);
            EXPECT_EQ(change.isEmpty(), c.flips == 0);
            EXPECT_LE(change.bytes(), c.maxBytes);
            if (!change.isEmpty()) { // the rows to repaint
                EXPECT_EQ(change.firstEntry(),
                    int(std::mismatch(c.before.begin(), c.before.end(), after.begin()).first
                        - c.before.begin()));
                EXPECT_EQ(change.lastEntry(),
                    count - 1
                        - int(
                            std::mismatch(c.before.rbegin(), c.before.rend(), after.rbegin()).first
                            - c.before.rbegin()));
            }
            ASSERT_TRUE(change.applyTo(*list));
            EXPECT_EQ(marksOf(*list), c.before) << "undone";
            EXPECT_EQ(
                list->selectedCount(), int(std::count(c.before.begin(), c.before.end(), '1')));
            ASSERT_TRUE(change.applyTo(*list));
            EXPECT_EQ(marksOf(*list), after) << "redone";
            EXPECT_EQ(list->selectedCount(), int(std::count(after.begin(), after.end(), '1')));
            list->addEntry(count, count);
            EXPECT_FALSE(change.applyTo(*list)) << "another list";
            EXPECT_EQ(marksOf(*list).substr(0, count), after);
        }
    }
}

} // namespace
