#pragma once

#include <QWidget>

class QPainter;

namespace twinscan {

class AccessibleBar;

// A drawing surface that an owner-drawn bar paints into. Its paint event asks the bar to draw;
// while that runs, painter() is the way to the surface.
class PictureBox final : public QWidget
{
    Q_OBJECT

public:
    explicit PictureBox(QWidget *parent = nullptr);

    // The painter of the paint event that is running, or null outside one.
    QPainter *painter() const { return painter_; }

    // The bar that draws here, which assistive tools ask what the box shows; null for none.
    const AccessibleBar *accessibleBar() const { return bar_; }
    void setAccessibleBar(const AccessibleBar *bar) { bar_ = bar; }

Q_SIGNALS:
    void paintRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPainter *painter_ = nullptr;
    const AccessibleBar *bar_ = nullptr;
};

} // namespace twinscan
