#include "ui/modSubclassing.h"

#include <QEvent>
#include <QWidget>

namespace twinscan::modSubclassing {

namespace {
// Watches the window for the moments its frame may have changed and fits the inside's minimum.
class MinimumFrame final : public QObject
{
public:
    MinimumFrame(QWidget &window, QSize minimum)
        : QObject(&window), window_(window), minimum_(minimum), before_(window.minimumSize())
    {
        setObjectName(QStringLiteral("modSubclassing"));
        window.installEventFilter(this);
        fit();
    }

    ~MinimumFrame() override
    {
        window_.removeEventFilter(this);
        window_.setMinimumSize(before_);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::Show:
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::WindowStateChange:
            fit();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void fit()
    {
        const QSize frame = window_.frameGeometry().size() - window_.size();
        window_.setMinimumSize((minimum_ - frame).expandedTo({0, 0}));
    }

    QWidget &window_;
    QSize minimum_;
    QSize before_;
};

QObject *hookOf(QWidget &window)
{
    return window.findChild<QObject *>(
        QStringLiteral("modSubclassing"), Qt::FindDirectChildrenOnly);
}
} // namespace

void Hook(QWidget &window, QSize minimum)
{
    // Hooked once between loading and unloading.
    if (!hookOf(window))
        new MinimumFrame(window, minimum);
}

void Unhook(QWidget &window)
{
    delete hookOf(window);
}

} // namespace twinscan::modSubclassing
