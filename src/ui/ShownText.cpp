#include "ui/ShownText.h"

#include <QStringList>

namespace twinscan {

// Rich text, so that the tip breaks its lines where we say: a tip of plain text is one line,
// however long, and runs off the screen.
QString rowToolTip(const QString &shown)
{
    constexpr qsizetype columns = 120;
    QStringList rows;
    for (qsizetype at = 0; at < shown.size();) {
        qsizetype length = std::min(columns, shown.size() - at);
        // A character outside the basic plane is two halves; they stay together.
        if (at + length < shown.size() && shown.at(at + length - 1).isHighSurrogate())
            --length;
        rows.append(shown.mid(at, length).toHtmlEscaped());
        at += length;
    }
    return QStringLiteral("<p style='white-space:pre'>") + rows.join(QStringLiteral("<br>"))
        + QStringLiteral("</p>");
}

} // namespace twinscan
