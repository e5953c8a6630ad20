#pragma once

#include "app/Services.h"
#include "app/SettingsStore.h"
#include "editing/RecentlyUsed.h"
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
    void updateValue(const QString &key, Update update) override
    {
        values.insert(key, update(values.value(key)));
    }

    QMap<QString, QString> values;
};

// The first of `answers`, taken from them, or `otherwise` when there are none left.
template<typename T> T takeFirst(std::deque<T> &answers, T otherwise)
{
    if (answers.empty())
        return otherwise;
    T answer = answers.front();
    answers.pop_front();
    return answer;
}

// Message boxes answered from a script; when it runs out, Ok boxes get Ok and questions get No.
class FakeMessageBoxes final : public MessageBoxService
{
public:
    MessageAnswer show(QWidget *, const QString &, const QString &text, MessageButtons buttons,
        MessageIcon) override
    {
        ++shown;
        lastText = text;
        if (whileShown)
            whileShown();
        return takeFirst(
            answers, buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No);
    }

    std::deque<MessageAnswer> answers;
    int shown = 0;
    QString lastText;
    std::function<void()> whileShown; // runs while a box is up, as a person could act then
};

// File dialogs that return scripted names, in order; an empty name, or none left, is a cancel.
class FakeFileDialogs final : public FileDialogService
{
public:
    QString openFile(const FileDialogRequest &) override { return takeFirst(openAnswers, {}); }
    QString saveFile(const FileDialogRequest &request) override
    {
        lastSaveRequest = request;
        return takeFirst(saveAnswers, {});
    }

    std::deque<QString> openAnswers;
    std::deque<QString> saveAnswers;
    FileDialogRequest lastSaveRequest; // what the last save dialog was asked with
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

// A shell that opens whatever it is asked to, or, with `opens` false, nothing; it remembers
// what it was asked to open.
class FakeShell final : public ShellService
{
public:
    bool openDocument(const QUrl &url) override
    {
        opened << url.fileName();
        return opens;
    }
    void alert(QWidget *) override { ++alerts; }

    bool opens = true;
    QStringList opened;
    int alerts = 0;
};

// The desktop's recent list, kept in memory: the files recorded, in order.
class FakeRecentlyUsed final : public RecentlyUsed
{
public:
    QString record(const QString &file) override
    {
        recorded << file;
        return {};
    }

    QStringList recorded;
};

struct FakeServices
{
    FakeMessageBoxes messages;
    FakeFileDialogs dialogs;
    FakeClock clock;
    MemorySettingsStore settings;
    FakeShell shell;
    FakeRecentlyUsed recentlyUsed;

    Services services() { return {&messages, &dialogs, &clock, &settings, &shell, &recentlyUsed}; }
};

} // namespace twinscan::test

// Readable QString values in test failure messages.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE
