#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"
#include "engine/clsListEmu.h"

#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace twinscan;

namespace {

QString text(const char *s)
{
    return QString::fromUtf8(s);
}

// As UTF-8, so that a failed comparison prints readable texts.
using Texts = std::vector<std::string>;
Texts textsOf(const LineList &list)
{
    Texts out;
    for (int i = 0; i < list.ListCount(); ++i)
        out.push_back(list.List(i).toStdString());
    return out;
}

std::vector<bool> statesOf(const LineList &list)
{
    std::vector<bool> out;
    for (int i = 0; i < list.ListCount(); ++i)
        out.push_back(list.Selected(i));
    return out;
}

clsListEmu emulationOf(std::initializer_list<const char *> items, int limit = 10)
{
    clsListEmu list;
    list.setUpperLimit(limit);
    for (const char *item : items)
        list.AddItem(text(item));
    return list;
}

TEST(ListEmulation, RemovalMovesSelectedStatesWithTheirTexts)
{
    clsListEmu list = emulationOf({"a", "b", "c", "d"});
    list.setSelected(2, true);
    list.RemoveItem(1);
    EXPECT_EQ(textsOf(list), (Texts {"a", "c", "d"}));
    EXPECT_EQ(statesOf(list), (std::vector<bool> {false, true, false}));
}

TEST(ListEmulation, RemovingTheLastItemOnlyDropsTheCount)
{
    clsListEmu list = emulationOf({"a", "b"});
    list.setSelected(1, true);
    list.RemoveItem(1);
    EXPECT_EQ(textsOf(list), Texts {"a"});
    EXPECT_EQ(statesOf(list), std::vector<bool> {false});
}

// The slot behind a new item keeps whatever selected state it had: the item that last lived
// there was selected, so the new one is too.
TEST(ListEmulation, AddItemKeepsTheSlotsSelectedState)
{
    clsListEmu list = emulationOf({"a", "b", "c"});
    list.setSelected(2, true);
    list.RemoveItem(0);
    list.AddItem(text("new"));
    EXPECT_EQ(textsOf(list), (Texts {"b", "c", "new"}));
    EXPECT_EQ(statesOf(list), (std::vector<bool> {false, true, true}));
}

TEST(ListEmulation, ClearThenAddStartsAtIndexZero)
{
    clsListEmu list = emulationOf({"a", "b"});
    list.setSelected(0, true);
    list.Clear();
    EXPECT_EQ(list.ListCount(), 0);
    list.AddItem(text("z"));
    EXPECT_EQ(list.ListCount(), 1);
    EXPECT_EQ(list.List(0), text("z"));
    EXPECT_TRUE(list.Selected(0));
}

TEST(ListEmulation, NewUpperLimitEmptiesTheSlotsButKeepsTheCount)
{
    clsListEmu list = emulationOf({"a", "b"});
    list.setSelected(1, true);
    list.setUpperLimit(5);
    EXPECT_EQ(list.ListCount(), 2);
    EXPECT_EQ(textsOf(list), (Texts {"", ""}));
    EXPECT_EQ(statesOf(list), (std::vector<bool> {false, false}));
}

TEST(ListEmulation, HoldsAsManyItemsAsItsUpperLimit)
{
    clsListEmu list;
    list.setUpperLimit(3);
    for (int i = 0; i < 3; ++i)
        list.addNumber(i);
    EXPECT_EQ(textsOf(list), (Texts {"0", "1", "2"}));
}

// Lines, entries and numbers are stored compactly but read back as the text they stand for.
TEST(ListItems, CompactItemsReadAsTheirText)
{
    const auto source = LoadedText::fromBytes("first\nse]cond\n");
    for (const bool emulated : {false, true}) {
        clsListEmu emulation;
        emulation.setUpperLimit(8);
        ItemVectorList plain;
        LineList &list = emulated ? static_cast<LineList &>(emulation) : plain;
        list.setSource(source);
        list.addLine(1);
        list.addEntry(11, 1);
        list.addNumber(-7);
        list.addNumber(2147483647);
        list.AddItem(text("own text"));
        list.addEntry(0, 0);
        EXPECT_EQ(textsOf(list),
            (Texts {"se]cond", "[12]\tse]cond", "-7", "2147483647", "own text", "[1]\tfirst"}))
            << (emulated ? "clsListEmu" : "ItemVectorList");
    }
}

// Callers set a new item's selected state before they read it; under that rule the emulation
// and a plain list must agree after any sequence of additions, removals, marks and clears. The
// source list's pattern (line 0, line 1, ...) comes up often, as the scan fills it that way.
TEST(ListEmulation, BehavesLikeAPlainList)
{
    std::string file;
    for (int i = 0; i < 60; ++i)
        file += "line " + std::to_string(i) + "\n";
    const auto source = LoadedText::fromBytes(file);
    std::mt19937 random(99);
    for (int round = 0; round < 200; ++round) {
        clsListEmu emulation;
        emulation.setUpperLimit(40);
        ItemVectorList plain;
        emulation.setSource(source);
        plain.setSource(source);
        const bool linesFirst = round % 2 == 0;
        for (int step = 0; step < 120; ++step) {
            const int count = plain.ListCount();
            const unsigned action = linesFirst && step < 20 ? 0 : random() % 10;
            if (action < 4 && count < 40) {
                const unsigned kind = random() % 3;
                const int anyLine = int(random() % 60);
                const bool state = random() % 2;
                const bool inOrder = linesFirst && step < 20;
                for (LineList *list :
                    {static_cast<LineList *>(&emulation), static_cast<LineList *>(&plain)}) {
                    if (inOrder || kind == 0)
                        list->addLine(count);
                    else if (kind == 1)
                        list->addLine(anyLine);
                    else
                        list->AddItem(QString::number(step));
                }
                if (!inOrder) {
                    emulation.setSelected(count, state);
                    plain.setSelected(count, state);
                }
            } else if (action < 7 && count > 0) {
                const int index = int(random() % unsigned(count));
                emulation.RemoveItem(index);
                plain.RemoveItem(index);
            } else if (action < 9 && count > 0) {
                const int index = int(random() % unsigned(count));
                const bool state = random() % 2;
                emulation.setSelected(index, state);
                plain.setSelected(index, state);
            } else if (action == 9 && random() % 4 == 0) {
                emulation.Clear();
                plain.Clear();
            }
            ASSERT_EQ(textsOf(emulation), textsOf(plain)) << "round " << round << " step " << step;
            ASSERT_EQ(statesOf(emulation), statesOf(plain))
                << "round " << round << " step " << step;
        }
    }
}

// The source list is filled line by line; every way of touching it afterwards sees those lines.
TEST(ListEmulation, SourceLinesFilledInOrderReadBackAfterAnyChange)
{
    const auto source = LoadedText::fromBytes("a\nb\nc\nd\n");
    for (int change = 0; change < 5; ++change) {
        clsListEmu list;
        list.setUpperLimit(4);
        list.setSource(source);
        for (int line = 0; line < 4; ++line)
            list.addLine(line);
        Texts expected {"a", "b", "c", "d"};
        std::vector<bool> states(4, false);
        switch (change) {
        case 1:
            list.setSelected(2, true);
            states[2] = true;
            break;
        case 2:
            list.RemoveItem(0);
            expected.erase(expected.begin());
            states.pop_back();
            break;
        case 3:
            list.Clear();
            list.AddItem(text("z"));
            expected = {"z"};
            states = {false};
            break;
        case 4:
            list.RemoveItem(3);
            list.addLine(3);
            break;
        }
        EXPECT_EQ(textsOf(list), expected) << "change " << change;
        EXPECT_EQ(statesOf(list), states) << "change " << change;
    }
}

} // namespace
