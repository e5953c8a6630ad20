#include "app/CopyCommand.h"

#include "app/JobControl.h"
#include "app/ScanSession.h"
#include "app/ScannedText.h"
#include "ui/ProgressDisplay.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <new>

namespace twinscan {

namespace {
// Our own text on the clipboard carries this name.
QString copiedLinesName()
{
    return QStringLiteral("twinscan copied lines");
}

// An earlier copy of ours goes before the new one is built: two copies of millions of lines need
// not fit in memory at once. Another program's text stays until ours is ready.
void releaseOwnCopy()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    const QMimeData *held = clipboard->mimeData();
    if (held && held->objectName() == copiedLinesName())
        clipboard->clear();
}

// The text as UTF-8 bytes under "text/plain", which Qt offers to other programs as UTF8_STRING
// and text/plain as they are: a QString would hold it twice over and be converted on every paste.
void putOnClipboard(const QByteArray &text)
{
    auto *data = new QMimeData;
    data->setObjectName(copiedLinesName());
    data->setData(QStringLiteral("text/plain"), text);
    QGuiApplication::clipboard()->setMimeData(data);
}
} // namespace

void CopyCommand::run(CopyScope scope)
{
    if (host_.jobs().isBusy())
        return;
    host_.setStatusText({});
    ScanSession *session = host_.session();
    if (session && session->pastMemory())
        host_.setStatusText(tr("The file does not fit in memory: its lines cannot be copied."));
    if (!session || !session->text())
        return;
    const int count = chosenCount(*session->lists().List2, scope);
    if (count == 0 || !scannedTextUsable(host_, *session, ChangedTextUse::Copied))
        return;
    std::optional<QByteArray> text;
    bool outOfMemory = false;
    {
        BusyScope busy(host_.jobs());
        busy.showBusy();
        releaseOwnCopy();
        try {
            text = build(*session, scope);
        } catch (const std::bad_alloc &) {
            outOfMemory = true;
        }
    }
    if (outOfMemory)
        reportFailure(host_, tr("Not enough memory to copy the lines to the clipboard."));
    // The file may have been rewritten or cut short while its lines were read.
    else if (!text || scannedTextUsable(host_, *session, ChangedTextUse::Copied))
        finish(text, count);
}

std::optional<QByteArray> CopyCommand::build(const ScanSession &session, CopyScope scope)
{
    ProgressDisplay &bar = host_.progress();
    bar.setMax(100);
    bar.setMin(0);
    bar.setValue(0);
    const ProgressFn progress = host_.progressListener([this, &bar](qint64 done, qint64 total) {
        const int percent = int(done * 100 / std::max<qint64>(total, 1));
        host_.setStatusText(tr("Copying to the clipboard... %1%").arg(percent));
        bar.setValue(percent);
    });
    return clipboardText(
        *session.text(), *session.lists().List2, session.lineEntries(), scope, progress);
}

void CopyCommand::finish(const std::optional<QByteArray> &text, int count)
{
    if (!text) {
        host_.setStatusText(tr("Stopped: nothing was copied."));
        return;
    }
    putOnClipboard(*text);
    host_.progress().setValue(host_.progress().Max());
    host_.setStatusText(countedLines(
        count, tr("1 line copied to the clipboard"), tr("%1 lines copied to the clipboard")));
}

} // namespace twinscan
