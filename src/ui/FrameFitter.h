#pragma once

#include <QObject>
#include <QRect>
#include <QTimer>

class QWidget;

namespace twinscan {

// Most platforms tell the size of a window's frame only once the window is shown, and Qt sizes a
// window by its inside. Once the frame is known, this gives the window the outer rectangle that
// was asked for, and only then the state it is to have: a window shown maximised straight away
// is restored by the window manager to an unfitted rectangle, and the frame it reports around the
// time of that restore may still be the maximised one, so each cycle would grow the window.
class FrameFitter final : public QObject
{
public:
    FrameFitter(QWidget &window, const QRect &frame, Qt::WindowStates state);

    // Whether the window still waits for its frame to be fitted.
    static bool pending(const QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QSize frameExtra() const;
    void fit();
    void finish();

    QWidget &window_;
    QRect frame_;
    Qt::WindowStates state_;
    bool fitPending_ = false;
    // A window manager that draws no frame never tells one; the window then keeps the rectangle it
    // was given and still gets its state.
    QTimer giveUp_;
};

} // namespace twinscan
