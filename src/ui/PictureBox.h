#pragma once

#include <QWidget>

class QPainter;

namespace twinscan {

// A drawing surface that an owner-drawn bar paints into. Its paint event asks the bar to draw;
// while that runs, painter() is the way to the surface.
class PictureBox final : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // The painter of the paint event that is running, or null outside one.
    QPainter *painter() const { return painter_; }

Q_SIGNALS:
    void paintRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPainter *painter_ = nullptr;
};

} // namespace twinscan
