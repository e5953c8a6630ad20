#pragma once

#include "app/Services.h"
#include "app/SettingsStore.h"
#include "engine/Clock.h"
#include "ui/FileDialogService.h"
#include "ui/MessageBoxService.h"
#include "ui/ShellService.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <ostream>
#include <vector>

namespace twinscan::test {

// A settings store that lives in memory.
class MemorySettingsStore final : public SettingsStore
{
public:
    QString value(const QString &key, const QString &defaultValue) const override
    {
        return values.value(key, defaultValue);
    }
    void setValue(const QString &key, const QString &text) override { values.insert(key, text); }

    QMap<QString, QString> values;
};

// Message boxes answered from a script; the buttons of every box shown are recorded.
class FakeMessageBoxes final : public MessageBoxService
{
public:
    MessageAnswer show(QWidget *owner, const QString &title, const QString &text,
        MessageButtons buttons, MessageIcon icon) override;

    // Answers in order; when the script runs out, Ok boxes get Ok and questions get No.
    std::deque<MessageAnswer> answers;
    std::vector<MessageButtons> shown;
    // Runs while a box is up, as a person could act then.
    std::function<void()> whileShown;
};

// File dialogs that return scripted names, in order; an empty name, or none left, is a cancel.
class FakeFileDialogs final : public FileDialogService
{
public:
    QString openFile(const FileDialogRequest &) override { return next(openAnswers); }
    QString saveFile(const FileDialogRequest &) override { return next(saveAnswers); }

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;

private:
    static QString next(std::deque<QString> &answers);
};

// A clock that stands still at 10:00.
class FakeClock final : public Clock
{
public:
    double secondsSinceMidnight() const override
    {
        if (beforeReading)
            beforeReading();
        return 36000.0;
    }

    std::function<void()> beforeReading; // may throw, as the caller's next allocation could
};

// A shell that records what it was asked to open and answers as told.
class FakeShell final : public ShellService
{
public:
    bool openDocument(const QUrl &url) override
    {
        opened.push_back(url);
        return succeeds;
    }

    std::vector<QUrl> opened;
    bool succeeds = true;
};

struct FakeServices
{
    FakeMessageBoxes messages;
    FakeFileDialogs dialogs;
    FakeClock clock;
    MemorySettingsStore settings;
    FakeShell shell;

    Services services() { return {&messages, &dialogs, &clock, &settings, &shell}; }
};

} // namespace twinscan::test

// Readable QString values in test failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
