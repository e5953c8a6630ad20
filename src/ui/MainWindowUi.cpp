#include "ui/MainWindowUi.h"

#include "ui/ProgressDisplay.h"
#include "ui/StatusPanel.h"
#include "ui/Widgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListView>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

namespace twinscan {

namespace {
QToolButton *makeButton(QWidget *parent, const char *name, const QString &caption,
    const QString &toolTip, QStyle::StandardPixmap picture)
{
    auto *button = named(new QToolButton(parent), name);
    button->setText(caption);
    button->setToolTip(toolTip);
    button->setIcon(QApplication::style()->standardIcon(picture));
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setFixedSize(57, 49);
    return button;
}

QListView *makeList(QWidget *parent, const char *name, const QString &toolTip)
{
    auto *list = named(new QListView(parent), name);
    list->setToolTip(toolTip);
    // Every row has the same height, which keeps scrolling through long lists cheap.
    list->setUniformItemSizes(true);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    return list;
}

} // namespace

void MainWindowUi::setupUi(QWidget *form)
{
    frmAction = named(new QGroupBox(form), "frmAction");
    frmAction->setFixedWidth(89);
    cmdScan = makeButton(frmAction, "cmdScan", QObject::tr("Open"),
        QObject::tr("Open a text file and scan for duplicates lines."),
        QStyle::SP_DialogOpenButton);
    cmdStop = makeButton(frmAction, "cmdStop", QObject::tr("Stop!"),
        QObject::tr("Stop processing!"), QStyle::SP_BrowserStop);
    cmdSave = makeButton(frmAction, "cmdSave", QObject::tr("Save"),
        QObject::tr("Saves the file with checked duplicates removed."),
        QStyle::SP_DialogSaveButton);
    cmdView = makeButton(frmAction, "cmdView", QObject::tr("View"),
        QObject::tr("View the file with duplicate lines marked red."),
        QStyle::SP_FileDialogContentsView);
    cmdSettings = makeButton(frmAction, "cmdSettings", QObject::tr("Settings"),
        QObject::tr("Open the Settings window."), QStyle::SP_FileDialogDetailedView);
    cmdAbout = makeButton(frmAction, "cmdAbout", QObject::tr("About"),
        QObject::tr("Display information about Twinscan."), QStyle::SP_MessageBoxInformation);
    cmdStop->hide();
    picProgressbar = named(new ProgressDisplay(frmAction), "picProgressbar");

    auto *actions = new QVBoxLayout(frmAction);
    for (QToolButton *button : {cmdScan, cmdStop, cmdSave, cmdView, cmdSettings, cmdAbout})
        actions->addWidget(button, 0, Qt::AlignHCenter);
    actions->addWidget(picProgressbar, 1, Qt::AlignHCenter);

    lstShow = makeList(form, "lstShow",
        QObject::tr("This list contains the source file that has been scanned for "
                    "duplicates."));
    List2 = makeList(form, "List2",
        QObject::tr("This list contains all duplicates found. Right click for a popup "
                    "menu."));
    frmOrig = makeFrame(form, "frmOrig", QObject::tr("Source File"), {lstShow});
    frmDup = makeFrame(form, "frmDup", QObject::tr("Duplicates Found"), {List2});

    picStatusbar = named(new StatusPanel(form), "picStatusbar");

    auto *lists = new QVBoxLayout;
    lists->addWidget(frmOrig, 1);
    lists->addWidget(frmDup, 1);
    auto *body = new QHBoxLayout;
    body->addWidget(frmAction);
    body->addLayout(lists, 1);
    auto *outer = new QVBoxLayout(form);
    outer->setContentsMargins(8, 8, 8, 0);
    outer->addLayout(body, 1);
    outer->addWidget(picStatusbar);
}

} // namespace twinscan
