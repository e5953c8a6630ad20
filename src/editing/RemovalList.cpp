#include "editing/RemovalList.h"

#include <algorithm>
#include <new>

namespace twinscan {

RemovalSet::RemovalSet(qint64 lastLineIndex) : lines_(std::max<qint64>(lastLineIndex + 1, 0)) { }

RemovalSet::RemovalSet(LineBits removed, qint64 lastLineIndex, qint64 count)
    : removed_(std::move(removed)), lines_(std::max<qint64>(lastLineIndex + 1, 0)), entries_(count)
{
}

void RemovalSet::add(qint64 lineNumber)
{
    ++entries_;
    if (lineNumber > 0 && lineNumber <= lines_ && !removed_.set(std::uint64_t(lineNumber - 1)))
        throw std::bad_alloc();
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
