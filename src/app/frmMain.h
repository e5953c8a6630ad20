#pragma once

#include "app/BatchRun.h"
#include "app/JobControl.h"
#include "app/JobEndings.h"
#include "app/JobHost.h"
#include "app/ListInteractions.h"
#include "app/MarkHistory.h"
#include "app/ScanSession.h"
#include "app/Services.h"
#include "editing/MarkingRules.h"
#include "ui/ListBoxModel.h"
#include "ui/MainWindowUi.h"
#include "ui/MessageBoxService.h"
#include "ui/cNoStatusBar.h"
#include "ui/cProgressBar.h"

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

namespace twinscan {

// The main window: the program's controls, the host of its long jobs, and the owner of the
// current scan's session.
class frmMain final : public QWidget, public JobHost, public BatchWindow, public ListHost
{
    Q_OBJECT

public:
    // `arguments` is the command line without the program's name.
    explicit frmMain(
        const Services &services, QStringList arguments = {}, QWidget *parent = nullptr);
    ~frmMain() override;

    void cmdScan_Click();
    void cmdStop_Click();
    void cmdSave_Click();
    void cmdSettings_Click();
    void cmdView_Click();
    void cmdAbout_Click();

    // The scan and the save as the buttons run them, telling how they ended.
    ScanEnding scan();
    SaveEnding save();
    // The scan of a file given at start, as Open runs it once the file is chosen.
    ScanEnding scanFile(const QString &file);
    // A file chosen from the Open button's recent files, scanned as Open scans it.
    ScanEnding openRecentFile(const QString &file);

    // ListHost; the marking commands of the duplicates list run markBy with their rule.
    const ScanSession *shownSession() const override { return session_.get(); }
    bool bulkMarking() const override { return bulkMarking_; }
    void startCommand() override;
    void markBy(MarkRule rule) override;
    void copyEntries(CopyScope scope) override;
    void saveOutput(OutputKind kind) override;
    void scanDropped(const QString &file) override { scanFile(file); }
    void showStatus(const QString &text) override { setStatusText(text); }
    bool copyableText() override;

    const MainWindowUi &ui() const { return ui_; }
    ListInteractions &interactions() { return *interactions_; }
    MarkHistory &markHistory() { return *markHistory_; }
    ListBoxModel &lstShowBox() { return lstShowBox_; }
    ListBoxModel &List2Box() { return List2Box_; }

    // JobHost
    const Services &services() const override { return services_; }
    QWidget *dialogOwner() override { return this; }
    QString statusText() const override;
    void setStatusText(const QString &text) override;
    ProgressDisplay &progress() override;
    // A message box titled with the program's name.
    MessageAnswer ask(const QString &text, MessageButtons buttons, MessageIcon icon) override;
    void setTitle(const QString &title) override { setWindowTitle(title); }
    JobControl &jobs() override { return jobs_; }
    void letEventsRun() override;
    ProgressFn progressListener(std::function<void(qint64 done, qint64 total)> show) override;
    // Whether the results can be saved and viewed, busy or not.
    bool saveEnabled() const;
    bool viewEnabled() const;
    void setSaveEnabled(bool enabled) override;
    void setViewEnabled(bool enabled) override;
    ScanSession *session() override { return session_.get(); }
    void releaseSession() override;
    ScanSession &startSession(std::shared_ptr<const LoadedText> text, const QString &file) override;
    void showUnlisted(const QString &source, const QString &duplicates) override;

    // BatchWindow
    ScanEnding scanInput() override { return scan(); }
    SaveEnding saveOutput() override { return save(); }
    void closeWindow() override { close(); }

    // Long jobs let pending events run a few times a second.
    void setPumpInterval(int milliseconds) { pumpIntervalMs_ = milliseconds; }
    // How long a job must have run for its end to ask for attention when the window is inactive.
    void setAlertAfter(int milliseconds) { alertAfterMs_ = milliseconds; }

    bool firstActivationPending = true;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void firstActivation();
    void setUpMarkHistory();
    void showBusy(bool busy);
    void alertWhenLongJobEnds(bool busy);
    bool pumpDue() const;
    bool confirmStop();
    void showListedItems();
    void scanSavedFile(const QString &file);
    void layOut();
    void setUpBars();
    void checkScannedText();

    MainWindowUi ui_;
    ListInteractions *interactions_ = nullptr; // a child of the window
    MarkHistory *markHistory_ = nullptr; // a child of the window
    cNoStatusBar statusBar_;
    cProgressBar progressBar_;
    JobControl jobs_ {[this](bool busy) { showBusy(busy); }};
    Services services_;
    QStringList arguments_;
    ListBoxModel lstShowBox_ {false};
    ListBoxModel List2Box_ {true};
    std::unique_ptr<ScanSession> session_;
    bool bulkMarking_ = false;
    QPointer<QWidget> focusBeforeBusy_;
    // Whether the current results can be saved and viewed; a busy window shows both disabled
    // whatever they are, and shows them again when the job is over.
    bool saveAllowed_ = false;
    bool viewAllowed_ = false;
    bool shownBusy_ = false;
    QElapsedTimer sincePump_;
    int pumpIntervalMs_ = 100;
    QElapsedTimer busyFor_;
    int alertAfterMs_ = 3000;
};

} // namespace twinscan
