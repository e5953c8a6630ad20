#include "app/GnuCommandLine.h"

#include "app/CommandLine.h"
#include "engine/FileName.h"
#include "engine/MemoryBudget.h"

#include <QByteArrayList>
#include <array>
#include <getopt.h>
#include <vector>

namespace twinscan {

namespace {

// The parse so far: the result, which option chose the lines written, which chose the key and
// which only shapes a key of fields.
struct ParseState
{
    GnuCommandLine line;
    QString selectedBy;
    QString keyBy;
    QString fieldOptionBy;

    JobDescription &job() { return line.job; }
    void fail(const QString &message)
    {
        if (line.action != GnuCommandLine::Error)
            line = {GnuCommandLine::Error, line.job, message};
    }
    void select(LineSelection selection, const QString &option)
    {
        if (!selectedBy.isEmpty() && job().selection != selection)
            return fail(QStringLiteral("'%1' cannot be given with '%2'").arg(option, selectedBy));
        job().selection = selection;
        selectedBy = option;
    }
    // One kind of key in a command line: -s and -w together are one key of characters.
    void chooseKey(KeySpec::Kind kind, const QString &option)
    {
        if (!keyBy.isEmpty() && job().key.kind != kind)
            return fail(QStringLiteral("'%1' cannot be given with '%2'").arg(option, keyBy));
        job().key.kind = kind;
        keyBy = option;
    }
};

// One option: its names, its value and its help line, and what it does to the job. A new
// option is one more row.
struct Option
{
    const char *longName;
    char shortName; // 0 for a long option alone
    const char *valueName; // nullptr for an option without a value
    const char *help;
    void (*apply)(ParseState &state, const QString &value);
};

void applyKeep(ParseState &state, const QString &value)
{
    static const std::array<std::pair<const char16_t *, LineSelection>, 3> rules {{
        {u"first", LineSelection::KeepFirst},
        {u"last", LineSelection::KeepLast},
        {u"none", LineSelection::KeepNone},
    }};
    for (const auto &[name, selection] : rules) {
        if (value == QStringView(name))
            return state.select(selection, QStringLiteral("--keep"));
    }
    state.fail(QStringLiteral("invalid argument '%1' for '--keep'\n"
                              "Valid arguments are: 'first', 'last', 'none'")
                   .arg(value));
}

// A count of characters for -s and -w: a whole number from `least` up.
void applyCharacters(
    ParseState &state, const QString &value, const QString &option, int least, int KeySpec::*count)
{
    bool ok = false;
    const int number = value.toInt(&ok);
    if (!ok || number < least)
        return state.fail(
            QStringLiteral("invalid number of characters for '%1': '%2'").arg(option, value));
    state.chooseKey(KeySpec::Kind::Characters, option);
    state.job().key.*count = number;
}

void applyFields(ParseState &state, const QString &value)
{
    const auto fields = parseFieldList(value);
    if (!fields)
        return state.fail(QStringLiteral("invalid field list '%1' for '--fields'").arg(value));
    state.chooseKey(KeySpec::Kind::Fields, QStringLiteral("--fields"));
    state.job().key.fields = *fields;
}

void applySeparator(ParseState &state, const QString &value)
{
    if (value.isEmpty())
        return state.fail(QStringLiteral("the field separator cannot be empty"));
    // A backslash and "t" stand for a tab, which is awkward to type in a shell.
    state.job().key.separator = value == u"\\t" ? std::string("\t") : value.toStdString();
    state.fieldOptionBy = QStringLiteral("--field-separator");
}

const Option options[] = {
    {"keep", 0, "first|last|none",
        "write the input without its duplicates, keeping the first (the default), the last "
        "or no occurrence of each duplicated line",
        applyKeep},
    {"count", 'c', nullptr,
        "prefix each written line with its number of occurrences, as uniq -c; alone, each "
        "distinct line once in order of first occurrence",
        [](ParseState &s, const QString &) { s.job().counts = true; }},
    {"repeated", 'd', nullptr, "write one line (the first) of each duplicated line",
        [](ParseState &s, const QString &) {
            s.select(LineSelection::Repeated, QStringLiteral("--repeated"));
        }},
    {"all-repeated", 'D', nullptr,
        "write every occurrence of every duplicated line, group after group",
        [](ParseState &s, const QString &) {
            s.select(LineSelection::AllRepeated, QStringLiteral("--all-repeated"));
        }},
    {"unique", 'u', nullptr, "write only the lines that occur once",
        [](ParseState &s, const QString &) {
            s.select(LineSelection::Unique, QStringLiteral("--unique"));
        }},
    {"line-number", 'n', nullptr, "prefix each written line with its line number and ':'",
        [](ParseState &s, const QString &) { s.job().lineNumbers = true; }},
    {"ignore-case", 'i', nullptr, "compare lines without regard to case (Unicode rules)",
        [](ParseState &s, const QString &) { s.job().scanRules.caseSensitive = false; }},
    {"trim", 0, nullptr, "ignore leading and trailing spaces when comparing",
        [](ParseState &s, const QString &) { s.job().scanRules.trimLines = true; }},
    {"ignore-empty", 0, nullptr, "never count empty lines as duplicates",
        [](ParseState &s, const QString &) { s.job().scanRules.includeEmptyLines = false; }},
    {"trim-output", 0, nullptr, "remove leading and trailing spaces from the written lines",
        [](ParseState &s, const QString &) { s.job().saveRules.trimLines = true; }},
    {"drop-empty", 0, nullptr, "leave empty lines out of the output",
        [](ParseState &s, const QString &) { s.job().saveRules.keepEmptyLines = false; }},
    {"fields", 0, "LIST",
        "compare only these fields, such as 2 or 1,3 or 2-4, numbered from 1 and split at runs "
        "of spaces and tabs or at --field-separator; a line without them is no duplicate",
        applyFields},
    {"field-separator", 't', "SEP", "split the fields at the text SEP instead (\\t for a tab)",
        applySeparator},
    {"csv", 0, nullptr,
        "read the fields as CSV: a comma separates them unless --field-separator says "
        "otherwise, and a quoted field may hold the separator and doubled quotes",
        [](ParseState &s, const QString &) {
            s.job().key.csv = true;
            s.fieldOptionBy = QStringLiteral("--csv");
        }},
    {"regex", 0, "RE",
        "compare only the first match of the regular expression RE (Perl style), or its first "
        "group when it has one; a line without a match is no duplicate",
        [](ParseState &s, const QString &value) {
            s.chooseKey(KeySpec::Kind::Regex, QStringLiteral("--regex"));
            s.job().key.pattern = value;
        }},
    {"skip-chars", 's', "N", "pass over the first N characters of each line when comparing",
        [](ParseState &s, const QString &value) {
            applyCharacters(s, value, QStringLiteral("--skip-chars"), 0, &KeySpec::skipChars);
        }},
    {"check-chars", 'w', "N", "compare no more than N characters of each line",
        [](ParseState &s, const QString &value) {
            applyCharacters(s, value, QStringLiteral("--check-chars"), 1, &KeySpec::checkChars);
        }},
    {"zero-terminated", 'z', nullptr,
        "lines end in NUL instead of a line break, in the input and in the output",
        [](ParseState &s, const QString &) { s.job().saveRules.lineEnds = LineEnds::Nul; }},
    {"output", 'o', "FILE",
        "write to FILE instead of standard output; FILE is replaced whole at the end, and may "
        "be the input",
        [](ParseState &s, const QString &value) { s.job().outputFile = value; }},
    {"buffer-size", 'S', "SIZE",
        "use no more than SIZE of memory, as sort -S reads it (1G, 500M, 50%); a file that does "
        "not fit is scanned with temporary files",
        [](ParseState &s, const QString &value) {
            const auto size = memory::parseSize(value.toStdString(), memory::physicalMemory());
            if (!size)
                return s.fail(
                    QStringLiteral("invalid argument '%1' for '--buffer-size'").arg(value));
            s.job().memoryBudget = *size;
        }},
    {"report", 0, "FILE",
        "also write FILE, a tab-separated report of the duplicated lines: a row per group with "
        "its count, its line numbers and its text",
        [](ParseState &s, const QString &value) { s.job().reportFile = value; }},
    {"check", 0, nullptr, "write nothing; exit 1 when the input has duplicates, 0 when not",
        [](ParseState &s, const QString &) { s.job().check = true; }},
    {"quiet", 'q', nullptr, "print no status line",
        [](ParseState &s, const QString &) { s.job().quiet = true; }},
    {"progress", 0, nullptr,
        "show progress on standard error after a second, also when it is not a terminal",
        [](ParseState &s, const QString &) { s.job().progress = true; }},
    {"help", 'h', nullptr, "show this text and exit",
        [](ParseState &s, const QString &) { s.line.action = GnuCommandLine::Help; }},
    {"version", 'V', nullptr, "show the version and exit",
        [](ParseState &s, const QString &) { s.line.action = GnuCommandLine::Version; }},
};

constexpr int longOnly = 256; // getopt's code of a long option alone: its row plus this

const Option *optionOfCode(int code)
{
    for (std::size_t i = 0; i < std::size(options); ++i) {
        if ((options[i].shortName != 0 && options[i].shortName == code)
            || int(i) + longOnly == code)
            return &options[i];
    }
    return nullptr;
}

QString longNameOf(const Option &option)
{
    return QStringLiteral("--") + QLatin1StringView(option.longName);
}

// getopt_long's tables, made from the rows.
struct GetoptTables
{
    QByteArray shortOptions = ":"; // ':' first: a missing value is told from an unknown option
    std::vector<struct option> longOptions;

    GetoptTables()
    {
        for (std::size_t i = 0; i < std::size(options); ++i) {
            const Option &row = options[i];
            const int hasArg = row.valueName ? required_argument : no_argument;
            longOptions.push_back({row.longName, hasArg, nullptr,
                row.shortName != 0 ? row.shortName : int(i) + longOnly});
            if (row.shortName != 0)
                shortOptions += QByteArray(1, row.shortName) + (row.valueName ? ":" : "");
        }
        longOptions.push_back({nullptr, 0, nullptr, 0});
    }
};

// The long options that begin with what was given, for the ambiguous case.
QStringList longOptionsStartingWith(const QString &given)
{
    QStringList names;
    const QString prefix = given.section(u'=', 0, 0);
    for (const Option &row : options) {
        if (longNameOf(row).startsWith(prefix))
            names << QStringLiteral("'%1'").arg(longNameOf(row));
    }
    return names;
}

// getopt's answers that are not an option, as coreutils word them.
QString getoptError(int code, const char *given)
{
    const Option *option = optionOfCode(optopt);
    const QString word = fileNameFromBytes(given);
    if (code == ':') {
        return word.startsWith(u"--")
            ? QStringLiteral("option '%1' requires an argument").arg(longNameOf(*option))
            : QStringLiteral("option requires an argument -- '%1'").arg(QChar(char16_t(optopt)));
    }
    if (option)
        return QStringLiteral("option '%1' doesn't allow an argument").arg(longNameOf(*option));
    if (optopt != 0)
        return QStringLiteral("invalid option -- '%1'").arg(QChar(char16_t(optopt)));
    if (const QStringList names = longOptionsStartingWith(word); names.size() > 1)
        return QStringLiteral("option '%1' is ambiguous; possibilities: %2")
            .arg(word, names.join(u' '));
    return QStringLiteral("unrecognized option '%1'").arg(word);
}

// What no single option can tell: the combinations that mean nothing, and the operands.
void checkWhole(ParseState &state, const QStringList &operands)
{
    if (operands.size() > 1)
        return state.fail(QStringLiteral("extra operand '%1'").arg(operands.at(1)));
    if (!operands.isEmpty() && operands.first() != u"-")
        state.job().inputFile = operands.first();
    if (state.job().counts && state.job().selection == LineSelection::AllRepeated)
        state.fail(QStringLiteral("'--count' cannot be given with '--all-repeated'"));
    const KeySpec &key = state.job().key;
    if (!state.fieldOptionBy.isEmpty() && key.kind != KeySpec::Kind::Fields)
        state.fail(QStringLiteral("'%1' needs '--fields'").arg(state.fieldOptionBy));
    if (const QString error = keySpecError(key); !error.isEmpty())
        state.fail(error);
}
} // namespace

bool isGnuCommandLine(const QStringList &arguments)
{
    for (const char *jobSwitch : {"/i", "/o", "/s"}) {
        if (arguments.contains(QLatin1StringView(jobSwitch)))
            return false;
    }
    for (const QString &argument : arguments) {
        if (argument.startsWith(u'-'))
            return true;
    }
    return false;
}

GnuCommandLine parseGnuArguments(const QStringList &arguments)
{
    static const GetoptTables tables;
    QByteArrayList words {QByteArrayLiteral("twinscan")};
    for (const QString &argument : arguments)
        words << fileNameBytes(argument);
    std::vector<char *> argv;
    for (QByteArray &word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    ParseState state;
    optind = 0; // starts getopt afresh, its state of an earlier parse forgotten
    opterr = 0;
    const int argc = int(argv.size()) - 1;
    // As coreutils do, help and version are answered as soon as they are read.
    for (int code; state.line.action == GnuCommandLine::Run
         && (code = getopt_long(argc, argv.data(), tables.shortOptions.constData(),
                 tables.longOptions.data(), nullptr))
             != -1;) {
        const Option *option = code == '?' || code == ':' ? nullptr : optionOfCode(code);
        if (!option)
            state.fail(getoptError(code, argv[std::size_t(optind - 1)]));
        else
            option->apply(state, optarg ? fileNameFromBytes(optarg) : QString());
    }
    QStringList operands;
    for (int i = optind; i < argc && state.line.action == GnuCommandLine::Run; ++i)
        operands << fileNameFromBytes(argv[std::size_t(i)]);
    if (state.line.action == GnuCommandLine::Run)
        checkWhole(state, operands);
    return state.line;
}

namespace {
// The help of one option, its words wrapped to the terminal's usual 80 columns.
QString helpLines(const Option &row)
{
    constexpr qsizetype column = 30;
    QString names = row.shortName ? QStringLiteral("  -%1, ").arg(QLatin1Char(row.shortName))
                                  : QStringLiteral("      ");
    names += longNameOf(row);
    if (row.valueName)
        names += u'=' + QLatin1StringView(row.valueName);
    QString text = names.size() < column ? names.leftJustified(column)
                                         : names + u'\n' + QString(column, u' ');
    qsizetype width = column;
    bool first = true;
    for (const QString &word : QString::fromLatin1(row.help).split(u' ')) {
        if (!first && width + 1 + word.size() > 79) {
            text += u'\n' + QString(column, u' ');
            width = column;
        } else if (!first) {
            text += u' ';
            ++width;
        }
        text += word;
        width += word.size();
        first = false;
    }
    return text + u'\n';
}
} // namespace

QString gnuHelpText()
{
    QString text = QStringLiteral(
        "Usage: twinscan [OPTION]... [FILE|-]\n"
        "Write FILE, or standard input when FILE is - or missing, without its duplicate\n"
        "lines, or report them. Lines compare exactly, as awk '!seen[$0]++' compares\n"
        "them; the window's saved settings are neither read nor written. Without any\n"
        "argument it runs so too when something is piped in and the output is no\n"
        "terminal (cat x | twinscan | less), from a terminal or without a display.\n"
        "A UTF-16 input is written in UTF-16, behind its byte-order mark.\n"
        "\n");
    for (const Option &row : options)
        text += helpLines(row);
    text += QStringLiteral(
        "\n"
        "Exit status: 0 written, 1 duplicates found with --check, 2 error.\n"
        "\n"
        "Examples:\n"
        "  journalctl -b | twinscan -c -q       count each line, in order of first sight\n"
        "  twinscan -q --keep=last -o list.txt list.txt\n"
        "                                       keep each line's last occurrence, in place\n"
        "  git log --format=%an | twinscan -dq  authors of more than one commit\n"
        "  twinscan --check -q data.csv || echo 'duplicate rows'\n"
        "  printf '%s\\0' \"$@\" | twinscan -zq | xargs -0 ls -d\n"
        "                                       each argument once, whatever it holds\n"
        "\n");
    return text + helpText();
}

} // namespace twinscan
