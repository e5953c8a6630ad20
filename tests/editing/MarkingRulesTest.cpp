#include "editing/MarkingRules.h"

#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"

#include <gtest/gtest.h>
#include <memory>
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

} // namespace
