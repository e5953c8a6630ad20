#pragma once

#include <QChar>
#include <QString>

namespace twinscan {

// A row shows at most this much of its text: laying out a line of megabytes would freeze the
// window, and nobody reads that far along one row.
inline QString shownText(QString text)
{
    constexpr qsizetype maxShownCharacters = 4096;
    if (text.size() > maxShownCharacters)
        text = text.left(maxShownCharacters) + QChar(0x2026);
    return text;
}

// A tool tip that shows a row's whole text (as far as shownText goes), in lines of a fixed number
// of characters.
QString rowToolTip(const QString &shown);

} // namespace twinscan
