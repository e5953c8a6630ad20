#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan::e2e {

struct RunResult
{
    QStringList arguments;
    int exitCode = -1; // -1 when it crashed or was killed for taking too long
    QByteArray out;
    QByteArray err;
};
// The command, its status and what it printed, for failure messages.
std::string describe(const RunResult &result);

// One case's folder under /tmp, whatever TMPDIR says, so that absolute paths begin with a folder
// named like a switch: "work" holds the files and is the working directory, "config" and "home"
// keep the real user's settings out of reach. The program runs as a script runs it, without a
// display. "@/" in a path or an argument stands for the work folder.
class Sandbox
{
public:
    Sandbox();
    QString path(QString name) const;
    QString write(const QString &name, const QByteArray &content) const;
    QByteArray read(const QString &name) const;
    QStringList entries() const; // of the work folder, hidden ones too, sorted
    void setVariable(const QString &name, const QString &value) { env_.insert(name, value); }
    // Runs `program` (a shell, say) instead, with the program's path appended to the arguments.
    void setProgram(const QString &program) { program_ = program; }
    // Called with the process id once it runs, before its end is awaited.
    void setWhileRunning(std::function<void(qint64 pid)> act) { whileRunning_ = std::move(act); }

    // A run that outlives the timeout is killed and fails the test, so that a program waiting
    // for a window nobody can see never stops the suite. A run that finds no settings store must
    // not leave one behind.
    RunResult run(const QStringList &arguments, int timeoutSeconds = 30) const;
    // /i @/in.txt /o @/out.txt, then the words of `switches`.
    RunResult runJob(const char *switches) const;

private:
    QTemporaryDir dir_;
    QProcessEnvironment env_;
    QString program_;
    std::function<void(qint64)> whileRunning_;
};

} // namespace twinscan::e2e
