#pragma once

#include "app/JobHost.h"
#include "editing/ClipboardText.h"

#include <QCoreApplication>
#include <optional>

namespace twinscan {

// Copy to Clipboard "All" or "Selected": the chosen entries' lines go to the clipboard as one
// UTF-8 text. Millions of lines take a moment, so the copy runs as a job: busy, with its
// progress shown and Stop offered, while the window's events run.
class CopyCommand
{
    Q_DECLARE_TR_FUNCTIONS(CopyCommand)

public:
    explicit CopyCommand(JobHost &host) : host_(host) { }

    // The clipboard keeps what it holds when no entry is chosen, and no copy starts while
    // another job runs.
    void run(CopyScope scope);

private:
    std::optional<QByteArray> build(const ScanSession &session, CopyScope scope);
    void finish(const std::optional<QByteArray> &text, int count);

    JobHost &host_;
};

} // namespace twinscan
