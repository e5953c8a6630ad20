#include "ui/ProgressDisplay.h"

namespace twinscan {

ProgressDisplay::ProgressDisplay(QWidget *parent) : QProgressBar(parent)
{
    setOrientation(Qt::Vertical);
    setTextVisible(false);
    setRange(0, 100);
    QProgressBar::setValue(0);
}

void ProgressDisplay::setMin(int value)
{
    setMinimum(value);
    repaint();
}

void ProgressDisplay::setMax(int value)
{
    setMaximum(value);
    repaint();
}

void ProgressDisplay::setValue(int value)
{
    QProgressBar::setValue(value);
    repaint();
}

} // namespace twinscan
