#include "Sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <gtest/gtest.h>

namespace twinscan::e2e {

namespace {
// Pinned under /tmp, whatever TMPDIR says: absolute paths that begin with a folder named like a
// switch letter must reach the program whole.
const char *const rootTemplate = "/tmp/twinscan-e2e-XXXXXX";

QString quoted(const QString &argument)
{
    return QLatin1Char('\'') + argument + QLatin1Char('\'');
}
} // namespace

std::string describe(const RunResult &result)
{
    QStringList words;
    for (const QString &argument : result.arguments)
        words << quoted(argument);
    std::string text = "twinscan " + words.join(QLatin1Char(' ')).toStdString();
    text += result.finished ? "\n  exit status: " + std::to_string(result.exitCode)
                            : std::string("\n  did not finish (hung or crashed)");
    text += "\n  stdout: [" + result.out.toStdString() + "]";
    text += "\n  stderr: [" + result.err.toStdString() + "]";
    return text;
}

Sandbox::Sandbox() : dir_(QString::fromLatin1(rootTemplate))
{
    QDir root(dir_.path());
    for (const char *folder : {"work", "config", "home"})
        root.mkdir(QString::fromLatin1(folder));

    environment_ = QProcessEnvironment::systemEnvironment();
    // Without a runtime folder the toolkit has a note to make: it must not reach the output.
    for (const char *variable :
        {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
        environment_.remove(QString::fromLatin1(variable));
    environment_.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
    environment_.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
    // File names and printed texts are UTF-8, whatever the machine running the suite uses.
    environment_.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
}

QString Sandbox::workFolder() const
{
    return QDir(dir_.path()).filePath(QStringLiteral("work"));
}

QString Sandbox::path(const QString &name) const
{
    return QDir(workFolder()).filePath(name);
}

QString Sandbox::write(const QString &name, const QByteArray &content) const
{
    QFile file(path(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        << "cannot create " << file.fileName().toStdString();
    EXPECT_EQ(file.write(content), content.size());
    return file.fileName();
}

QByteArray Sandbox::read(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot read " << file.fileName().toStdString();
        return {};
    }
    return file.readAll();
}

QStringList Sandbox::entries() const
{
    return QDir(workFolder())
        .entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

QString Sandbox::settingsFolder() const
{
    return QDir(dir_.path()).filePath(QStringLiteral("config/Corvane"));
}

bool Sandbox::settingsFolderExists() const
{
    // Qt falls back to ~/.config when XDG_CONFIG_HOME is not honoured: look there too.
    return QFileInfo::exists(settingsFolder())
        || QFileInfo::exists(QDir(dir_.path()).filePath(QStringLiteral("home/.config/Corvane")));
}

void Sandbox::writeSettings(const QByteArray &ini)
{
    QDir().mkpath(settingsFolder());
    QFile file(QDir(settingsFolder()).filePath(QStringLiteral("Twinscan.ini")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(ini), ini.size());
    settingsPrepared_ = true;
}

QByteArray Sandbox::readSettings() const
{
    QFile file(QDir(settingsFolder()).filePath(QStringLiteral("Twinscan.ini")));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

QStringList Sandbox::settingsEntries() const
{
    return QDir(settingsFolder())
        .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

RunResult Sandbox::run(const QStringList &arguments, std::chrono::seconds timeout) const
{
    RunResult result;
    result.arguments = arguments;
    QProcess process;
    process.setProcessEnvironment(environment_);
    process.setWorkingDirectory(workFolder());
    process.setProgram(QString::fromUtf8(TWINSCAN_BINARY));
    process.setArguments(arguments);
    process.start();
    if (!process.waitForStarted(10000)) {
        ADD_FAILURE() << "cannot start " << TWINSCAN_BINARY << ": "
                      << process.errorString().toStdString();
        return result;
    }
    const int milliseconds = int(std::chrono::milliseconds(timeout).count());
    if (!process.waitForFinished(milliseconds)) {
        process.kill();
        process.waitForFinished(5000);
        ADD_FAILURE() << "killed after " << timeout.count() << " s without an end ("
                      << process.errorString().toStdString() << ")";
    } else {
        result.finished = process.exitStatus() == QProcess::NormalExit;
        result.exitCode = result.finished ? process.exitCode() : -1;
    }
    result.out = process.readAllStandardOutput();
    result.err = process.readAllStandardError();
    if (!settingsPrepared_) {
        EXPECT_FALSE(settingsFolderExists()) << "the run created a settings store\n"
                                             << describe(result);
    }
    return result;
}

} // namespace twinscan::e2e
