#include "ui/StatusPanel.h"

namespace twinscan {

StatusPanel::StatusPanel(QWidget *parent) : QLabel(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setTextFormat(Qt::PlainText);
    setMinimumWidth(64);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

// Only panel 1 exists: the message panel.
QString StatusPanel::PanelText(int panel) const
{
    return panel == 1 ? text() : QString();
}

void StatusPanel::setPanelText(int panel, const QString &text)
{
    if (panel != 1)
        return;
    setText(text);
    repaint();
}

} // namespace twinscan
