#include "engine/LineList.h"

namespace twinscan {

void LineList::AddItem(const QString &text)
{
    ListItem item;
    item.kind = ListItem::Kind::Text;
    item.line = std::uint32_t(pool_.size());
    pool_.push_back(text);
    append(item);
}

// Texts of items gone with the clear are dropped with them: a large scan adds a placeholder text
// to a list it has just cleared, and the pool must not keep one more per scan. So is the file: a
// cleared list must not keep the text of a file that is no longer shown alive.
void LineList::RemoveItem(int index)
{
    if (Selected(index))
        --selectedCount_;
    removeAt(index);
}

void LineList::Clear()
{
    clearAll();
    selectedCount_ = 0;
    pool_.clear();
    source_.reset();
}

void LineList::setSelected(int index, bool state)
{
    if (setSelectedAt(index, state) != state)
        selectedCount_ += state ? 1 : -1;
}

void LineList::addLine(int line)
{
    append({ListItem::Kind::Line, false, std::uint32_t(line), 0});
}

void LineList::appendLines(int first, int count)
{
    for (int line = first; line < first + count; ++line)
        addLine(line);
}

void LineList::addEntry(int line, int firstLine)
{
    append({ListItem::Kind::Entry, false, std::uint32_t(line), std::uint32_t(firstLine)});
}

void LineList::addNumber(int value)
{
    append({ListItem::Kind::Number, false, std::uint32_t(value), 0});
}

QString LineList::textOf(const ListItem &item) const
{
    switch (item.kind) {
    case ListItem::Kind::Empty:
        return {};
    case ListItem::Kind::Line:
        return source_ ? source_->lineText(int(item.line)) : QString();
    case ListItem::Kind::Entry:
        return formatEntry(
            int(item.line) + 1, source_ ? source_->lineText(int(item.first)) : QString());
    case ListItem::Kind::Number:
        return QString::number(qint32(item.line));
    case ListItem::Kind::Text:
        return pool_[item.line];
    }
    return {};
}

QString formatEntry(int lineNumber, const QString &text)
{
    return QLatin1Char('[') + QString::number(lineNumber) + QLatin1String("]\t") + text;
}

} // namespace twinscan
