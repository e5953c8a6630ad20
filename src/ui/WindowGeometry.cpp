#include "ui/WindowGeometry.h"

#include "engine/Rounding.h"
#include "ui/FrameFitter.h"

#include <QGuiApplication>
#include <QScreen>
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

qint64 overlap(const QRect &a, const QRect &b)
{
    const QRect common = a.intersected(b);
    return qint64(common.width()) * common.height();
}

// Shrunk to the area where larger, then moved in as far as it sticks out.
QRect fitInto(const QRect &frame, const QRect &area)
{
    const QSize size = frame.size().boundedTo(area.size());
    const int left
        = std::clamp(frame.left(), area.left(), area.left() + area.width() - size.width());
    const int top = std::clamp(frame.top(), area.top(), area.top() + area.height() - size.height());
    return {QPoint(left, top), size};
}

QRect onSomeScreen(const QRect &frame)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return frame;
    QList<QRect> screens;
    for (const QScreen *screen : QGuiApplication::screens())
        screens.append(screen->availableGeometry());
    return fitToScreens(frame, screens, primary->availableGeometry());
}

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

QRect fitToScreens(const QRect &frame, const QList<QRect> &screens, const QRect &primaryArea)
{
    const auto most = std::max_element(screens.begin(), screens.end(),
        [&](const QRect &a, const QRect &b) { return overlap(a, frame) < overlap(b, frame); });
    if (most != screens.end() && overlap(*most, frame) > 0)
        return fitInto(frame, *most);
    QRect moved = frame;
    moved.moveCenter(primaryArea.center());
    return fitInto(moved, primaryArea);
}

WindowPlacement grownTo(const WindowPlacement &placement, QSize minimum)
{
    WindowPlacement grown = placement;
    grown.width = std::max(grown.width, toTwipField(qint64(minimum.width()) * twipsPerPixel));
    grown.height = std::max(grown.height, toTwipField(qint64(minimum.height()) * twipsPerPixel));
    return grown;
}

void placeWindow(QWidget &window, const WindowPlacement &placement)
{
    const QRect stored = frameInPixels(placement);
    QRect frame = onSomeScreen(stored);
    // A Wayland client can neither place its windows nor learn where they are. There the window
    // keeps the stored position as its own, never applied, so that the position read back at
    // close is the one stored; only the size is fitted to the screen.
    if (QGuiApplication::platformName().startsWith(u"wayland"))
        frame.moveTopLeft(stored.topLeft());
    const Qt::WindowStates state = withState(window.windowState(), placement.state);
    // Before the first show, move() places the outer frame and the frame is not known yet.
    const QSize extra = window.frameGeometry().size() - window.size();
    window.move(frame.topLeft());
    window.resize(frame.size() - extra);
    if (extra == QSize(0, 0))
        new FrameFitter(window, frame, state);
    else
        window.setWindowState(state);
}

bool placementSettled(const QWidget &window)
{
    return window.isVisible() && stateOf(window) == windowStateNormal
        && !FrameFitter::pending(window);
}

} // namespace twinscan
