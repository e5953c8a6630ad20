#pragma once

#include "windows/ViewerModel.h"

#include <QDialog>

class QLabel;
class QStatusBar;

namespace twinscan {

class UniformRowView;
class ViewerSource;
struct WindowPlacement;

// The modal viewer: the whole scanned file, one row per line in a fixed-width font, duplicate
// lines in red and checked when marked. The user checks further duplicate lines; closing carries
// the checks back into the marks. The window opens where it was last left.
class frmView final : public QDialog
{
    Q_OBJECT

public:
    frmView(ViewerSource &source, WindowPlacement &placement, QWidget *parent = nullptr);

    bool viewerFilled() const { return viewerFilled_; }
    // Every way the window closes (its frame, Escape) runs the close steps once, here.
    void done(int result) override;

protected:
    bool event(QEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls();
    void Form_Activate();
    void recordPlacement();
    void lw_ItemClick(const QModelIndex &row);
    void lw_DblClick(const QModelIndex &row);

    ViewerModel model_;
    WindowPlacement &placement_;
    bool viewerFilled_ = false;

    UniformRowView *lw = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *lblStatus = nullptr;
};

} // namespace twinscan
