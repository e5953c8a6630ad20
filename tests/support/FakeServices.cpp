#include "support/FakeServices.h"

namespace twinscan::test {

MessageAnswer FakeMessageBoxes::show(
    QWidget *, const QString &, const QString &, MessageButtons buttons, MessageIcon)
{
    shown.push_back(buttons);
    if (whileShown)
        whileShown();
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

namespace {
QString next(std::deque<QString> &answers)
{
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}
} // namespace

QString FakeFileDialogs::openFile(const FileDialogRequest &request)
{
    openRequests.push_back(request);
    return next(openAnswers);
}

QString FakeFileDialogs::saveFile(const FileDialogRequest &request)
{
    saveRequests.push_back(request);
    return next(saveAnswers);
}

double FakeClock::secondsSinceMidnight() const
{
    if (beforeReading)
        beforeReading();
    if (readings.empty())
        return now;
    const double reading = readings.front();
    readings.pop_front();
    return reading;
}

} // namespace twinscan::test
