#include "ui/Widgets.h"

#include <QGroupBox>
#include <QVBoxLayout>

namespace twinscan {

QGroupBox *makeFrame(QWidget *parent, const char *name, const QString &caption,
    std::initializer_list<QWidget *> controls)
{
    auto *frame = named(new QGroupBox(caption, parent), name);
    auto *layout = new QVBoxLayout(frame);
    for (QWidget *control : controls) {
        control->setParent(frame);
        layout->addWidget(control);
    }
    return frame;
}

} // namespace twinscan
