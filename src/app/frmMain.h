#pragma once

#include "app/SaveCommand.h"
#include "app/ScanCommand.h"
#include "app/Services.h"
#include "editing/MarkingRules.h"
#include "engine/FileStamp.h"
#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"
#include "ui/ListBoxModel.h"
#include "ui/MainWindowUi.h"
#include "ui/MessageBoxService.h"

#include <QElapsedTimer>
#include <QWidget>
#include <array>
#include <memory>

namespace twinscan {

// The main window: the program's controls, its long jobs and the state they share.
class frmMain final : public QWidget
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
    void cmdAbout_Click();

    // The scan and the save as the buttons run them, telling how they ended.
    ScanEnding scan();
    SaveEnding save();

    // The marking commands of the duplicates list, each running `markBy` with its rule.
    void mnuSelAll_Click();
    void mnuUnsel_Click();
    void mnuInvert_Click();
    void mnuSelAllButFirst_Click();
    void mnuSelAllButLast_Click();
    void markBy(MarkRule rule);

    const MainWindowUi &ui() const { return ui_; }
    ListBoxModel &lstShowBox() { return lstShowBox_; }
    ListBoxModel &List2Box() { return List2Box_; }
    const Services &services() const { return services_; }

    // The message panel and the progress display that the long jobs report through.
    QString statusText() const;
    void setStatusText(const QString &text);
    ProgressDisplay &progress() const;

    // A message box titled with the program's name.
    MessageAnswer ask(const QString &text, MessageButtons buttons, MessageIcon icon);

    // The busy state of a scan or a save: Stop in place of Open, the other buttons disabled.
    void enterBusyState();
    // Back to idle after a scan or a save; Save and View are left for the caller.
    void leaveBusyState();

    // Long jobs let pending events run a few times a second: pumpDue() says when it is time, and
    // pumpEvents() runs them and answers true when the user pressed Stop and confirmed it.
    bool pumpDue() const;
    bool pumpEvents();
    // A listener for an engine job: when events are due, `show` updates the display from the
    // progress, events run, and a confirmed stop answers false.
    ProgressFn progressListener(std::function<void(qint64 done, qint64 total)> show);
    void letEventsRun();
    // Tells the list views of the items added since they last looked.
    void showListedItems();
    // How often a long job lets events run, in milliseconds.
    void setPumpInterval(int milliseconds) { pumpIntervalMs_ = milliseconds; }
    bool confirmStop();

    // Binds the five list slots for a file of `lineCount` lines and clears them.
    void bindLists(int lineCount, const std::shared_ptr<const LineSource> &source);

    QString currentFile;
    bool stopRequested = false;
    int lastLineIndex = -1;
    bool bulkMarking = false;
    bool firstActivationPending = true;

    // What the last scan that grouped its file read, and from where. The save reads that file
    // again, and checks it still looks the same: a failed scan of another file since changes
    // currentFile but not the lines these results stand for.
    std::shared_ptr<const LoadedText> scannedText;
    QString scannedFile;

    static constexpr int largeFileLines = 32768;

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void moveEvent(QMoveEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void firstActivation();
    void recordPlacement();

    MainWindowUi ui_;
    Services services_;
    QStringList arguments_;
    ListBoxModel lstShowBox_ {false};
    ListBoxModel List2Box_ {true};
    std::array<ItemVectorList, 3> hiddenBoxes_; // List1, lstLines, lstRemove
    QElapsedTimer sincePump_;
    int pumpIntervalMs_ = 100;
};

} // namespace twinscan
