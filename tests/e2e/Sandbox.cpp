#include "Sandbox.h"

#include <QDir>
#include <QProcess>

namespace twinscan::e2e {

namespace {

QString expanded(QString text, const QString &work)
{
    return text.replace(QStringLiteral("@/"), work + QLatin1Char('/'));
}

} // namespace

std::string describe(const RunResult &result)
{
    return "twinscan '" + result.arguments.join(QStringLiteral("' '")).toStdString()
        + "'\n  exit status: " + std::to_string(result.exitCode) + "\n  stdout: ["
        + result.out.toStdString() + "]\n  stderr: [" + result.err.toStdString() + "]";
}

Sandbox::Sandbox()
    : dir_(QStringLiteral("/tmp/twinscan-e2e-XXXXXX")),
      env_(QProcessEnvironment::systemEnvironment())
{
    for (const char *folder : {"work", "config", "home"})
        QDir(dir_.path()).mkdir(QString::fromLatin1(folder));
    // Without a runtime folder the toolkit has a note to make: it must not reach the output.
    for (const char *variable :
        {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        env_.remove(QString::fromLatin1(variable));
    env_.insert(QStringLiteral("XDG_CONFIG_HOME"), dir_.filePath(QStringLiteral("config")));
    env_.insert(QStringLiteral("HOME"), dir_.filePath(QStringLiteral("home")));
    env_.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
}

QString Sandbox::path(QString name) const
{
    const QString work = dir_.filePath(QStringLiteral("work"));
    return QDir(work).filePath(expanded(name, work));
}

QString Sandbox::write(const QString &name, const QByteArray &content) const
{
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size())
        << "cannot write " << file.fileName().toStdString();
    return file.fileName();
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

RunResult Sandbox::run(const QStringList &arguments, int timeoutSeconds) const
{
    // Qt falls back to ~/.config when XDG_CONFIG_HOME is not honoured: look there too.
    const auto storeExists = [this] {
        return QDir(dir_.filePath(QStringLiteral("config/Corvane"))).exists()
            || QDir(dir_.filePath(QStringLiteral("home/.config/Corvane"))).exists();
    };
    const bool storeBefore = storeExists();
    RunResult result {{}, -1, {}, {}};
    for (const QString &argument : arguments)
        result.arguments << expanded(argument, dir_.filePath(QStringLiteral("work")));
    QProcess process;
    process.setProcessEnvironment(env_);
    process.setWorkingDirectory(path(QStringLiteral("@/")));
    const QString binary = QStringLiteral(TWINSCAN_BINARY);
    if (program_.isEmpty())
        process.start(binary, result.arguments);
    else
        process.start(program_, QStringList(result.arguments) << binary);
    if (whileRunning_ && process.waitForStarted())
        whileRunning_(process.processId());
    if (!process.waitForFinished(timeoutSeconds * 1000)) {
        process.kill();
        process.waitForFinished(5000);
        ADD_FAILURE() << "did not start, or was killed after " << timeoutSeconds << " s";
    } else if (process.exitStatus() == QProcess::NormalExit) {
        result.exitCode = process.exitCode();
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    EXPECT_TRUE(storeBefore || !storeExists()) << "a settings store was made\n" << describe(result);
    return result;
}

RunResult Sandbox::runJob(const char *switches) const
{
    return run(QStringList {QStringLiteral("/i"), QStringLiteral("@/in.txt"), QStringLiteral("/o"),
                   QStringLiteral("@/out.txt")}
        + QString::fromUtf8(switches).split(QLatin1Char(' '), Qt::SkipEmptyParts));
}

} // namespace twinscan::e2e
