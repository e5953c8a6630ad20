#include "app/frmMain.h"

#include "app/BatchRun.h"
#include "app/CommandLine.h"
#include "app/CopyCommand.h"
#include "app/ListInteractions.h"
#include "app/MainWindowAccessibility.h"
#include "app/Module.h"
#include "app/OutputCommand.h"
#include "app/RecentFiles.h"
#include "app/SaveCommand.h"
#include "app/ScanCommand.h"
#include "app/ScannedText.h"
#include "app/Settings.h"
#include "app/SettingsStore.h"
#include "app/Version.h"
#include "app/ViewedSession.h"
#include "editing/InterruptSignals.h"
#include "engine/FileName.h"
#include "ui/GroupSizeDelegate.h"
#include "ui/HelpDocument.h"
#include "ui/RecentFilesMenu.h"
#include "ui/ShellService.h"
#include "ui/UniformRowView.h"
#include "ui/WindowGeometry.h"
#include "ui/modSubclassing.h"
#include "windows/frmAbout.h"
#include "windows/frmSettings.h"
#include "windows/frmView.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QScreen>
#include <QToolButton>
#include <new>

namespace twinscan {

// Load: the settings come in before the window is placed.
frmMain::frmMain(const Services &services, QStringList arguments, QWidget *parent)
    : QWidget(parent), services_(services), arguments_(std::move(arguments))
{
    setObjectName(QStringLiteral("frmMain"));
    installMainWindowAccessibility();
    Module &m = module();
    m.appTitle = QStringLiteral("Twinscan");
    m.appVersion = QStringLiteral(TWINSCAN_VERSION);
    ui_.setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/twinscan/logo.svg")));
    loadSettings(*services_.settings, m, primaryScreenTwips());
    placeWindow(*this, grownTo(m.mainPlacement, ui_.scaled(modSubclassing::mainWindowMinimum)));
    setUpBars();
    ui_.lstShow->setModel(&lstShowBox_);
    ui_.List2->setModel(&List2Box_);
    ui_.List2->setItemDelegate(new GroupSizeDelegate(
        [this](int row) {
            const int entry = List2Box_.itemAt(row);
            const EntryGroup group
                = session_ && session_->listed() ? session_->groupOfEntry(entry) : EntryGroup {};
            return group.first == entry ? group.size : 0;
        },
        ui_.List2));
    for (UniformRowView *list : {ui_.lstShow, ui_.List2})
        new PaintCheck(list->viewport(), [this] { checkScannedText(); });
    ui_.actSave->setEnabled(false);
    ui_.actView->setEnabled(false);
    connect(ui_.actOpen, &QAction::triggered, this, &frmMain::cmdScan_Click);
    connect(ui_.actStop, &QAction::triggered, this, &frmMain::cmdStop_Click);
    connect(ui_.actSave, &QAction::triggered, this, &frmMain::cmdSave_Click);
    connect(ui_.actSettings, &QAction::triggered, this, &frmMain::cmdSettings_Click);
    connect(ui_.actView, &QAction::triggered, this, &frmMain::cmdView_Click);
    connect(ui_.actAbout, &QAction::triggered, this, &frmMain::cmdAbout_Click);
    connect(ui_.actHelp, &QAction::triggered, this, [this] {
        openHelpDocument(this, *services_.shell, *services_.messages, module().appTitle);
    });
    connect(ui_.actQuit, &QAction::triggered, this, &QWidget::close);
    new RecentFilesMenu(
        ui_.cmdScan, [] { return module().recentFiles; },
        [this](const QString &file) { openRecentFile(file); });
    interactions_
        = new ListInteractions(*this, {this, ui_.lstShow, ui_.List2, &lstShowBox_, &List2Box_});
    setUpMarkHistory();
    sincePump_.start();
}

// Each change of the marks is a step that Undo takes back: a check box, a rule, the viewer's
// checks. The steps belong to the results they changed, so they go with them.
void frmMain::setUpMarkHistory()
{
    markHistory_ = new MarkHistory([this] { return session_.get(); },
        [this] { setStatusText(session_->markedCountText()); }, this);
    markHistory_->bind(ui_.actUndo, ui_.actRedo);
    connect(&List2Box_, &ListBoxModel::markFlipped, this, [this](int entry) {
        if (session_)
            markHistory_->record(
                MarkChange::ofEntries({std::uint32_t(entry)}, session_->entryCount()));
    });
}

// The lists' event filter reads the window's controls, so it must go before the base class
// destroys them and they send their last events.
frmMain::~frmMain()
{
    delete interactions_;
    interactions_ = nullptr;
    releaseSession();
}

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
    statusBar_.setSizeGrip(true);
    MainWindowGeometry geometry = ui_.geometry;
    geometry.picStatusbar.setHeight(ui_.designTwips(statusBar_.Height()));
    ui_.place(geometry);
    layOut();
    setWindowTitle(m.appTitle + QLatin1Char(' ') + m.appVersion + tr(" - Press F1 for Help"));
    setStatusText(m.appTitle + QLatin1Char(' ') + m.appVersion
        + tr(" - finds and removes duplicate lines. Made by Corvane."));
    // Never beyond the screen, where the grip and the status bar could not be reached.
    modSubclassing::Hook(*this,
        ui_.scaled(modSubclassing::mainWindowMinimum)
            .boundedTo(screen()->availableGeometry().size()));
    parseCommandLine(module(), arguments_);
    // Cleared before the unattended run rather than after it: the run lets events run, and an
    // activation among them must not start this work a second time, inside the first.
    firstActivationPending = false;
    if (module().batchMode)
        runBatch(*this);
    else if (const QString file = fileToOpen(arguments_); !file.isEmpty())
        scanFile(file);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    // A running scan or save must finish or be stopped first.
    if (module().isBusy) {
        setStatusText(tr("Please stop the scan, the save or the copy before closing Twinscan."));
        event->ignore();
        return;
    }
    if (!module().batchMode)
        saveSettings(*services_.settings, module(), windowSnapshot(*this));
    modSubclassing::Unhook(*this);
    event->accept();
}

// A move records the placement as a resize does, so that a window moved and then maximised comes
// back where the user left it.
void frmMain::moveEvent(QMoveEvent *event)
{
    QWidget::moveEvent(event);
    layOut();
}

void frmMain::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    layOut();
}

void frmMain::changeEvent(QEvent *event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange)
        layOut();
}

// The controls follow the window's size. The normal rectangle is what the next start restores,
// also after closing maximised, so a minimised or maximised window remembers nothing.
void frmMain::layOut()
{
    const bool remember = !firstActivationPending && placementSettled(*this);
    const QRect frame = frameGeometry();
    const MainWindowLayoutResult result = layOutMainWindow(ui_.geometry,
        {ui_.designTwips(size()), remember,
            {frame.topLeft() * twipsPerPixel, frame.size() * twipsPerPixel},
            module().mainPlacement});
    ui_.place(result.geometry);
    static_cast<WindowPlacement &>(module().mainPlacement) = result.placement;
}

// The status bar and the progress bar draw into their picture boxes whenever those paint. The
// message panel exists from the start, so that nothing said before the window shows is lost.
void frmMain::setUpBars()
{
    connect(ui_.picStatusbar, &PictureBox::paintRequested, this, [this] { statusBar_.Draw(); });
    connect(ui_.picProgressbar, &PictureBox::paintRequested, this, [this] { progressBar_.Draw(); });
    statusBar_.Create(ui_.picStatusbar);
    statusBar_.AddPanel(0, {}, -1, 64, true, false, 0, QStringLiteral("MAIN"));
    progressBar_.setDrawObject(ui_.picProgressbar);
    progressBar_.setBackColor(systemColor(colorButtonFace));
    progressBar_.setBarColor(systemColor(colorHighlight));
    progressBar_.setBorderStyle(0);
}

void frmMain::cmdScan_Click()
{
    scan();
}

ScanEnding frmMain::scan()
{
    return ScanCommand(*this).run();
}

ScanEnding frmMain::scanFile(const QString &file)
{
    return ScanCommand(*this, file).run();
}

// A recent file that is gone leaves the menu, and the window says so rather than failing a scan.
ScanEnding frmMain::openRecentFile(const QString &file)
{
    if (QFileInfo::exists(file))
        return scanFile(file);
    module().recentFiles.removeAll(file);
    ask(tr("%1 no longer exists and was removed from the recent files.")
            .arg(QDir::toNativeSeparators(shownFileName(file))),
        MessageButtons::Ok, MessageIcon::Exclamation);
    return ScanEnding::NotStarted;
}

// A save that replaced the scanned file leaves results that no longer fit it, so the window
// shows what is on disk now; the unattended run closes instead.
SaveEnding frmMain::save()
{
    SaveCommand command(*this);
    const QString file = session_ ? session_->scannedFile() : QString();
    const SaveEnding ending = command.run();
    if (ending == SaveEnding::Done && command.replacedScannedFile() && !module().batchMode)
        scanSavedFile(file);
    return ending;
}

// The scan's outcome follows the save's, which would otherwise be lost.
void frmMain::scanSavedFile(const QString &file)
{
    const QString saved = statusText();
    ScanCommand(*this, file, ScanCommand::Counting::Rescan).run();
    setStatusText(saved + QStringLiteral(" · ") + statusText());
}

void frmMain::cmdSettings_Click()
{
    Module &m = module();
    frmSettings::edit(this, m.scanOptions, m.saveOptions, m.showLargeFileLists, m.keySpec);
    ui_.cmdScan->setFocus();
}

void frmMain::cmdView_Click()
{
    if (!session_ || !session_->text())
        return;
    startCommand();
    if (!scannedTextUsable(*this, *session_, ChangedTextUse::Viewed))
        return;
    try {
        ViewedSession lines(*session_);
        markHistory_->track(*session_->lists().List2,
            [&] { frmView(lines, module().viewerPlacement, this).exec(); });
    } catch (const std::bad_alloc &) {
        reportFailure(*this, tr("Not enough memory to show the file."));
        return;
    }
    setStatusText(session_->markedCountText());
    // The duplicates list starts again from its first entry, which the source list then shows.
    if (session_->listed() && List2Box_.rowCount() > 0) {
        ui_.List2->scrollToTop();
        ui_.List2->setCurrentIndex(List2Box_.index(0));
        interactions_->List2_Click(); // also when entry 0 was current already
    }
    setStatusText(session_->markedCountText());
}

void frmMain::cmdAbout_Click()
{
    const Module &m = module();
    frmAbout(m.appTitle, m.appVersion, statisticsText(m.statistics), *services_.shell,
        *services_.messages, this)
        .exec();
}

void frmMain::cmdSave_Click()
{
    save();
}

void frmMain::cmdStop_Click()
{
    jobs_.requestStop();
}

// The frame every marking command runs in. The click notification that moving the current item
// raises arrives while bulkMarking is set, so the source list's highlight stays where it was.
void frmMain::markBy(MarkRule rule)
{
    if (!session_)
        return; // nothing scanned yet
    startCommand();
    if (PastMemoryScan *pastMemory = session_->pastMemory()) {
        const PastMemoryMarks::Kinds before = pastMemory->marks.kinds();
        pastMemory->marks.apply(rule);
        markHistory_->recordKinds(before, pastMemory->marks.kinds());
        setStatusText(session_->markedCountText());
        return;
    }
    LineList &duplicates = *session_->lists().List2;
    setCursor(Qt::WaitCursor);
    bulkMarking_ = true;
    markHistory_->track(duplicates, [&] { applyMarkRule(duplicates, rule); });
    if (session_->listed() && duplicates.ListCount() > 0)
        ui_.List2->setCurrentIndex(List2Box_.index(0));
    bulkMarking_ = false;
    unsetCursor();
    session_->notifyMarksChanged();
    setStatusText(session_->markedCountText());
}

void frmMain::copyEntries(CopyScope scope)
{
    CopyCommand(*this).run(scope);
}

void frmMain::saveOutput(OutputKind kind)
{
    OutputCommand(*this, kind).run();
}

bool frmMain::copyableText()
{
    return !session_ || scannedTextUsable(*this, *session_, ChangedTextUse::Copied);
}

// From the first paint that finds the scanned file changed, the lists show its lines empty (see
// LoadedText::stillScanned) and the window says why, once. A running job checks for itself.
void frmMain::checkScannedText()
{
    if (module().isBusy || !session_ || session_->changeTold() || session_->textStillScanned())
        return;
    session_->setChangeTold();
    setStatusText(changedSinceScanText(ChangedTextUse::Shown));
    setSaveEnabled(false);
    setViewEnabled(false);
}

// A command's message stands for that command alone: an earlier command's text, an error above
// all, must not look like its outcome.
void frmMain::startCommand()
{
    setStatusText({});
}

QString frmMain::statusText() const
{
    return statusBar_.PanelText(1);
}

void frmMain::setStatusText(const QString &text)
{
    statusBar_.setPanelText(1, text);
}

ProgressDisplay &frmMain::progress()
{
    return progressBar_;
}

MessageAnswer frmMain::ask(const QString &text, MessageButtons buttons, MessageIcon icon)
{
    return services_.messages->show(this, module().appTitle, text, buttons, icon);
}

// A busy window offers Stop in place of Open and nothing else, and its marks stay as the job found
// them; Save and View come back as the job's ending left the results. The focus goes back where it
// was, so that a copy from the duplicates list leaves the user there.
void frmMain::showBusy(bool busy)
{
    if (!busy)
        showListedItems();
    alertWhenLongJobEnds(busy);
    for (QAction *command : {ui_.actOpen, ui_.actAbout, ui_.actSettings})
        command->setEnabled(!busy);
    List2Box_.setChecksLocked(busy);
    markHistory_->setLocked(busy);
    shownBusy_ = busy;
    ui_.actSave->setEnabled(saveAllowed_ && !busy);
    ui_.actView->setEnabled(viewAllowed_ && !busy);
    if (busy) {
        setCursor(Qt::BusyCursor);
        focusBeforeBusy_ = QApplication::focusWidget();
    } else {
        unsetCursor();
    }
    ui_.cmdStop->setVisible(busy);
    ui_.cmdScan->setVisible(!busy);
    if (busy)
        ui_.cmdStop->setFocus();
    else if (focusBeforeBusy_ && focusBeforeBusy_->isVisible() && focusBeforeBusy_->isEnabled())
        focusBeforeBusy_->setFocus();
    else
        ui_.cmdScan->setFocus();
}

// A user who turned to something else while a long job ran learns from the task bar that it is
// over; an unattended run closes the window instead.
void frmMain::alertWhenLongJobEnds(bool busy)
{
    if (busy)
        busyFor_.start();
    else if (busyFor_.isValid() && busyFor_.elapsed() >= alertAfterMs_ && !isActiveWindow()
        && !module().batchMode)
        services_.shell->alert(this);
}

bool frmMain::pumpDue() const
{
    return sincePump_.elapsed() >= pumpIntervalMs_;
}

void frmMain::showListedItems()
{
    lstShowBox_.showNewRows();
    List2Box_.showNewRows();
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
        return !(jobs_.takeStopRequest() && confirmStop());
    };
}

bool frmMain::confirmStop()
{
    if (interrupts::pendingSignal() != 0)
        return true; // asked to go by a signal: there is nobody to ask
    return ask(tr("Are you sure you want to stop processing?"), MessageButtons::YesNo,
               MessageIcon::Question)
        == MessageAnswer::Yes;
}

bool frmMain::saveEnabled() const
{
    return saveAllowed_;
}

bool frmMain::viewEnabled() const
{
    return viewAllowed_;
}

void frmMain::setSaveEnabled(bool enabled)
{
    saveAllowed_ = enabled;
    ui_.actSave->setEnabled(enabled && !shownBusy_);
}

void frmMain::setViewEnabled(bool enabled)
{
    viewAllowed_ = enabled;
    ui_.actView->setEnabled(enabled && !shownBusy_);
}

// The new session binds the list boxes and empties them; the old one, and any emulations and text
// it held, go. A new file's duplicates are shown from their top.
// The models let go of the lists before the session that owns them goes.
void frmMain::releaseSession()
{
    lstShowBox_.showList(nullptr);
    List2Box_.showList(nullptr);
    session_.reset();
    markHistory_->clear();
    setSaveEnabled(false); // there is nothing left to save or view
    setViewEnabled(false);
}

// The list boxes show the new session's lists, or say that a large file is not listed. A new
// file's duplicates are shown from their top.
ScanSession &frmMain::startSession(std::shared_ptr<const LoadedText> text, const QString &file)
{
    releaseSession();
    session_
        = std::make_unique<ScanSession>(std::move(text), file, module().showLargeFileLists != 0);
    ScanSession *session = session_.get();
    if (!session->listed()) {
        showUnlisted(tr("No preview available..."), tr("No preview available..."));
    } else {
        lstShowBox_.showList(session->lists().lstShow);
        List2Box_.showList(session->lists().List2);
    }
    // Marks changed elsewhere (a rule, the viewer) are repainted here; a click's own change the
    // model has told its views already, and telling them twice makes a screen reader say it twice.
    connect(session, &ScanSession::marksChanged, &List2Box_, &ListBoxModel::repaintChecks);
    ui_.lstShow->scrollToTop();
    ui_.List2->scrollToTop();
    return *session;
}

void frmMain::showUnlisted(const QString &source, const QString &duplicates)
{
    lstShowBox_.showPlaceholder(source);
    List2Box_.showPlaceholder(duplicates);
}

} // namespace twinscan
