#include "windows/frmView.h"

#include "ui/ScannedTextCheck.h"
#include "ui/TextContrast.h"
#include "ui/UniformRowView.h"
#include "ui/Widgets.h"
#include "ui/WindowGeometry.h"
#include "ui/modSubclassing.h"
#include "windows/ViewerFindBar.h"
#include "windows/ViewerSource.h"

#include <QAction>
#include <QApplication>
#include <QFontDatabase>
#include <QHeaderView>
#include <QInputDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QStatusBar>
#include <QVBoxLayout>

namespace twinscan {

namespace {
// A light tint of the selection colour, under which red text still reads.
QColor groupBackground(const QPalette &palette)
{
    const QColor base = palette.color(QPalette::Base);
    const QColor tint = palette.color(QPalette::Highlight);
    const auto mix = [](float a, float b) { return a * 0.8f + b * 0.2f; };
    return QColor::fromRgbF(mix(base.redF(), tint.redF()), mix(base.greenF(), tint.greenF()),
        mix(base.blueF(), tint.blueF()));
}
} // namespace

// Load: placed where it was left, not filled yet.
frmView::frmView(ViewerSource &source, WindowPlacement &placement, QWidget *parent)
    : QDialog(parent), source_(source), model_(source), placement_(placement)
{
    setObjectName(QStringLiteral("frmView"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
        | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setWindowTitle(tr("Twinscan Viewer"));
    buildControls(source);
    buildCommands();
    placeWindow(*this, placement_);
}

void frmView::buildControls(ViewerSource &source)
{
    lw = named(new UniformRowView(this), "lw");
    lw->setAccessibleName(tr("File lines"));
    lw->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    lw->setSelectionMode(QAbstractItemView::SingleSelection);
    lw->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lw->setRowNumbersShown(true);
    lw->setContextMenuPolicy(Qt::ActionsContextMenu);
    new PaintCheck(lw->viewport(), [this] { textStillScanned(); });
    model_.setGroupBackground(groupBackground(lw->palette()));
    model_.setDuplicateColor(duplicateRed(lw->palette().color(QPalette::Base)));
    StatusBar = named(new QStatusBar(this), "StatusBar");
    lblStatus = named(new QLabel(StatusBar), "lblStatus");
    StatusBar->addWidget(lblStatus, 1);
    auto *findPrevious
        = addCommand("actFindPrevious", tr("Find Pre&vious"), QKeySequence::FindPrevious);
    auto *findNext = addCommand("actFindNext", tr("Find &Next"), QKeySequence::FindNext);
    fraFind = new ViewerFindBar(source.text(), *findPrevious, *findNext, this);
    fraFind->hide();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 0);
    layout->setSpacing(2);
    layout->addWidget(lw, 1);
    layout->addWidget(fraFind);
    layout->addWidget(StatusBar);
    connect(lw, &QAbstractItemView::doubleClicked, this, &frmView::lw_DblClick);
    connect(fraFind, &ViewerFindBar::found, this, &frmView::goToRow);
    connect(fraFind, &ViewerFindBar::notFound, this,
        [this](const QString &text) { lblStatus->setText(tr("\"%1\" was not found.").arg(text)); });
}

// Every command is an action: its keys work anywhere in the window, and the list's context menu
// offers it.
void frmView::buildCommands()
{
    using Direction = LineSearch::Direction;
    connect(findChild<QAction *>(QStringLiteral("actFindNext")), &QAction::triggered, this,
        [this] { find(Direction::Forward); });
    connect(findChild<QAction *>(QStringLiteral("actFindPrevious")), &QAction::triggered, this,
        [this] { find(Direction::Backward); });
    connect(addCommand("actFind", tr("&Find..."), QKeySequence::Find), &QAction::triggered, fraFind,
        &ViewerFindBar::open);
    connect(addCommand("actGoToLine", tr("&Go to Line..."), QKeySequence(Qt::CTRL | Qt::Key_G)),
        &QAction::triggered, this, &frmView::goToLine);
    connect(addCommand(
                "actNextDuplicate", tr("Next &Duplicate"), QKeySequence(Qt::CTRL | Qt::Key_Down)),
        &QAction::triggered, this, [this] { stepDuplicate(true); });
    connect(addCommand("actPreviousDuplicate", tr("&Previous Duplicate"),
                QKeySequence(Qt::CTRL | Qt::Key_Up)),
        &QAction::triggered, this, [this] { stepDuplicate(false); });
    const QStringList order {QStringLiteral("actFind"), QStringLiteral("actFindNext"),
        QStringLiteral("actFindPrevious"), QStringLiteral("actGoToLine"),
        QStringLiteral("actNextDuplicate"), QStringLiteral("actPreviousDuplicate")};
    for (const QString &name : order)
        lw->addAction(findChild<QAction *>(name));
}

QAction *frmView::addCommand(const char *name, const QString &text, const QKeySequence &keys)
{
    auto *action = named(new QAction(text, this), name);
    action->setShortcut(keys);
    addAction(action);
    return action;
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

// A click on a row, or a move to it with the keyboard: the status names its line and, for a
// duplicate, which of its group it is, and the group is drawn.
void frmView::lw_ItemClick(const QModelIndex &row)
{
    if (!row.isValid())
        return;
    QString text = tr("Line %1").arg(row.row() + 1);
    if (const auto place = model_.groupPlace(row.row()))
        text += tr(" \u00B7 duplicate %1 of %2").arg(place->number).arg(place->count);
    lblStatus->setText(text);
    model_.setCurrentRow(row.row());
}

// The row under the pointer: a click on a check box does not make its row current.
void frmView::lw_DblClick(const QModelIndex &row)
{
    model_.toggle(row.row());
}

int frmView::currentRow() const
{
    return lw->currentIndex().isValid() ? lw->currentIndex().row() : -1;
}

void frmView::goToRow(int row)
{
    const QModelIndex index = model_.index(row);
    lw->setCurrentIndex(index);
    lw->scrollTo(index, QAbstractItemView::PositionAtCenter);
}

void frmView::goToLine()
{
    auto *dialog = named(new QInputDialog(this), "dlgGoToLine");
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setWindowTitle(tr("Go to Line"));
    dialog->setInputMode(QInputDialog::IntInput);
    dialog->setLabelText(tr("Line number (1 - %1):").arg(model_.rowCount()));
    dialog->setIntRange(1, model_.rowCount());
    dialog->setIntValue(currentRow() + 1);
    connect(dialog, &QInputDialog::intValueSelected, this, [this](int line) { goToRow(line - 1); });
    dialog->open();
}

// Lines of a file changed since the scan read as empty: a search would find nothing in them.
void frmView::find(LineSearch::Direction direction)
{
    if (textStillScanned())
        fraFind->find(currentRow(), direction);
}

// Once another program changed the file, the rows show its lines empty, and the status says why.
bool frmView::textStillScanned()
{
    if (source_.text()->stillScanned())
        return true;
    lblStatus->setText(changedSinceScanText(ChangedTextUse::Shown));
    return false;
}

void frmView::stepDuplicate(bool forward)
{
    const int row = model_.nextDuplicate(currentRow(), forward);
    if (row >= 0)
        goToRow(row);
}

// Escape stops a running search first, then closes the find bar, and only then the window.
void frmView::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        if (fraFind->isSearching()) {
            fraFind->cancel();
            lblStatus->setText(tr("Search stopped."));
            return;
        }
        if (fraFind->isVisible() && fraFind->isAncestorOf(focusWidget())) {
            fraFind->hide();
            lw->setFocus();
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void frmView::done(int result)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    recordPlacement();
    if (isVisible() && framePlacement(*this).state == windowStateMaximised)
        placement_.state = windowStateMaximised;
    fraFind->cancel();
    model_.carryBack();
    viewerFilled_ = false;
    modSubclassing::Unhook(*this);
    QApplication::restoreOverrideCursor();
    QDialog::done(result);
}

} // namespace twinscan
