#include "ui/DuplicatesMenu.h"

#include "ui/Widgets.h"

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
    mnuPopup = named(new QMenu(QObject::tr("Popup"), owner), "mnuPopup");
    mnuCopy = named(mnuPopup->addMenu(QObject::tr("Copy to Clipboard")), "mnuCopy");
    mnuCopyAll = addItem(mnuCopy, "mnuCopyAll", QObject::tr("All"));
    mnuCopyCurrent = addItem(mnuCopy, "mnuCopyCurrent", QObject::tr("Current"));
    mnuCopySelected = addItem(mnuCopy, "mnuCopySelected", QObject::tr("Selected"));
    mnuPopup->addSeparator();
    mnuSelect = named(mnuPopup->addMenu(QObject::tr("Select")), "mnuSelect");
    mnuSelAll = addItem(mnuSelect, "mnuSelAll", QObject::tr("All"));
    mnuUnsel = addItem(mnuSelect, "mnuUnsel", QObject::tr("None"));
    mnuSelect->addSeparator();
    mnuInvert = addItem(mnuSelect, "mnuInvert", QObject::tr("Invert"));
    mnuSelect->addSeparator();
    mnuSelAllButFirst
        = addItem(mnuSelect, "mnuSelAllButFirst", QObject::tr("All but first duplicate"));
    mnuSelAllButLast
        = addItem(mnuSelect, "mnuSelAllButLast", QObject::tr("All but last duplicate"));
}

} // namespace twinscan
