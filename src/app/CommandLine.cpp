#include "app/CommandLine.h"

#include "app/DisplayProbe.h"
#include "app/Version.h"
#include "engine/FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLatin1StringView>
#include <array>
#include <sys/stat.h>

namespace twinscan {

namespace {

struct Switch
{
    QLatin1StringView token;
    QString CommandLineRequest::*field;
    bool onOff;
};

const std::array<Switch, 8> switches {{
    {QLatin1StringView("/i"), &CommandLineRequest::inputFile, false},
    {QLatin1StringView("/o"), &CommandLineRequest::outputFile, false},
    {QLatin1StringView("/s"), &CommandLineRequest::markRule, false},
    {QLatin1StringView("/c"), &CommandLineRequest::caseSensitiveSwitch, true},
    {QLatin1StringView("/r"), &CommandLineRequest::trimLinesSwitch, true},
    {QLatin1StringView("/e"), &CommandLineRequest::includeEmptyLinesSwitch, true},
    {QLatin1StringView("/t"), &CommandLineRequest::trimSaveLinesSwitch, true},
    {QLatin1StringView("/m"), &CommandLineRequest::saveEmptyLinesSwitch, true},
}};

std::optional<std::size_t> switchIndex(const QString &argument)
{
    for (std::size_t i = 0; i < switches.size(); ++i) {
        if (argument == switches[i].token)
            return i;
    }
    return std::nullopt;
}

// Only the three switches of a job make the arguments worth reading.
bool namesJobSwitch(const QStringList &arguments)
{
    for (const QString &argument : arguments) {
        const auto index = switchIndex(argument);
        if (index && !switches[*index].onOff)
            return true;
    }
    return false;
}

// Only the space is trimmed: a tab at either end belongs to the value.
QString trimSpaces(const QString &value)
{
    qsizetype first = 0;
    qsizetype last = value.size();
    while (first < last && value.at(first) == u' ')
        ++first;
    while (last > first && value.at(last - 1) == u' ')
        --last;
    return value.mid(first, last - first);
}

bool isOn(const QString &value)
{
    return value.compare(u"on", Qt::CaseInsensitive) == 0;
}
bool isOff(const QString &value)
{
    return value.compare(u"off", Qt::CaseInsensitive) == 0;
}

bool isOnOrOff(const QString &value)
{
    return isOn(value) || isOff(value);
}

bool isWhollyQuoted(const QString &value)
{
    return value.size() >= 2 && value.startsWith(u'"') && value.endsWith(u'"')
        && value.count(u'"') == 2;
}

// The shell has removed the user's quoting already, so a double quote that reaches us is part of
// the name; only a pair around the whole value is taken for quoting, as a script written for a
// one-string command line has it. Trimming comes first, so quoted spaces at the ends survive.
QString cleanValue(const QStringList &words)
{
    const QString value = trimSpaces(words.join(u' '));
    return isWhollyQuoted(value) ? value.mid(1, value.size() - 2) : value;
}

// Each switch's value as given, before option values other than "on" and "off" are dropped.
std::array<QString, switches.size()> givenValues(const QStringList &arguments)
{
    std::array<QString, switches.size()> values;
    if (!namesJobSwitch(arguments))
        return values;
    std::array<QStringList, switches.size()> words;
    std::optional<std::size_t> current;
    for (const QString &argument : arguments) {
        if (const auto index = switchIndex(argument)) {
            current = index;
            words[*index].clear();
        } else if (current) {
            words[*current].append(argument);
        }
    }
    for (std::size_t i = 0; i < switches.size(); ++i)
        values[i] = cleanValue(words[i]);
    return values;
}

void overrideOption(const QString &value, qint16 &option)
{
    if (isOn(value))
        option = 1;
    else if (isOff(value))
        option = 0;
}

bool isSet(const QString &variable)
{
    return !variable.isEmpty();
}

const char *const usageLine
    = "Usage: twinscan /i FILE /o FILE /s 1|2|3 [/c on|off] [/r on|off] [/e on|off] "
      "[/t on|off] [/m on|off]\n";

} // namespace

CommandLineRequest parseArguments(const QStringList &arguments)
{
    CommandLineRequest request;
    const auto values = givenValues(arguments);
    for (std::size_t i = 0; i < switches.size(); ++i) {
        if (!switches[i].onOff || isOnOrOff(values[i]))
            request.*switches[i].field = values[i];
    }
    return request;
}

QString fileToOpen(const QStringList &arguments)
{
    QString file;
    if (arguments.size() == 1 && !switchIndex(arguments.first())
        && !arguments.first().startsWith(u'-'))
        file = arguments.first();
    else if (!arguments.contains(QStringLiteral("/o")) && !arguments.contains(QStringLiteral("/s")))
        file = parseArguments(arguments).inputFile;
    // The open dialog gives a full path, which the title and the settings then show.
    return file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
}

QStringList ignoredOptionWarnings(const QStringList &arguments)
{
    QStringList warnings;
    const auto values = givenValues(arguments);
    for (std::size_t i = 0; i < switches.size(); ++i) {
        if (switches[i].onOff && !values[i].isEmpty() && !isOnOrOff(values[i])) {
            warnings << QStringLiteral("twinscan: %1 %2 ignored: expected on or off\n")
                            .arg(switches[i].token, values[i]);
        }
    }
    return warnings;
}

QString quoteRefusal(const QStringList &arguments)
{
    const auto values = givenValues(arguments);
    for (std::size_t i = 0; i < switches.size(); ++i) {
        if (values[i].contains(u'"')) {
            return QStringLiteral("twinscan: %1 %2: a double quote is part of the name; Twinscan "
                                  "never changes a name, so the command line is refused\n")
                .arg(switches[i].token, values[i]);
        }
    }
    return {};
}

bool isCompleteJob(const CommandLineRequest &request)
{
    if (request.inputFile.isEmpty() || request.outputFile.isEmpty())
        return false;
    if (!batchMarkRule(request.markRule))
        return false;
    // stat() follows symbolic links; hidden files are files like any. The name's own bytes are
    // looked up, which QFileInfo would change when they are not UTF-8.
    struct stat st = {};
    return ::stat(fileNameBytes(request.inputFile).constData(), &st) == 0 && S_ISREG(st.st_mode);
}

void parseCommandLine(Module &module, const QStringList &arguments)
{
    module.request = parseArguments(arguments);
    module.batchMode = isCompleteJob(module.request);
}

void applyOptionOverrides(Module &module)
{
    const CommandLineRequest &request = module.request;
    overrideOption(request.caseSensitiveSwitch, module.scanOptions.caseSensitive);
    overrideOption(request.trimLinesSwitch, module.scanOptions.trimLines);
    overrideOption(request.includeEmptyLinesSwitch, module.scanOptions.includeEmptyLines);
    overrideOption(request.trimSaveLinesSwitch, module.saveOptions.trimSaveLines);
    overrideOption(request.saveEmptyLinesSwitch, module.saveOptions.saveEmptyLines);
}

std::optional<MarkRule> batchMarkRule(const QString &markRule)
{
    if (markRule == u"1")
        return MarkRule::All;
    if (markRule == u"2")
        return MarkRule::AllButFirst;
    if (markRule == u"3")
        return MarkRule::AllButLast;
    return std::nullopt;
}

CommandLineKind classifyCommandLine(const QStringList &arguments)
{
    if (!arguments.isEmpty() && arguments.first() == u"--help")
        return CommandLineKind::Help;
    if (!arguments.isEmpty() && arguments.first() == u"--version")
        return CommandLineKind::Version;
    return isCompleteJob(parseArguments(arguments)) ? CommandLineKind::Job : CommandLineKind::NoJob;
}

QString helpText()
{
    return QString::fromLatin1(usageLine)
        + QStringLiteral(
            "       twinscan [FILE]\n"
            "       twinscan --help | --version\n"
            "\n"
            "Without a job Twinscan opens its window. Given one FILE, or /i FILE without /o and\n"
            "/s, it opens the window and scans FILE at once, as Open does, with the saved\n"
            "settings. With /i, /o and /s it scans the input file for duplicate lines, marks\n"
            "them by the rule, writes the output file without the marked lines and quits.\n"
            "\n"
            "  /i FILE    the text file to scan; it must exist\n"
            "  /o FILE    the file to write\n"
            "  /s 1|2|3   which occurrences to remove: 1 all, 2 all but the first,\n"
            "             3 all but the last\n"
            "  /c on|off  compare lines case sensitively\n"
            "  /r on|off  ignore leading and trailing spaces when comparing\n"
            "  /e on|off  include empty lines in the scan\n"
            "  /t on|off  remove leading and trailing spaces from the saved lines\n"
            "  /m on|off  keep empty lines in the saved file\n"
            "  --help     show this text\n"
            "  --version  show the version\n"
            "\n"
            "Options not given keep their saved settings. A value runs up to the next switch,\n"
            "so a path with spaces needs no quotes. Double quotes around a whole value are\n"
            "removed; a value with any other double quote is refused (exit status 2), since\n"
            "changing it would name another file.\n"
            "\n"
            "Example:\n"
            "  twinscan /i \"in put.txt\" /o out.txt /s 2 /c on\n"
            "\n"
            "Without a display a job runs without a window and prints its final status. Exit\n"
            "status: 0 output written, 1 nothing to remove, 2 error.\n");
}

QString versionText()
{
    return QStringLiteral("Twinscan " TWINSCAN_VERSION "\n");
}

QString usageText()
{
    return QStringLiteral("twinscan: no display could be opened, and the command line is not a "
                          "complete job\n"
                          "(/i, /o and /s with an existing input file).\n")
        + QString::fromLatin1(usageLine)
        + QStringLiteral("Try 'twinscan --help' for more information.\n");
}

namespace {
// What a name that exists but is no regular file names, in the user's words.
QString notAFileText(const QString &input)
{
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(input).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return QStringLiteral("twinscan: %1: is a folder, not a file\n");
    if (S_ISFIFO(st.st_mode))
        return QStringLiteral("twinscan: %1: is a FIFO or a pipe, not a file\n");
    if (S_ISSOCK(st.st_mode))
        return QStringLiteral("twinscan: %1: is a socket, not a file\n");
    return QStringLiteral("twinscan: %1: is a device, not a file\n");
}
} // namespace

QString refusalText(const QStringList &arguments)
{
    QString input = parseArguments(arguments).inputFile;
    if (input.isEmpty())
        input = fileToOpen(arguments); // a file named alone, as a file manager passes it
    const QFileInfo file(input);
    if (input.isEmpty() || file.isFile())
        return usageText();
    return (file.exists() ? notAFileText(input)
                          : QStringLiteral("twinscan: %1: the file does not exist\n"))
        .arg(QDir::toNativeSeparators(input));
}

DisplayEnvironment DisplayEnvironment::current()
{
    DisplayEnvironment environment {qEnvironmentVariable("DISPLAY"),
        qEnvironmentVariable("WAYLAND_DISPLAY"), qEnvironmentVariable("QT_QPA_PLATFORM")};
    environment.opens = (isSet(environment.display) && x11DisplayOpens(environment.display))
        || (isSet(environment.waylandDisplay)
            && waylandDisplayOpens(
                environment.waylandDisplay, qEnvironmentVariable("XDG_RUNTIME_DIR")));
    return environment;
}

DisplayDecision decideDisplay(const QStringList &arguments, const DisplayEnvironment &environment)
{
    const QString &platform = environment.qpaPlatform;
    if (isSet(platform) && !platform.contains(u"xcb") && !platform.contains(u"wayland"))
        return {};
    if ((isSet(environment.display) || isSet(environment.waylandDisplay)) && environment.opens)
        return {};
    switch (classifyCommandLine(arguments)) {
    case CommandLineKind::Job:
        return {.runOffscreen = true, .refuseWithUsage = false};
    case CommandLineKind::NoJob:
        return {.runOffscreen = false, .refuseWithUsage = true};
    case CommandLineKind::Help:
    case CommandLineKind::Version:
        break;
    }
    return {};
}

} // namespace twinscan
