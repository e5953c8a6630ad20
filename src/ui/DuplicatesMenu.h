#pragma once

#include <QCoreApplication>

class QAction;
class QMenu;
class QWidget;

namespace twinscan {

// The context menu of the duplicates list: copying the entries' lines, marking them by a rule,
// the list's order, and saving the groups or some of the lines to a file of their own.
struct DuplicatesMenu
{
    Q_DECLARE_TR_FUNCTIONS(DuplicatesMenu)

public:
    QMenu *mnuPopup = nullptr;
    QMenu *mnuCopy = nullptr;
    QAction *mnuCopyAll = nullptr;
    QAction *mnuCopyCurrent = nullptr;
    QAction *mnuCopySelected = nullptr;
    QMenu *mnuSelect = nullptr;
    QAction *mnuSelAll = nullptr;
    QAction *mnuUnsel = nullptr;
    QAction *mnuInvert = nullptr;
    QAction *mnuSelAllButFirst = nullptr;
    QAction *mnuSelAllButLast = nullptr;
    QAction *mnuSortByCount = nullptr;
    QAction *mnuSortByFirst = nullptr;
    QAction *mnuSaveReport = nullptr;
    QAction *mnuSaveDuplicates = nullptr;
    QAction *mnuSaveRemoved = nullptr;

    void setupMenu(QWidget *owner);
};

} // namespace twinscan
