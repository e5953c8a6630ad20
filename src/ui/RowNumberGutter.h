#pragma once

#include <QWidget>

namespace twinscan {

class UniformRowView;

// The numbers of a UniformRowView's rows in sight, counted from 1, in a strip to the left of the
// rows. It is as wide as the largest number needs, and draws only the rows in sight.
class RowNumberGutter final : public QWidget
{
    Q_OBJECT

public:
    explicit RowNumberGutter(UniformRowView &view);

    // The width for numbers up to `rowCount` in the font of `metrics`.
    static int widthFor(int rowCount, const QFontMetrics &metrics);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    static constexpr int padding = 6;

    UniformRowView &view_;
};

} // namespace twinscan
