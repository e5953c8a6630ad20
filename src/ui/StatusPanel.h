#pragma once

#include <QLabel>

namespace twinscan {

// The message panel along the bottom of the main window. Setting a panel's text repaints at
// once, so that a long job's messages show while it runs.
class StatusPanel final : public QLabel
{
    Q_OBJECT

public:
    explicit StatusPanel(QWidget *parent = nullptr);

    QString PanelText(int panel) const;
    void setPanelText(int panel, const QString &text);
};

} // namespace twinscan
