#include "editing/RemovalList.h"

#include <algorithm>

namespace twinscan {

RemovalSet::RemovalSet(int lastLineIndex)
    : removed_(std::size_t(std::max(lastLineIndex + 2, 0))) { }

void RemovalSet::add(int lineNumber)
{
    ++entries_;
    if (lineNumber > 0 && std::size_t(lineNumber) < removed_.size())
        removed_[std::size_t(lineNumber)] = true;
}

std::optional<int> entryLineNumber(const QString &entryText)
{
    if (!entryText.startsWith(QLatin1Char('[')))
        return std::nullopt;
    const qsizetype close = entryText.indexOf(QLatin1Char(']'));
    if (close < 0)
        return std::nullopt;
    QStringView digits = QStringView(entryText).mid(1, close - 1);
    while (digits.startsWith(QLatin1Char(' ')))
        digits = digits.mid(1);
    while (digits.endsWith(QLatin1Char(' ')))
        digits.chop(1);
    const bool allDigits = !digits.isEmpty()
        && std::all_of(
            digits.begin(), digits.end(), [](QChar c) { return c.isDigit() && c.unicode() < 128; });
    bool ok = false;
    const int number = allDigits ? digits.toInt(&ok, 10) : 0;
    if (!ok)
        return std::nullopt;
    return number;
}

RemovalSet collectRemovals(const LineList &duplicates, int lastLineIndex)
{
    RemovalSet removals(lastLineIndex);
    const int count = duplicates.ListCount();
    for (int i = 0; i < count; ++i) {
        const ListItem &item = duplicates.itemAt(i);
        if (!item.selected)
            continue;
        const std::optional<int> number = item.kind == ListItem::Kind::Entry
            ? std::optional<int>(int(item.line) + 1)
            : entryLineNumber(duplicates.List(i));
        if (!number)
            continue;
        removals.add(*number);
    }
    return removals;
}

} // namespace twinscan
