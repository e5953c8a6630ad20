#pragma once

#include <QString>
#include <initializer_list>

class QGroupBox;
class QWidget;

namespace twinscan {

// Gives a new control the name it is known by, in the code and to tests that look for it.
template<typename Widget> Widget *named(Widget *widget, const char *name)
{
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A frame with a caption and its controls stacked from top to bottom.
QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption,
    std::initializer_list<QWidget *> controls);

} // namespace twinscan
