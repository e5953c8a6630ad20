#include "ui/FrameFitter.h"

#include <QEvent>
#include <QWidget>

namespace twinscan {

namespace {
const char *const fitterName = "twinscanFrameFitter";
constexpr int giveUpMilliseconds = 2000;
} // namespace

FrameFitter::FrameFitter(QWidget &window, const QRect &frame, Qt::WindowStates state)
    : QObject(&window), window_(window), frame_(frame), state_(state)
{
    setObjectName(QLatin1String(fitterName));
    giveUp_.setSingleShot(true);
    giveUp_.setInterval(giveUpMilliseconds);
    connect(&giveUp_, &QTimer::timeout, this, &FrameFitter::finish);
    window.installEventFilter(this);
}

bool FrameFitter::pending(const QWidget &window)
{
    return window.findChild<QObject *>(QLatin1String(fitterName), Qt::FindDirectChildrenOnly);
}

bool FrameFitter::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (watched != &window_ || fitPending_
        || !(type == QEvent::Show || type == QEvent::Resize || type == QEvent::Move))
        return false;
    if (type == QEvent::Show)
        giveUp_.start();
    if (window_.isVisible() && frameExtra() != QSize(0, 0)) {
        fitPending_ = true;
        QTimer::singleShot(0, this, &FrameFitter::fit);
    }
    return false;
}

QSize FrameFitter::frameExtra() const
{
    return window_.frameGeometry().size() - window_.size();
}

void FrameFitter::fit()
{
    // The window manager may have put the window elsewhere than it was asked to.
    window_.move(frame_.topLeft());
    window_.resize(frame_.size() - frameExtra());
    finish();
}

void FrameFitter::finish()
{
    window_.removeEventFilter(this);
    setObjectName({});
    window_.setWindowState(state_);
    deleteLater();
}

} // namespace twinscan
