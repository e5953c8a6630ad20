#pragma once

#include "ui/MainWindowLayout.h"

class QGroupBox;
class QListView;
class QSizeGrip;
class QToolButton;
class QWidget;

namespace twinscan {

class PictureBox;

// The controls of the main window and where they sit: an action column on the left, the source
// file above the duplicates on the right, the status bar along the bottom. Open and Stop share
// one place. Enter presses Open, Esc presses Stop!.
struct MainWindowUi
{
    QGroupBox *frmAction = nullptr;
    QToolButton *cmdScan = nullptr;
    QToolButton *cmdStop = nullptr;
    QToolButton *cmdSave = nullptr;
    QToolButton *cmdView = nullptr;
    QToolButton *cmdSettings = nullptr;
    QToolButton *cmdAbout = nullptr;
    PictureBox *picProgressbar = nullptr;
    QGroupBox *frmOrig = nullptr;
    QListView *lstShow = nullptr;
    QGroupBox *frmDup = nullptr;
    QListView *List2 = nullptr;
    PictureBox *picStatusbar = nullptr;
    QSizeGrip *grip = nullptr; // over the status bar's drawn grip

    // Where the controls the layout rule moves are now, in twips.
    MainWindowGeometry geometry;

    void setupUi(QWidget *form);
    // Moves the controls to `placed` and keeps it as the present geometry.
    void place(const MainWindowGeometry &placed);
};

} // namespace twinscan
