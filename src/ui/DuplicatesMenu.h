#pragma once

#include <QCoreApplication>

class QAction;
class QMenu;
class QWidget;

namespace twinscan {

// The context menu of the duplicates list: copying the entries' lines, and marking them by a rule.
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

    void setupMenu(QWidget *owner);
};

} // namespace twinscan
