#include "app/frmMain.h"

#include "app/BatchRun.h"
#include "app/CommandLine.h"
#include "app/HelpKey.h"
#include "app/ListInteractions.h"
#include "app/Module.h"
#include "app/SaveCommand.h"
#include "app/ScanCommand.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "ui/ProgressDisplay.h"
#include "ui/StatusPanel.h"
#include "ui/WindowGeometry.h"
#include "windows/frmAbout.h"
#include "windows/frmSettings.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QListView>
#include <QToolButton>

namespace twinscan {

// Load: the settings come in before the window is placed.
frmMain::frmMain(const Services &services, QStringList arguments, QWidget *parent)
    : QWidget(parent), services_(services), arguments_(std::move(arguments))
{
    setObjectName(QStringLiteral("frmMain"));
    Module &m = module();
    m.appTitle = QStringLiteral("Twinscan");
    m.appVersion = QStringLiteral("2.5");
    ui_.setupUi(this);
    loadSettings(*services_.settings, m, primaryScreenTwips());
    placeWindow(*this, m.mainPlacement);
    ui_.lstShow->setModel(&lstShowBox_);
    ui_.List2->setModel(&List2Box_);
    ui_.cmdSave->setEnabled(false);
    ui_.cmdView->setEnabled(false);
    connect(ui_.cmdScan, &QToolButton::clicked, this, &frmMain::cmdScan_Click);
    connect(ui_.cmdStop, &QToolButton::clicked, this, &frmMain::cmdStop_Click);
    connect(ui_.cmdSave, &QToolButton::clicked, this, &frmMain::cmdSave_Click);
    connect(ui_.cmdSettings, &QToolButton::clicked, this, &frmMain::cmdSettings_Click);
    installHelpKey(*this);
    interactions_ = new ListInteractions(*this);
    connect(ui_.cmdAbout, &QToolButton::clicked, this, &frmMain::cmdAbout_Click);
    sincePump_.start();
}

frmMain::~frmMain() = default;

bool frmMain::event(QEvent *event)
{
    const bool handled = QWidget::event(event);
    // Without a window manager (or on the offscreen platform) a window may never be activated,
    // so being shown counts as the first activation too.
    if (event->type() == QEvent::WindowActivate && firstActivationPending)
        firstActivation();
    else if (event->type() == QEvent::Show && firstActivationPending)
        QMetaObject::invokeMethod(this, &frmMain::firstActivation, Qt::QueuedConnection);
    return handled;
}

// Runs once, the first time the window becomes active; later activations, such as the return
// from a modal window, do nothing.
void frmMain::firstActivation()
{
    if (!firstActivationPending)
        return;
    const Module &m = module();
    setWindowTitle(m.appTitle + QLatin1Char(' ') + m.appVersion + tr(" - Press F1 for Help"));
    setStatusText(m.appTitle + QLatin1Char(' ') + m.appVersion
        + tr(" - finds and removes duplicate lines. Made by Corvane."));
    parseCommandLine(module(), arguments_);
    firstActivationPending = false;
    if (module().batchMode)
        runBatch(*this);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // A running scan or save must finish or be stopped first.
    if (module().isBusy) {
        event->ignore();
        return;
    }
    if (!module().batchMode)
        saveSettings(*services_.settings, module(), windowSnapshot(*this));
    event->accept();
}

void frmMain::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    recordPlacement();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    recordPlacement();
}

// The normal rectangle is what the next start restores, also after closing maximised.
void frmMain::recordPlacement()
{
    if (firstActivationPending || !isVisible()
        || windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    WindowPlacement &placement = module().mainPlacement;
    const qint16 state = placement.state;
    placement = framePlacement(*this);
    placement.state = state;
}

void frmMain::cmdScan_Click()
{
    scan();
}

ScanEnding frmMain::scan()
{
    return ScanCommand(*this).run();
}

SaveEnding frmMain::save()
{
    return SaveCommand(*this).run();
}

void frmMain::cmdSettings_Click()
{
    frmSettings::edit(this, module().scanOptions, module().saveOptions);
    ui_.cmdScan->setFocus();
}

void frmMain::cmdAbout_Click()
{
    const Module &m = module();
    frmAbout(m.appTitle, m.appVersion, statisticsText(m.statistics), *services_.shell, this).exec();
}

void frmMain::cmdSave_Click()
{
    save();
}

void frmMain::cmdStop_Click()
{
    stopRequested = true;
}

void frmMain::mnuSelAll_Click()
{
    markBy(MarkRule::All);
}

void frmMain::mnuUnsel_Click()
{
    markBy(MarkRule::None);
}

void frmMain::mnuInvert_Click()
{
    markBy(MarkRule::Invert);
}

void frmMain::mnuSelAllButFirst_Click()
{
    markBy(MarkRule::AllButFirst);
}

void frmMain::mnuSelAllButLast_Click()
{
    markBy(MarkRule::AllButLast);
}

// The frame every marking command runs in. The click notification that moving the current item
// raises arrives while bulkMarking is set, so the source list's highlight stays where it was.
void frmMain::markBy(MarkRule rule)
{
    if (!session_)
        return; // nothing scanned yet
    LineList &duplicates = *session_->lists().List2;
    setCursor(Qt::WaitCursor);
    bulkMarking = true;
    applyMarkRule(duplicates, rule);
    if (!session_->largeFileMode() && duplicates.ListCount() > 0)
        ui_.List2->setCurrentIndex(List2Box_.index(0));
    bulkMarking = false;
    unsetCursor();
    session_->notifyMarksChanged();
}

QString frmMain::statusText() const
{
    return ui_.picStatusbar->PanelText(1);
}

void frmMain::setStatusText(const QString &text)
{
    ui_.picStatusbar->setPanelText(1, text);
}

ProgressDisplay &frmMain::progress()
{
    return *ui_.picProgressbar;
}

MessageAnswer frmMain::ask(const QString &text, MessageButtons buttons, MessageIcon icon)
{
    return services_.messages->show(this, module().appTitle, text, buttons, icon);
}

void frmMain::enterBusyState()
{
    for (QToolButton *button : {ui_.cmdAbout, ui_.cmdSave, ui_.cmdView, ui_.cmdSettings})
        button->setEnabled(false);
    setCursor(Qt::BusyCursor);
    stopRequested = false;
    ui_.cmdStop->show();
    ui_.cmdScan->hide();
    ui_.cmdStop->setFocus();
}

// Back to idle after a scan or a save; Save and View are left to the job's ending.
void frmMain::leaveBusyState()
{
    showListedItems();
    unsetCursor();
    ui_.cmdAbout->setEnabled(true);
    ui_.cmdSettings->setEnabled(true);
    ui_.cmdStop->hide();
    ui_.cmdScan->setEnabled(true);
    ui_.cmdScan->show();
    ui_.cmdScan->setFocus();
}

bool frmMain::pumpDue() const
{
    return sincePump_.elapsed() >= pumpIntervalMs_;
}

void frmMain::showListedItems()
{
    lstShowBox_.flush();
    List2Box_.flush();
}

void frmMain::letEventsRun()
{
    showListedItems();
    QCoreApplication::processEvents();
    sincePump_.restart();
}

// When events are due: `show` repaints, events run, and a Stop pressed meanwhile is confirmed.
ProgressFn frmMain::progressListener(std::function<void(qint64, qint64)> show)
{
    return [this, show = std::move(show)](qint64 done, qint64 total) {
        if (!pumpDue())
            return true;
        if (show)
            show(done, total);
        letEventsRun();
        return !(stopRequested && confirmStop());
    };
}

bool frmMain::confirmStop()
{
    stopRequested = false;
    return ask(tr("Are you sure you want to stop processing?"), MessageButtons::YesNo,
               MessageIcon::Question)
        == MessageAnswer::Yes;
}

bool frmMain::saveEnabled() const
{
    return ui_.cmdSave->isEnabled();
}

bool frmMain::viewEnabled() const
{
    return ui_.cmdView->isEnabled();
}

void frmMain::setSaveEnabled(bool enabled)
{
    ui_.cmdSave->setEnabled(enabled);
}

void frmMain::setViewEnabled(bool enabled)
{
    ui_.cmdView->setEnabled(enabled);
}

// The new session binds the list boxes and empties them; the old one, and any emulations and text
// it held, go. A new file's duplicates are shown from their top.
ScanSession &frmMain::startSession(std::shared_ptr<const LoadedText> text, const QString &file)
{
    session_.reset();
    ListBoxes boxes;
    boxes.lstShow = &lstShowBox_;
    boxes.List2 = &List2Box_;
    boxes.hidden = {&hiddenBoxes_[0], &hiddenBoxes_[1], &hiddenBoxes_[2]};
    session_ = std::make_unique<ScanSession>(std::move(text), file, boxes);
    connect(
        &List2Box_, &ListBoxModel::checkToggled, session_.get(), &ScanSession::notifyMarksChanged);
    ui_.lstShow->scrollToTop();
    ui_.List2->scrollToTop();
    return *session_;
}

} // namespace twinscan
