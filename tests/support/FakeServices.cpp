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

QString FakeFileDialogs::next(std::deque<QString> &answers)
{
    if (answers.empty())
        return {};
    QString answer = answers.front();
    answers.pop_front();
    return answer;
}

} // namespace twinscan::test
