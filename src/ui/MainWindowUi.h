#pragma once

#include "ui/MainWindowLayout.h"

class QAction;
class QGroupBox;
class QSizeGrip;
class QToolButton;
class QWidget;

namespace twinscan {

class PictureBox;
class UniformRowView;

// The controls of the main window and where they sit: an action column on the left, the source
// file above the duplicates on the right, the status bar along the bottom. Open and Stop share
// one place. Enter presses Open, Esc presses Stop!.
//
// Each command is one action with its text and standard key; its button shows it, so that a
// command disabled is disabled for the mouse and the keyboard at once.
struct MainWindowUi
{
    QAction *actOpen = nullptr;
    QAction *actStop = nullptr;
    QAction *actSave = nullptr;
    QAction *actView = nullptr;
    QAction *actSettings = nullptr;
    QAction *actAbout = nullptr;
    QAction *actHelp = nullptr;
    QAction *actQuit = nullptr;
    // Take back the last marking step, or do it again.
    QAction *actUndo = nullptr;
    QAction *actRedo = nullptr;

    QGroupBox *frmAction = nullptr;
    QToolButton *cmdScan = nullptr;
    QToolButton *cmdStop = nullptr;
    QToolButton *cmdSave = nullptr;
    QToolButton *cmdView = nullptr;
    QToolButton *cmdSettings = nullptr;
    QToolButton *cmdAbout = nullptr;
    PictureBox *picProgressbar = nullptr;
    QGroupBox *frmOrig = nullptr;
    UniformRowView *lstShow = nullptr;
    QGroupBox *frmDup = nullptr;
    UniformRowView *List2 = nullptr;
    PictureBox *picStatusbar = nullptr;
    QSizeGrip *grip = nullptr; // over the status bar's drawn grip

    // Where the controls the layout rule moves are now, in twips at the design font.
    MainWindowGeometry geometry;
    // How much larger than the design the window is drawn, so that each caption shows whole in
    // the font the controls have: 1 at the default font, which the design has room for.
    double scale = 1.0;

    void setupUi(QWidget *form);
    // Moves the controls to `placed` and keeps it as the present geometry.
    void place(const MainWindowGeometry &placed);

    // Logical pixels for a rectangle in design twips.
    QRect inPixels(const QRect &twips) const;
    // Design twips for a length in twips, or for a size in logical pixels.
    int designTwips(qint64 twips) const;
    QSize designTwips(QSize pixels) const;
    // A size in logical pixels grown as the design is.
    QSize scaled(QSize pixels) const;
};

} // namespace twinscan
