#include "ui/WindowGeometry.h"

#include "engine/Rounding.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <algorithm>

namespace twinscan {

namespace {

qint16 stateOf(const QWidget &window)
{
    if (window.isMinimized())
        return windowStateMinimised;
    if (window.windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return windowStateMaximised;
    return windowStateNormal;
}

Qt::WindowStates withState(Qt::WindowStates current, qint16 state)
{
    current &= ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen);
    if (state == windowStateMinimised)
        return current | Qt::WindowMinimized;
    if (state == windowStateMaximised)
        return current | Qt::WindowMaximized;
    return current;
}

QRect frameInPixels(const WindowPlacement &placement)
{
    return {twipsToPixels(placement.left), twipsToPixels(placement.top),
        twipsToPixels(placement.width), twipsToPixels(placement.height)};
}

// A frame larger than the area, saved at another scale or on a larger screen, is shrunk to it
// and moved only as far as it must to fit. A frame that fits keeps its place, also when part of
// it lies beyond the edge.
QRect fitInto(const QRect &frame, const QRect &area)
{
    QRect fitted = frame;
    if (frame.width() > area.width())
        fitted.setRect(area.left(), fitted.top(), area.width(), fitted.height());
    if (frame.height() > area.height())
        fitted.setRect(fitted.left(), area.top(), fitted.width(), area.height());
    return fitted;
}

QRect onSomeScreen(const QRect &frame)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return frame;
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    return keepOnScreens(frame, screens, primary->availableGeometry());
}

// Most platforms tell the size of a window's frame only once the window is shown, and Qt sizes
// a window by its inside. Once the frame is known and the window is in its normal state, the
// inside is fitted so that the outer frame has the size that was asked for; without this the
// window would grow by its frame on every run. A window shown maximised is fitted when it is
// first restored, after the platform has given it back its normal geometry.
class FrameFitter final : public QObject
{
public:
    FrameFitter(QWidget &window, QRect frame) : QObject(&window), window_(window), frame_(frame)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        if (watched == &window_ && !fitPending_
            && (type == QEvent::Show || type == QEvent::Resize || type == QEvent::Move
                || type == QEvent::WindowStateChange)
            && readyToFit()) {
            fitPending_ = true;
            QTimer::singleShot(0, this, &FrameFitter::fit);
        }
        return false;
    }

private:
    QSize frameExtra() const { return window_.frameGeometry().size() - window_.size(); }

    bool readyToFit() const
    {
        return window_.isVisible() && frameExtra() != QSize(0, 0)
            && stateOf(window_) == windowStateNormal;
    }

    void fit()
    {
        fitPending_ = false;
        if (!readyToFit())
            return;
        window_.removeEventFilter(this);
        // A window shown maximised had no normal place of its own yet; the window manager may have
        // put it anywhere.
        window_.move(frame_.topLeft());
        window_.resize(frame_.size() - frameExtra());
        deleteLater();
    }

    QWidget &window_;
    QRect frame_;
    bool fitPending_ = false;
};

} // namespace

int twipsToPixels(int twips)
{
    return int(roundHalfEven(double(twips) / twipsPerPixel));
}

QSize primaryScreenTwips()
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry().size() * twipsPerPixel : QSize(0, 0);
}

WindowSnapshot windowSnapshot(const QWidget &window)
{
    const QPoint topLeft = window.frameGeometry().topLeft();
    return {
        stateOf(window), qint64(topLeft.x()) * twipsPerPixel, qint64(topLeft.y()) * twipsPerPixel};
}

WindowPlacement framePlacement(const QWidget &window)
{
    const QRect frame = window.frameGeometry();
    return {toTwipField(qint64(frame.x()) * twipsPerPixel),
        toTwipField(qint64(frame.y()) * twipsPerPixel),
        toTwipField(qint64(frame.width()) * twipsPerPixel),
        toTwipField(qint64(frame.height()) * twipsPerPixel), stateOf(window)};
}

QRect keepOnScreens(const QRect &frame, const QList<QRect> &screens, const QRect &primaryArea)
{
    for (const QRect &screen : screens) {
        if (screen.intersects(frame))
            return fitInto(frame, screen);
    }
    QRect moved = frame;
    moved.moveCenter(primaryArea.center());
    // A frame larger than the screen keeps its title bar reachable.
    moved.moveTopLeft(
        {std::max(moved.left(), primaryArea.left()), std::max(moved.top(), primaryArea.top())});
    return fitInto(moved, primaryArea);
}

void placeWindow(QWidget &window, const WindowPlacement &placement)
{
    const QRect frame = onSomeScreen(frameInPixels(placement));
    // Before the first show, move() places the outer frame and the frame is not known yet.
    const QSize extra = window.frameGeometry().size() - window.size();
    window.move(frame.topLeft());
    window.resize(frame.size() - extra);
    if (extra == QSize(0, 0))
        new FrameFitter(window, frame);
    window.setWindowState(withState(window.windowState(), placement.state));
}

} // namespace twinscan
