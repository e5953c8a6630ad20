#pragma once

class QGroupBox;
class QListView;
class QToolButton;
class QWidget;

namespace twinscan {

class ProgressDisplay;
class StatusPanel;

// The controls of the main window and where they sit: an action column on the left, the source
// file above the duplicates on the right, the message panel along the bottom.
struct MainWindowUi
{
    QGroupBox *frmAction = nullptr;
    QToolButton *cmdScan = nullptr;
    QToolButton *cmdStop = nullptr;
    QToolButton *cmdSave = nullptr;
    QToolButton *cmdView = nullptr;
    QToolButton *cmdSettings = nullptr;
    QToolButton *cmdAbout = nullptr;
    ProgressDisplay *picProgressbar = nullptr;
    QGroupBox *frmOrig = nullptr;
    QListView *lstShow = nullptr;
    QGroupBox *frmDup = nullptr;
    QListView *List2 = nullptr;
    StatusPanel *picStatusbar = nullptr;

    void setupUi(QWidget *form);
};

} // namespace twinscan
