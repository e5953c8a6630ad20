#include "windows/frmView.h"

#include "ui/UniformRowView.h"
#include "ui/Widgets.h"
#include "ui/WindowGeometry.h"
#include "ui/modSubclassing.h"

#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace twinscan {

// Load: placed where it was left, not filled yet.
frmView::frmView(ViewerSource &source, WindowPlacement &placement, QWidget *parent)
    : QDialog(parent), model_(source), placement_(placement)
{
    setObjectName(QStringLiteral("frmView"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Twinscan Viewer"));
    buildControls();
    placeWindow(*this, placement_);
}

void frmView::buildControls()
{
    lw = named(new UniformRowView(this), "lw");
    lw->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lw->setSelectionMode(QAbstractItemView::SingleSelection);
    lw->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StatusBar = named(new QStatusBar(this), "StatusBar");
    lblStatus = named(new QLabel(StatusBar), "lblStatus");
    StatusBar->addWidget(lblStatus, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(lw, 1);
    layout->addWidget(StatusBar);
    connect(lw, &QAbstractItemView::doubleClicked, this, &frmView::lw_DblClick);
}

bool frmView::event(QEvent *event)
{
    const bool handled = QDialog::event(event);
    // Without a window manager a window may never be activated, so being shown counts too.
    if (event->type() == QEvent::WindowActivate)
        Form_Activate();
    else if (event->type() == QEvent::Show)
        QMetaObject::invokeMethod(this, &frmView::Form_Activate, Qt::QueuedConnection);
    return handled;
}

// Fills the rows once, at the first activation: they come straight from the file, so this costs
// the same for ten lines as for ten million.
void frmView::Form_Activate()
{
    if (viewerFilled_ || !isVisible())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    modSubclassing::Hook(*this, modSubclassing::viewerWindowMinimum);
    lw->setModel(&model_);
    connect(
        lw->selectionModel(), &QItemSelectionModel::currentChanged, this, &frmView::lw_ItemClick);
    if (model_.rowCount() > 0)
        lw->setCurrentIndex(model_.index(0));
    viewerFilled_ = true;
    QApplication::restoreOverrideCursor();
}

void frmView::moveEvent(QMoveEvent *event)
{
    QDialog::moveEvent(event);
    recordPlacement();
}

void frmView::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    recordPlacement();
}

// The normal rectangle, what the next opening restores, also after closing maximised.
void frmView::recordPlacement()
{
    if (!viewerFilled_ || !placementSettled(*this))
        return;
    placement_ = framePlacement(*this);
}

// A click on a row, or a move to it with the keyboard.
void frmView::lw_ItemClick(const QModelIndex &row)
{
    if (row.isValid())
        lblStatus->setText(tr("Line %1").arg(row.row() + 1));
}

// The row under the pointer: a click on a check box does not make its row current.
void frmView::lw_DblClick(const QModelIndex &row)
{
    model_.toggle(row.row());
}

void frmView::done(int result)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    recordPlacement();
    if (isVisible() && framePlacement(*this).state == windowStateMaximised)
        placement_.state = windowStateMaximised;
    model_.carryBack();
    viewerFilled_ = false;
    modSubclassing::Unhook(*this);
    QApplication::restoreOverrideCursor();
    QDialog::done(result);
}

} // namespace twinscan
