#include "ui/ScannedTextCheck.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

namespace twinscan {

namespace {
struct ScannedTextCheck
{
    Q_DECLARE_TR_FUNCTIONS(ScannedTextCheck)
};
} // namespace

QString changedSinceScanText(ChangedTextUse use)
{
    switch (use) {
    case ChangedTextUse::Copied:
        return ScannedTextCheck::tr(
            "The file has changed since it was scanned. Please scan it again before copying.");
    case ChangedTextUse::Viewed:
        return ScannedTextCheck::tr(
            "The file has changed since it was scanned. Please scan it again before viewing it.");
    case ChangedTextUse::Shown:
        break;
    }
    return ScannedTextCheck::tr("The file has changed since it was scanned. Please scan it again.");
}

PaintCheck::PaintCheck(QWidget *widget, std::function<void()> check)
    : QObject(widget), check_(std::move(check))
{
    widget->installEventFilter(this);
}

bool PaintCheck::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        check_();
    return QObject::eventFilter(watched, event);
}

} // namespace twinscan
