#include "editing/MarkingRules.h"

namespace twinscan {

namespace {
QStringView groupKey(const QString &entry)
{
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    return tab < 0 ? QStringView(entry) : QStringView(entry).mid(tab + 1);
}

// Whether two entries belong to the same group: their texts after the first TAB (the whole text
// when there is none) are equal. Entries of the scan carry their group's first line, and two groups
// never share a text, so the first lines decide without formatting millions of texts.
bool sameGroup(
    const LineList &duplicates, std::span<const ListItem> items, std::size_t a, std::size_t b)
{
    const ListItem &x = items[a];
    const ListItem &y = items[b];
    if (x.kind == ListItem::Kind::Entry && y.kind == ListItem::Kind::Entry)
        return x.first == y.first;
    const QString textA = duplicates.textOf(x);
    const QString textB = duplicates.textOf(y);
    return groupKey(textA) == groupKey(textB);
}
} // namespace

void markAll(LineList &duplicates)
{
    duplicates.setEachSelected([](auto, std::size_t) { return true; });
}

void markNone(LineList &duplicates)
{
    duplicates.setEachSelected([](auto, std::size_t) { return false; });
}

void invertMarks(LineList &duplicates)
{
    duplicates.setEachSelected([](auto items, std::size_t i) { return !items[i].selected; });
}

void markAllButFirst(LineList &duplicates)
{
    // Item 0 always starts a group, even when its key is empty.
    duplicates.setEachSelected(
        [&](auto items, std::size_t i) { return i > 0 && sameGroup(duplicates, items, i - 1, i); });
}

void markAllButLast(LineList &duplicates)
{
    // An entry stays unmarked when the next one starts another group, and so does the last one.
    duplicates.setEachSelected([&](auto items, std::size_t i) {
        return i + 1 < items.size() && sameGroup(duplicates, items, i, i + 1);
    });
}

void applyMarkRule(LineList &duplicates, MarkRule rule)
{
    switch (rule) {
    case MarkRule::All:
        return markAll(duplicates);
    case MarkRule::None:
        return markNone(duplicates);
    case MarkRule::Invert:
        return invertMarks(duplicates);
    case MarkRule::AllButFirst:
        return markAllButFirst(duplicates);
    case MarkRule::AllButLast:
        return markAllButLast(duplicates);
    }
}

} // namespace twinscan
