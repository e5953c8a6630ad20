// The command-line parser on any arguments: it never fails, a value that still holds a double
// quote is always refused, an option switch holds "on", "off" or nothing, and a request that is
// not refused, written back as arguments with each value quoted, reads back as the same request.
#include "FuzzSupport.h"
#include "app/CommandLine.h"

#include <QByteArrayView>
#include <cstdint>
#include <cstdlib>

using namespace twinscan;
using twinscan::fuzz::require;

namespace {

// The input's NUL-separated words, as the system hands over a program's arguments.
QStringList argumentsOf(QByteArrayView input)
{
    QStringList arguments;
    for (const QByteArrayView word : QByteArray(input.data(), input.size()).split('\0'))
        arguments.append(QString::fromUtf8(word));
    return arguments;
}

const QString CommandLineRequest::*const fields[]
    = {&CommandLineRequest::inputFile, &CommandLineRequest::outputFile,
        &CommandLineRequest::markRule, &CommandLineRequest::caseSensitiveSwitch,
        &CommandLineRequest::trimLinesSwitch, &CommandLineRequest::includeEmptyLinesSwitch,
        &CommandLineRequest::trimSaveLinesSwitch, &CommandLineRequest::saveEmptyLinesSwitch};
const char16_t *const tokens[] = {u"/i", u"/o", u"/s", u"/c", u"/r", u"/e", u"/t", u"/m"};

QStringList writtenBack(const CommandLineRequest &request)
{
    QStringList arguments;
    for (std::size_t i = 0; i < std::size(fields); ++i)
        arguments << QString::fromUtf16(tokens[i]) << u'"' + request.*fields[i] + u'"';
    return arguments;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QStringList arguments = argumentsOf(QByteArrayView(data, qsizetype(size)));
    const CommandLineRequest request = parseArguments(arguments);
    const bool refused = !quoteRefusal(arguments).isEmpty();
    for (std::size_t i = 0; i < std::size(fields); ++i) {
        const QString &value = request.*fields[i];
        require(refused || !value.contains(u'"'));
        if (i >= 3) {
            require(value.isEmpty() || value.compare(u"on", Qt::CaseInsensitive) == 0
                || value.compare(u"off", Qt::CaseInsensitive) == 0);
        }
    }
    classifyCommandLine(arguments);
    if (refused)
        return 0;
    const CommandLineRequest again = parseArguments(writtenBack(request));
    for (const auto field : fields)
        require(again.*field == request.*field);
    return 0;
}
