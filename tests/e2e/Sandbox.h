#pragma once

#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace twinscan::e2e {

struct RunResult
{
    int exitCode = -1; // -1 when it crashed or was killed for taking too long
    QByteArray out;
    QByteArray err;
};
// The status and what the program printed, for failure messages.
std::string describe(const RunResult &result);

// One case's folder under /tmp, whatever TMPDIR says, so that absolute paths begin with a folder
// named like a switch: "work" holds the files and is the working directory, "config", "data"
// and "home" keep the real user's settings and recent files out of reach. The program runs as a
// script runs it, without a display, started by a shell with its redirections. "@/" in a path or a
// job stands for the work folder.
class Sandbox
{
public:
    Sandbox();
    QString path(QString name) const;
    void write(const QString &name, const QByteArray &content) const;
    QByteArray read(const QString &name) const;
    QStringList entries() const; // of the work folder, hidden ones too, sorted
    void setVariable(const QString &name, const QString &value) { env_.insert(name, value); }
    // The program's address space stops at this many bytes, as on a small machine.
    void limitMemory(qint64 bytes) { memoryLimit_ = bytes; }
    // Called with the process id once it runs, before its end is awaited.
    std::function<void(qint64 pid)> whileRunning;

    // Runs the program with the arguments and redirections of `job`, in a shell's words. A run that
    // outlives the timeout is killed and fails the test, so that a program waiting for a window
    // nobody can see never stops the suite.
    RunResult run(const QString &job, int timeoutSeconds = 30) const;
    // Runs a shell script in which "$0" is the program, for pipes and FIFOs.
    RunResult runScript(const QString &script, int timeoutSeconds = 30) const;

private:
    QTemporaryDir dir_;
    QProcessEnvironment env_;
    qint64 memoryLimit_ = 0;
};

} // namespace twinscan::e2e
