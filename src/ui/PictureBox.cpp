#include "ui/PictureBox.h"

#include "ui/BarAccessibility.h"

#include <QPainter>

namespace twinscan {

PictureBox::PictureBox(QWidget *parent) : QWidget(parent)
{
    // The bars fill every pixel themselves.
    setAttribute(Qt::WA_OpaquePaintEvent);
    installBarAccessibility();
}

void PictureBox::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter_ = &painter;
    Q_EMIT paintRequested();
    painter_ = nullptr;
}

} // namespace twinscan
