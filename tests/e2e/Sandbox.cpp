#include "Sandbox.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>

namespace twinscan::e2e {

namespace {

QString expanded(QString text, const QString &work)
{
    return text.replace(QStringLiteral("@/"), work + QLatin1Char('/'));
}

// One row per LF-ended line, with CR, LF and other control bytes written out.
std::vector<std::string> rowsOf(const QByteArray &data)
{
    std::vector<std::string> rows(1);
    for (qsizetype i = 0; i < data.size(); ++i) {
        const auto c = static_cast<unsigned char>(data[i]);
        char text[8];
        std::snprintf(text, sizeof text,
            c == '\n'                                ? "\\n"
                : c == '\r'                          ? "\\r"
                : c >= 0x20 && c < 0x7F && c != '\\' ? "%c"
                                                     : "\\x%02X",
            c);
        rows.back() += text;
        if (c == '\n' && i + 1 < data.size())
            rows.emplace_back();
    }
    return rows;
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

testing::AssertionResult sameBytes(
    const char *, const char *actualText, const QByteArray &expected, const QByteArray &actual)
{
    if (expected == actual)
        return testing::AssertionSuccess();
    const std::vector<std::string> left = rowsOf(expected);
    const std::vector<std::string> right = rowsOf(actual);
    const auto cell = [](const std::vector<std::string> &rows, std::size_t i) {
        return i < rows.size() ? rows[i] : std::string();
    };
    std::size_t row = 0;
    while (row < left.size() && row < right.size() && left[row] == right[row])
        ++row;
    testing::AssertionResult failure = testing::AssertionFailure()
        << actualText << " differs in line " << row + 1 << " (expected | actual):\n";
    for (std::size_t i = row > 2 ? row - 2 : 0; i < row + 3; ++i) {
        const std::string l = cell(left, i);
        failure << (l == cell(right, i) ? "  " : "* ") << l
                << std::string(l.size() < 30 ? 30 - l.size() : 1, ' ') << "| " << cell(right, i)
                << '\n';
    }
    return failure;
}

void expectWritten(const RunResult &result)
{
    const QString time = QStringLiteral(R"( \(Processing time: \d+:\d\d\)\n)");
    const QRegularExpression lines(QRegularExpression::anchoredPattern(
        QStringLiteral(
            "Scanned \\d+ Lines: Found \\d+ Duplicate Lines with \\d+ Unique Duplicates!")
        + time + QStringLiteral("Done!") + time));
    EXPECT_EQ(result.exitCode, 0) << describe(result);
    EXPECT_TRUE(lines.match(QString::fromUtf8(result.out)).hasMatch()) << describe(result);
    EXPECT_TRUE(result.err.isEmpty()) << describe(result);
}

} // namespace twinscan::e2e
