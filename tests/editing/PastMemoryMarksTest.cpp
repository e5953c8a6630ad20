#include "editing/PastMemoryMarks.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace twinscan;

namespace {

// Seven lines: a group of lines 0, 2 and 5, a group of 3 and 6, lines 1 and 4 alone. Marked
// lines are given as one digit a line.
PastMemoryMarks sevenLines()
{
    LineBits notFirst, notLast;
    for (const int line : {2, 5, 6})
        notFirst.set(std::uint64_t(line));
    for (const int line : {0, 2, 3})
        notLast.set(std::uint64_t(line));
    return PastMemoryMarks(std::move(notFirst), std::move(notLast), 6, 2, 5);
}

std::string marked(const PastMemoryMarks &marks)
{
    const std::optional<RemovalSet> removals = marks.removals();
    std::string digits;
    for (qint64 number = 1; number <= 7; ++number)
        digits += removals->contains(number) ? '1' : '0';
    EXPECT_EQ(removals->entryCount(), marks.markedCount()) << digits;
    return digits;
}

// Each rule, and rules after one another, mark what they mark in a listed file.
TEST(PastMemoryMarksTest, TheRulesMarkTheKindsOfLines)
{
    using enum MarkRule;
    const struct
    {
        std::vector<MarkRule> rules;
        const char *marked;
    } cases[] = {
        {{}, "0000000"},
        {{All}, "1011011"},
        {{AllButFirst}, "0010011"},
        {{AllButLast}, "1011000"},
        {{None}, "0000000"},
        {{Invert}, "1011011"},
        {{AllButFirst, Invert}, "1001000"},
        {{AllButLast, Invert}, "0000011"},
        {{All, None}, "0000000"},
        {{AllButFirst, AllButLast}, "1011000"},
    };
    for (const auto &c : cases) {
        PastMemoryMarks marks = sevenLines();
        for (const MarkRule rule : c.rules)
            marks.apply(rule);
        EXPECT_EQ(marked(marks), c.marked) << c.marked;
    }
}

// A group of three has a line between its first and last, which only All and AllButFirst/Last
// mark; the count of lines between is the entries less two a group.
TEST(PastMemoryMarksTest, LinesBetweenTheFirstAndTheLastAreCounted)
{
    PastMemoryMarks marks = sevenLines();
    marks.apply(MarkRule::AllButFirst);
    EXPECT_EQ(marks.markedCount(), 3);
    marks.apply(MarkRule::AllButLast);
    EXPECT_EQ(marks.markedCount(), 3);
    marks.apply(MarkRule::Invert);
    EXPECT_EQ(marks.markedCount(), 2);
}

} // namespace
