#pragma once

#include "engine/LineSearch.h"
#include "windows/ViewerModel.h"

#include <QDialog>

class QAction;
class QLabel;
class QStatusBar;

namespace twinscan {

class UniformRowView;
class ViewerFindBar;
class ViewerSource;
struct WindowPlacement;

// The modal viewer: the whole scanned file, one row per line in a fixed-width font beside its
// line number, duplicate lines in red and checked when marked, the current line's group on a
// light background. The user checks further duplicate lines, finds text, goes to a line and steps
// through a group; closing carries the checks back into the marks. The window opens where it was
// last left.
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
    void keyPressEvent(QKeyEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildControls(ViewerSource &source);
    void buildCommands();
    QAction *addCommand(const char *name, const QString &text, const QKeySequence &keys);
    void Form_Activate();
    void recordPlacement();
    void lw_ItemClick(const QModelIndex &row);
    void lw_DblClick(const QModelIndex &row);
    int currentRow() const;
    void goToRow(int row);
    void goToLine();
    void stepDuplicate(bool forward);
    bool textStillScanned();
    void find(LineSearch::Direction direction);

    ViewerSource &source_;
    ViewerModel model_;
    WindowPlacement &placement_;
    bool viewerFilled_ = false;

    UniformRowView *lw = nullptr;
    ViewerFindBar *fraFind = nullptr;
    QStatusBar *StatusBar = nullptr;
    QLabel *lblStatus = nullptr;
};

} // namespace twinscan
