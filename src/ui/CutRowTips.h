#pragma once

#include <QObject>

class QAbstractItemView;
class QHelpEvent;

namespace twinscan {

// Gives a list's rows that it cuts, at its right edge or by scrolling sideways, a tool tip with
// their whole text; over a row that shows all there is, the list's own tip (if any) stays.
class CutRowTips final : public QObject
{
    Q_OBJECT

public:
    explicit CutRowTips(QAbstractItemView &view);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool showTip(const QHelpEvent &event);

    QAbstractItemView &view_;
};

} // namespace twinscan
