#include "Sandbox.h"

#include <QDir>
#include <QProcess>
#include <sys/resource.h>

namespace twinscan::e2e {

std::string describe(const RunResult &result)
{
    return "exit status: " + std::to_string(result.exitCode) + "\n  stdout: ["
        + result.out.toStdString() + "]\n  stderr: [" + result.err.toStdString() + "]";
}

Sandbox::Sandbox()
    : dir_(QStringLiteral("/tmp/twinscan-e2e-XXXXXX")),
      env_(QProcessEnvironment::systemEnvironment())
{
    for (const char *folder : {"work", "config", "data", "home"})
        QDir(dir_.path()).mkdir(QString::fromLatin1(folder));
    // Without a runtime folder the toolkit has a note to make: it must not reach the output.
    for (const char *variable :
        {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env_.remove(QString::fromLatin1(variable));
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
    env_.insert(QStringLiteral("XDG_DATA_HOME"), dir_.filePath(QStringLiteral("data")));
    env_.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
    env_.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
}

QString Sandbox::path(QString name) const
{
    const QString work = dir_.filePath(QStringLiteral("work"));
    return QDir(work).filePath(name.replace(QStringLiteral("@/"), work + QLatin1Char('/')));
}

void Sandbox::write(const QString &name, const QByteArray &content) const
{
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
        << "cannot write " << file.fileName().toStdString();
}

QByteArray Sandbox::read(const QString &name) const
{
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << "cannot read " << file.fileName().toStdString();
    return file.readAll();
}

QStringList Sandbox::entries() const
{
    return QDir(path(QStringLiteral("@/")))
        .entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

RunResult Sandbox::run(const QString &job, int timeoutSeconds) const
{
    return runScript(QStringLiteral("exec \"$0\" ") + job, timeoutSeconds);
}

RunResult Sandbox::runScript(const QString &script, int timeoutSeconds) const
{
    const QString work = path(QStringLiteral("@/"));
    QProcess process;
    process.setProcessEnvironment(env_);
    process.setWorkingDirectory(work);
    if (memoryLimit_ > 0) {
        process.setChildProcessModifier([limit = rlim_t(memoryLimit_)] {
            const rlimit cap {limit, limit};
            ::setrlimit(RLIMIT_AS, &cap);
        });
    }
    // The shell's exec keeps its process id for the program, the one a signal is sent to.
    process.start(QStringLiteral("/bin/sh"),
        {QStringLiteral("-c"), QString(script).replace(QStringLiteral("@/"), work),
            QStringLiteral(TWINSCAN_BINARY)});
    if (whileRunning && process.waitForStarted())
        whileRunning(process.processId());
    RunResult result;
    if (!process.waitForFinished(timeoutSeconds * 1000)) {
        process.kill();
        process.waitForFinished(5000);
        ADD_FAILURE() << "did not start, or was killed after " << timeoutSeconds << " s";
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    return result;
}

} // namespace twinscan::e2e
