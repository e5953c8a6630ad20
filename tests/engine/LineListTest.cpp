#include "EngineTestSupport.h"
#include "engine/clsListEmu.h"

#include <algorithm>
#include <random>

using namespace twinscan;

namespace {

// Each item's text, as UTF-8 so that a failed comparison prints it, and its selected state.
using Items = std::vector<std::pair<std::string, bool>>;

Items itemsOf(const LineList &list)
{
    Items out;
    for (int i = 0; i < list.ListCount(); ++i)
        out.emplace_back(list.List(i).toStdString(), list.Selected(i));
    return out;
}

// What a plain list does not do: AddItem keeps the selected state its slot had, also after a
// removal moved the later items down, and a new upper limit empties the slots. A clear lets go of
// the texts and the file it was given.
TEST(ListEmulation, SlotsKeepTheirStates)
{
    clsListEmu list;
    list.setUpperLimit(3); // as many items as the limit
    const QString placeholder(100, QLatin1Char('x'));
    for (const QString &text : {QStringLiteral("a"), QStringLiteral("b"), placeholder})
        list.AddItem(text);
    list.setSelected(2, true);
    list.RemoveItem(0); // slot 3 still holds the selected placeholder
    list.AddItem(QStringLiteral("new"));
    EXPECT_EQ(
        itemsOf(list), (Items {{"b", false}, {placeholder.toStdString(), true}, {"new", true}}));

    const auto source = LoadedText::fromBytes("a\n");
    list.setSource(source);
    list.Clear();
    EXPECT_TRUE(placeholder.isDetached());
    EXPECT_EQ(source.use_count(), 1);
    list.setUpperLimit(5);
    list.AddItem(QStringLiteral("z"));
    EXPECT_EQ(itemsOf(list), (Items {{"z", false}}));
}

// Callers set a new item's selected state before they read it; under that rule the emulation
// and a plain list must agree after any sequence of additions, removals, marks and clears, and
// both keep the count of selected items. Half
// the rounds start as the scan fills the source list (line 0, line 1, ...), which the emulation
// keeps implicit until something else happens to the list, in half of them unread.
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
        LineList *const lists[] = {&emulation, &plain};
        for (LineList *list : lists)
            list->setSource(source);
        for (int step = 0; step < 120; ++step) {
            const int count = plain.ListCount();
            const bool inOrder = round % 2 == 0 && step < 20;
            const unsigned action = inOrder ? 0 : random() % 10;
            const unsigned kind = random() % 3;
            const int index = count > 0 ? int(random() % unsigned(count)) : 0;
            const bool state = random() % 2;
            for (LineList *list : lists) {
                if (action < 4 && count < 40) {
                    if (step % 3 == 0 && (inOrder || kind == 0) && count + 3 <= 40)
                        list->addLines(count, 3);
                    else if (inOrder || kind == 0)
                        list->addLine(count);
                    else if (kind == 1 && step % 2 == 0 && count + 2 <= 40)
                        list->addEntries(2, [&](std::size_t i) {
                            return std::pair {index, int(i)};
                        });
                    else if (kind == 1)
                        list->addLine(index);
                    else
                        list->AddItem(QString::number(step));
                    for (int added = count; !inOrder && added < list->ListCount(); ++added)
                        list->setSelected(added, state);
                } else if (action < 7 && count > 0) {
                    list->RemoveItem(index);
                } else if (action < 9 && count > 0) {
                    list->setSelected(index, state);
                } else if (action == 9 && kind == 0) {
                    list->Clear();
                }
            }
            if (inOrder && round % 4 == 2)
                continue; // unread, so that the lines stay implicit
            ASSERT_EQ(itemsOf(emulation), itemsOf(plain)) << "round " << round << " step " << step;
            const Items items = itemsOf(plain);
            const auto selected = std::count_if(
                items.begin(), items.end(), [](const auto &item) { return item.second; });
            for (const LineList *list : lists)
                ASSERT_EQ(list->selectedCount(), selected) << "round " << round << " step " << step;
        }
    }
}

} // namespace
