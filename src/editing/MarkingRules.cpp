#include "editing/MarkingRules.h"

namespace twinscan {

namespace {
QStringView groupKey(const QString &entry)
{
    const qsizetype tab = entry.indexOf(QLatin1Char('\t'));
    return tab < 0 ? QStringView(entry) : QStringView(entry).mid(tab + 1);
}
} // namespace

bool sameGroup(const LineList &duplicates, int a, int b)
{
    const ListItem &x = duplicates.itemAt(a);
    const ListItem &y = duplicates.itemAt(b);
    // Entries of the scan carry their group's first line, and two groups never share a text, so
    // the first lines decide without formatting millions of texts.
    if (x.kind == ListItem::Kind::Entry && y.kind == ListItem::Kind::Entry)
        return x.first == y.first;
    const QString textA = duplicates.List(a);
    const QString textB = duplicates.List(b);
    return groupKey(textA) == groupKey(textB);
}

void markAll(LineList &duplicates)
{
    const int count = duplicates.ListCount();
    for (int i = 0; i < count; ++i)
        duplicates.setSelected(i, true);
}

void markNone(LineList &duplicates)
{
    const int count = duplicates.ListCount();
    for (int i = 0; i < count; ++i)
        duplicates.setSelected(i, false);
}

void invertMarks(LineList &duplicates)
{
    const int count = duplicates.ListCount();
    for (int i = 0; i < count; ++i)
        duplicates.setSelected(i, !duplicates.Selected(i));
}

void markAllButFirst(LineList &duplicates)
{
    const int count = duplicates.ListCount();
    // Item 0 always starts a group, even when its key is empty.
    for (int i = 0; i < count; ++i)
        duplicates.setSelected(i, i > 0 && sameGroup(duplicates, i - 1, i));
}

void markAllButLast(LineList &duplicates)
{
    const int count = duplicates.ListCount();
    if (count == 0)
        return;
    for (int i = 0; i < count; ++i) {
        duplicates.setSelected(i, true);
        if (i > 0 && !sameGroup(duplicates, i - 1, i))
            duplicates.setSelected(i - 1, false); // the last item of the group that just ended
    }
    duplicates.setSelected(count - 1, false);
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
