#include "editing/MarkingRules.h"

#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"
#include "engine/clsListEmu.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace twinscan;

namespace {

enum class Store { Emulation, Vector };
enum class Form { Entry, Text }; // items as the scan adds them, or as plain entry texts

struct Occurrence
{
    int line; // 0-based
    int first; // 0-based line of the group's first occurrence
};

struct Variant
{
    Store store;
    Form form;
};

std::string variantName(const testing::TestParamInfo<Variant> &info)
{
    return std::string(info.param.store == Store::Emulation ? "Emulation" : "Vector")
        + (info.param.form == Form::Entry ? "Entries" : "Texts");
}

class MarkingRulesTest : public testing::TestWithParam<Variant>
{
protected:
    // A duplicates list over `fileText` holding `occurrences` in order.
    std::unique_ptr<LineList> makeList(
        const std::string &fileText, const std::vector<Occurrence> &occurrences) const
    {
        const auto text = LoadedText::fromBytes(fileText);
        std::unique_ptr<LineList> list;
        if (GetParam().store == Store::Emulation) {
            auto emulation = std::make_unique<clsListEmu>();
            emulation->setUpperLimit(text->lineCount());
            list = std::move(emulation);
        } else {
            list = std::make_unique<ItemVectorList>();
        }
        list->setSource(text);
        for (const Occurrence &o : occurrences) {
            if (GetParam().form == Form::Entry)
                list->addEntry(o.line, o.first);
            else
                list->AddItem(formatEntry(o.line + 1, text->lineText(o.first)));
        }
        return list;
    }
};

std::vector<bool> marksOf(const LineList &list)
{
    std::vector<bool> marks;
    for (int i = 0; i < list.ListCount(); ++i)
        marks.push_back(list.Selected(i));
    return marks;
}

void setMarks(LineList &list, const std::vector<bool> &marks)
{
    for (int i = 0; i < int(marks.size()); ++i)
        list.setSelected(i, marks[std::size_t(i)]);
}

// Lines 2, 5, 9 share one text and lines 3, 4 another; the rest are unique.
const std::string twoGroups = "a\nx\ny\ny\nx\nb\nc\nd\nx\n";
const std::vector<Occurrence> twoGroupEntries = {{1, 1}, {4, 1}, {8, 1}, {2, 2}, {3, 2}};

struct RuleCase
{
    const char *name;
    std::string file;
    std::vector<Occurrence> entries;
    std::vector<bool> before;
    MarkRule rule;
    std::vector<bool> after;
};

const std::vector<RuleCase> ruleCases = {
    {"AllButFirstKeepsEachGroupsEarliestLine", twoGroups, twoGroupEntries,
        {true, false, false, true, false}, MarkRule::AllButFirst, {false, true, true, false, true}},
    {"AllButLastKeepsEachGroupsLatestLine", twoGroups, twoGroupEntries,
        {false, false, true, false, true}, MarkRule::AllButLast, {true, true, false, true, false}},
    {"AllMarksEverything", twoGroups, twoGroupEntries, {false, true, false, false, false},
        MarkRule::All, {true, true, true, true, true}},
    {"NoneClearsEverything", twoGroups, twoGroupEntries, {true, true, false, true, true},
        MarkRule::None, {false, false, false, false, false}},
    {"InvertFlipsEachMark", twoGroups, twoGroupEntries, {true, false, false, true, false},
        MarkRule::Invert, {false, true, true, false, true}},
    // The empty key of a first group of empty lines must not read as "same as before item 0".
    {"AllButFirstOnLeadingEmptyLineGroup", "\nx\n\nx\n", {{0, 0}, {2, 0}, {1, 1}, {3, 1}},
        {true, true, true, true}, MarkRule::AllButFirst, {false, true, false, true}},
    {"AllButLastOnLeadingEmptyLineGroup", "\nx\n\nx\n", {{0, 0}, {2, 0}, {1, 1}, {3, 1}},
        {false, false, false, false}, MarkRule::AllButLast, {true, false, true, false}},
    // Keys are everything after the first TAB: "a\tb" and "a\tc" are two groups.
    {"AllButFirstWithTabsInText", "a\tb\na\tc\na\tb\na\tc\n", {{0, 0}, {2, 0}, {1, 1}, {3, 1}},
        {false, false, false, false}, MarkRule::AllButFirst, {false, true, false, true}},
    {"AllButLastWithTabsInText", "a\tb\na\tc\na\tb\na\tc\n", {{0, 0}, {2, 0}, {1, 1}, {3, 1}},
        {false, false, false, false}, MarkRule::AllButLast, {true, false, true, false}},
    {"AllButFirstOnOneGroupOfTwo", "k\nk\n", {{0, 0}, {1, 0}}, {true, false}, MarkRule::AllButFirst,
        {false, true}},
    {"AllButLastOnOneGroupOfTwo", "k\nk\n", {{0, 0}, {1, 0}}, {false, true}, MarkRule::AllButLast,
        {true, false}},
};

TEST_P(MarkingRulesTest, RulesSetTheExpectedMarks)
{
    for (const RuleCase &c : ruleCases) {
        SCOPED_TRACE(c.name);
        auto list = makeList(c.file, c.entries);
        setMarks(*list, c.before);
        applyMarkRule(*list, c.rule);
        EXPECT_EQ(marksOf(*list), c.after);
    }
}

TEST_P(MarkingRulesTest, InvertTwiceRestoresAndInvertAfterNoneIsAll)
{
    auto list = makeList(twoGroups, twoGroupEntries);
    const std::vector<bool> marks = {true, false, true, true, false};
    setMarks(*list, marks);
    invertMarks(*list);
    invertMarks(*list);
    EXPECT_EQ(marksOf(*list), marks);

    markNone(*list);
    invertMarks(*list);
    EXPECT_EQ(marksOf(*list), std::vector<bool>(5, true));
}

TEST_P(MarkingRulesTest, EmptyListIsLeftAlone)
{
    auto list = makeList("a\n", {});
    for (MarkRule rule : {MarkRule::All, MarkRule::None, MarkRule::Invert, MarkRule::AllButFirst,
             MarkRule::AllButLast}) {
        applyMarkRule(*list, rule);
        EXPECT_EQ(list->ListCount(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Lists, MarkingRulesTest,
    testing::Values(Variant {Store::Emulation, Form::Entry}, Variant {Store::Emulation, Form::Text},
        Variant {Store::Vector, Form::Entry}, Variant {Store::Vector, Form::Text}),
    variantName);

} // namespace
