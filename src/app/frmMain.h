#pragma once

#include "app/JobEndings.h"
#include "app/JobHost.h"
#include "app/ScanSession.h"
#include "app/Services.h"
#include "editing/MarkingRules.h"
#include "engine/ItemVectorList.h"
#include "ui/ListBoxModel.h"
#include "ui/MainWindowUi.h"
#include "ui/MessageBoxService.h"
#include "ui/cNoStatusBar.h"
#include "ui/cProgressBar.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <memory>

namespace twinscan {

class ListInteractions;

// The main window: the program's controls, the host of its long jobs, and the owner of the
// current scan's session.
class frmMain final : public QWidget, public JobHost
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

    // The marking commands of the duplicates list, each running `markBy` with its rule.
    void mnuSelAll_Click();
    void mnuUnsel_Click();
    void mnuInvert_Click();
    void mnuSelAllButFirst_Click();
    void mnuSelAllButLast_Click();
    void markBy(MarkRule rule);
    // Clears the message panel as a command starts.
    void startCommand();

    const MainWindowUi &ui() const { return ui_; }
    ListInteractions &interactions() { return *interactions_; }
    ListBoxModel &lstShowBox() { return lstShowBox_; }
    ListBoxModel &List2Box() { return List2Box_; }

    // JobHost
    const Services &services() const override { return services_; }
    QWidget *dialogOwner() override { return this; }
    QString statusText() const override;
    void setStatusText(const QString &text) override;
    cProgressBar &progress() override;
    // A message box titled with the program's name.
    MessageAnswer ask(const QString &text, MessageButtons buttons, MessageIcon icon) override;
    void setTitle(const QString &title) override { setWindowTitle(title); }
    void setCurrentFile(const QString &file) override { currentFile = file; }
    void enterBusyState() override;
    void leaveBusyState() override;
    void letEventsRun() override;
    void forgetStopRequest() override { stopRequested = false; }
    ProgressFn progressListener(std::function<void(qint64 done, qint64 total)> show) override;
    bool saveEnabled() const override;
    bool viewEnabled() const override;
    void setSaveEnabled(bool enabled) override;
    void setViewEnabled(bool enabled) override;
    ScanSession *session() override { return session_.get(); }
    void releaseSession() override;
    ScanSession &startSession(std::shared_ptr<const LoadedText> text, const QString &file) override;

    // Long jobs let pending events run a few times a second.
    void setPumpInterval(int milliseconds) { pumpIntervalMs_ = milliseconds; }

    QString currentFile;
    bool stopRequested = false;
    bool bulkMarking = false;
    bool firstActivationPending = true;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void firstActivation();
    bool pumpDue() const;
    bool confirmStop();
    void showListedItems();
    void layOut();
    void setUpBars();

    MainWindowUi ui_;
    ListInteractions *interactions_ = nullptr; // a child of the window
    cNoStatusBar statusBar_;
    cProgressBar progressBar_;
    Services services_;
    QStringList arguments_;
    ListBoxModel lstShowBox_ {false};
    ListBoxModel List2Box_ {true};
    std::array<ItemVectorList, 3> hiddenBoxes_; // List1, lstLines, lstRemove
    std::unique_ptr<ScanSession> session_; // after the list boxes it refers to
    QElapsedTimer sincePump_;
    int pumpIntervalMs_ = 100;
};

} // namespace twinscan
