#pragma once

#include "app/Services.h"
#include "engine/LoadedText.h"
#include "engine/Progress.h"
#include "ui/MessageBoxService.h"

#include <QString>
#include <functional>
#include <memory>

class QWidget;

namespace twinscan {

class JobControl;
class ProgressDisplay;
class ScanSession;

// What a long job (the scan, the save) may do with the window it runs in, and nothing more.
class JobHost
{
public:
    virtual ~JobHost() = default;

    virtual const Services &services() const = 0;
    // The window that owns the job's dialogs and message boxes.
    virtual QWidget *dialogOwner() = 0;

    // The message panel, the progress display, a question in a message box, and the title that
    // names the file being scanned.
    virtual QString statusText() const = 0;
    virtual void setStatusText(const QString &text) = 0;
    virtual ProgressDisplay &progress() = 0;
    virtual MessageAnswer ask(const QString &text, MessageButtons buttons, MessageIcon icon) = 0;
    virtual void setTitle(const QString &title) = 0;

    // Whether a job runs, the stop asked for, and the busy controls; jobs enter and leave the
    // busy state through BusyScope.
    virtual JobControl &jobs() = 0;

    // Lets pending events run.
    virtual void letEventsRun() = 0;
    // A listener for an engine job: when events are due, `show` updates the display from the
    // progress, events run, and a stop the user confirmed answers false.
    virtual ProgressFn progressListener(std::function<void(qint64 done, qint64 total)> show) = 0;

    // Save and View, which serve the current results; a busy window shows them when the job is
    // over.
    virtual void setSaveEnabled(bool enabled) = 0;
    virtual void setViewEnabled(bool enabled) = 0;

    // The results of the last scan, none before the first. startSession replaces them with a
    // new session for `text`, its lists bound and empty; a null `text` stands for a file whose
    // reading was stopped.
    virtual ScanSession *session() = 0;
    // Lets go of the last scan's results, its text and lists, leaving none.
    virtual void releaseSession() = 0;
    virtual ScanSession &startSession(std::shared_ptr<const LoadedText> text, const QString &file)
        = 0;
    // The lists show these texts instead of lines, for a session that has none to list.
    virtual void showUnlisted(const QString &source, const QString &duplicates) = 0;
};

} // namespace twinscan
