#pragma once

#include <QProgressBar>

namespace twinscan {

// The progress display of the action column: Min, Max and Value as a long job sets them; every
// change repaints at once.
class ProgressDisplay final : public QProgressBar
{
    Q_OBJECT

public:
    explicit ProgressDisplay(QWidget *parent = nullptr);

    int Min() const { return minimum(); }
    int Max() const { return maximum(); }
    int Value() const { return value(); }
    void setMin(int value);
    void setMax(int value);
    void setValue(int value);
};

} // namespace twinscan
