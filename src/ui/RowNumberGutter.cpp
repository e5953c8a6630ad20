#include "ui/RowNumberGutter.h"

#include "ui/UniformRowView.h"

#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace twinscan {

RowNumberGutter::RowNumberGutter(UniformRowView &view) : QWidget(&view), view_(view)
{
    setObjectName(QStringLiteral("gutter"));
}

int RowNumberGutter::widthFor(int rowCount, const QFontMetrics &metrics)
{
    const int digits = int(QString::number(std::max(rowCount, 1)).size());
    return metrics.horizontalAdvance(QLatin1Char('9')) * digits + 2 * padding;
}

void RowNumberGutter::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().color(QPalette::Window));
    painter.setPen(palette().color(QPalette::Disabled, QPalette::Text));
    painter.setFont(view_.font());
    const int height = view_.rowHeight();
    const int first = view_.firstVisibleRow();
    const int last = std::min(
        view_.model() ? view_.model()->rowCount() : 0, first + event->rect().bottom() / height + 1);
    for (int row = first + event->rect().top() / height; row < last; ++row) {
        const QRect cell(0, (row - first) * height, width() - padding, height);
        painter.drawText(cell, Qt::AlignRight | Qt::AlignVCenter, QString::number(row + 1));
    }
}

} // namespace twinscan
