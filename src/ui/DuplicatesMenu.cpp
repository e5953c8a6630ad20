#include "ui/DuplicatesMenu.h"

#include "ui/Widgets.h"

#include <QActionGroup>
#include <QMenu>

namespace twinscan {

namespace {
QAction *addItem(QMenu *menu, const char *name, const QString &caption)
{
    return named(menu->addAction(caption), name);
}
} // namespace

void DuplicatesMenu::setupMenu(QWidget *owner)
{
    mnuPopup = named(new QMenu(tr("Popup"), owner), "mnuPopup");
    mnuCopy = named(mnuPopup->addMenu(tr("Copy to Clipboard")), "mnuCopy");
    mnuCopyAll = addItem(mnuCopy, "mnuCopyAll", tr("All"));
    mnuCopyCurrent = addItem(mnuCopy, "mnuCopyCurrent", tr("Current"));
    mnuCopySelected = addItem(mnuCopy, "mnuCopySelected", tr("Selected"));
    mnuPopup->addSeparator();
    mnuSelect = named(mnuPopup->addMenu(tr("Select")), "mnuSelect");
    mnuSelAll = addItem(mnuSelect, "mnuSelAll", tr("All"));
    mnuUnsel = addItem(mnuSelect, "mnuUnsel", tr("None"));
    mnuSelect->addSeparator();
    mnuInvert = addItem(mnuSelect, "mnuInvert", tr("Invert"));
    mnuSelect->addSeparator();
    mnuSelAllButFirst = addItem(mnuSelect, "mnuSelAllButFirst", tr("All but first duplicate"));
    mnuSelAllButLast = addItem(mnuSelect, "mnuSelAllButLast", tr("All but last duplicate"));
    // How the list is ordered: one of the two is checked.
    mnuPopup->addSeparator();
    mnuSortByCount = addItem(mnuPopup, "mnuSortByCount", tr("Sort by count"));
    mnuSortByFirst = addItem(mnuPopup, "mnuSortByFirst", tr("Sort by first occurrence"));
    auto *order = new QActionGroup(mnuPopup);
    for (QAction *sort : {mnuSortByCount, mnuSortByFirst}) {
        sort->setCheckable(true);
        order->addAction(sort);
    }
    mnuSortByFirst->setChecked(true);
    mnuPopup->addSeparator();
    mnuSaveReport = addItem(mnuPopup, "mnuSaveReport", tr("Save Report\u2026"));
    mnuSaveDuplicates = addItem(mnuPopup, "mnuSaveDuplicates", tr("Save Duplicates Only\u2026"));
    mnuSaveRemoved = addItem(mnuPopup, "mnuSaveRemoved", tr("Save Removed Lines\u2026"));
}

} // namespace twinscan
