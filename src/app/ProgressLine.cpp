#include "app/ProgressLine.h"

#include "editing/InterruptSignals.h"

#include <algorithm>
#include <chrono>
#include <unistd.h>

namespace twinscan {

namespace {
constexpr double quietSeconds = 1.0; // a job done sooner shows nothing
constexpr double repaintSeconds = 0.2;

double steadySeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}
} // namespace

ProgressLine::ProgressLine(bool shown, std::FILE *stream, Seconds now)
    : shown_(shown),
      stream_(stream),
      now_(now ? std::move(now) : Seconds(steadySeconds)),
      start_(now_())
{
}

ProgressLine::~ProgressLine()
{
    finish();
}

ProgressFn ProgressLine::step(const QString &step)
{
    // A signal stops the job at the next report, shown or not.
    if (!shown_)
        return [](qint64, qint64) { return interrupts::pendingSignal() == 0; };
    return [this, step](qint64 done, qint64 total) {
        show(step, done, total);
        return interrupts::pendingSignal() == 0;
    };
}

void ProgressLine::show(const QString &step, qint64 done, qint64 total)
{
    const double now = now_();
    if (now - start_ < quietSeconds || (lastShown_ >= 0 && now - lastShown_ < repaintSeconds))
        return;
    lastShown_ = now;
    QString text = QStringLiteral("\rtwinscan: %1...").arg(step);
    if (total > 0)
        text += QStringLiteral(" %1%").arg(std::clamp<qint64>(done * 100 / total, 0, 100));
    // Erases what a longer text before it left at the end.
    std::fputs((text + QStringLiteral("\x1b[K")).toLocal8Bit().constData(), stream_);
    std::fflush(stream_);
    written_ = true;
}

void ProgressLine::finish()
{
    if (!written_)
        return;
    std::fputs("\r\x1b[K", stream_);
    std::fflush(stream_);
    written_ = false;
}

bool progressShown(bool asked, bool quiet, int fd)
{
    return asked || (!quiet && ::isatty(fd) == 1);
}

} // namespace twinscan
