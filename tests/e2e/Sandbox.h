#pragma once

#include <QByteArray>
#include <QProcessEnvironment>
#include <QStringList>
#include <QTemporaryDir>
#include <chrono>
#include <string>
#include <string_view>

namespace twinscan::e2e {

// What one run of the program left behind.
struct RunResult
{
    QStringList arguments;
    bool finished = false; // it exited by itself, in time and without crashing
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// The command, how it ended and what it printed, for failure messages.
std::string describe(const RunResult &result);

inline QByteArray bytes(std::string_view text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

// One case's own folder under /tmp: a work folder that holds the job's files and is the process's
// working directory, and a home and a settings folder of its own, so that no run can see or touch
// the real user's settings. The program runs as a script would run it: no display of any kind.
class Sandbox
{
public:
    Sandbox();

    bool isValid() const { return dir_.isValid(); }
    QString workFolder() const;
    // The absolute path of `name` in the work folder.
    QString path(const QString &name) const;

    // Writes `content` to `name` in the work folder and answers its absolute path.
    QString write(const QString &name, const QByteArray &content) const;
    // The bytes of `name` in the work folder; a file that cannot be read fails the test.
    QByteArray read(const QString &name) const;
    // The names in the work folder, sorted, to see that nothing was left beside the files.
    QStringList entries() const;

    // Puts a settings store in place before the run; without one, every run checks that it
    // created none.
    void writeSettings(const QByteArray &ini);
    QByteArray readSettings() const;
    QStringList settingsEntries() const;

    void setVariable(const QString &name, const QString &value)
    {
        environment_.insert(name, value);
    }

    // Runs the program with `arguments`. A run that outlives `timeout` is killed and fails the
    // test, so a program waiting for a window nobody can see never stops the suite.
    RunResult run(const QStringList &arguments,
        std::chrono::seconds timeout = std::chrono::seconds(30)) const;

private:
    QString settingsFolder() const;
    bool settingsFolderExists() const;

    QTemporaryDir dir_;
    QProcessEnvironment environment_;
    bool settingsPrepared_ = false;
};

} // namespace twinscan::e2e
