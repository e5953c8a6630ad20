// The program as a filter in a pipe: options in the GNU style, every way of reading the input,
// the output modes against their definitions, and the exit statuses and messages a script reads.

#include "Sandbox.h"

#include <QDir>
#include <QRegularExpression>
#include <map>
#include <random>

using namespace Qt::StringLiterals;

namespace twinscan::e2e {
namespace {

const QByteArray sample = "b\na\nb\nA\n\n\nc\na\n";
// More lines than a pipe and the program's buffer hold, all kept.
const QByteArray manyLines = [] {
    QByteArray lines;
    for (int i = 0; i < 300000; ++i)
        lines += QByteArray::number(i) + '\n';
    return lines;
}();
const QByteArray utf32("\xFF\xFE\0\0x\0\0\0\n\0\0\0x\0\0\0\n\0\0\0", 20);
// UTF-16 LE behind its mark.
QByteArray utf16(QStringView text)
{
    QByteArray bytes("\xFF\xFE");
    for (const QChar unit : text)
        bytes += char(unit.unicode() & 0xFF), bytes += char(unit.unicode() >> 8);
    return bytes;
}

// The whole stream matches the pattern, in which @/ is the work folder.
bool matches(const QByteArray &text, const char *pattern, const Sandbox &box)
{
    const QString whole = QString::fromUtf8(pattern).replace(
        u"@/"_s, QRegularExpression::escape(box.path(u"@/"_s)));
    return QRegularExpression(QRegularExpression::anchoredPattern(whole))
        .match(QString::fromUtf8(text))
        .hasMatch();
}

// Every path through the program: the output is written also when nothing is removed, an input
// is never destroyed, a pipe, a FIFO and a file on standard input are read as the file is, and
// the messages name the file and the reason.
TEST(FilterTest, ReadsWritesAndAnswers)
{
    const struct
    {
        const char *name;
        const char *script; // "$0" is the program, @/ the work folder with in.txt
        int status;
        QByteArray out;
        const char *err = "";
        QByteArray input = sample;
        QByteArray inAfter = sample; // in.txt at the end
        QStringList entries = {u"in.txt"_s}; // of the work folder at the end
    } cases[] = {
        {"a file", "\"$0\" --keep=first @/in.txt", 0, "b\na\nA\n\nc\n",
            "twinscan: @/in.txt: 8 lines read, 6 of them in 3 groups of equal lines, 3 removed\n"},
        {"a pipe", "cat @/in.txt | \"$0\" -q", 0, "b\na\nA\n\nc\n"},
        {"a FIFO", "mkfifo @/f; cat @/in.txt >@/f & \"$0\" -q @/f", 0, "b\na\nA\n\nc\n", "", sample,
            sample, {u"f"_s, u"in.txt"_s}},
        {"a file as standard input", "\"$0\" -q - <@/in.txt", 0, "b\na\nA\n\nc\n"},
        {"a report from a pipe", "cat @/in.txt | \"$0\" -qd", 0, "b\na\n\n"},
        {"UTF-16 from a pipe", "cat @/in.txt | \"$0\" -q", 0, utf16(u"b\r\n\u00e9\r\n"), "",
            utf16(u"b\r\n\u00e9\r\nb"), utf16(u"b\r\n\u00e9\r\nb")},
        {"a UTF-16 report", "\"$0\" -qc @/in.txt", 0, utf16(u"      2 b\r\n      1 \U0001F600\r\n"),
            "", utf16(u"b\r\n\U0001F600\r\nb"), utf16(u"b\r\n\U0001F600\r\nb")},
        {"a UTF-16 report with an odd last byte", "\"$0\" -qc @/in.txt", 0,
            utf16(u"      1 a\n      1 b\n      1 a") + 'Q', "", utf16(u"a\nb\na") + 'Q',
            utf16(u"a\nb\na") + 'Q'},
        {"a file as standard input and no arguments", "\"$0\" <@/in.txt | cat", 0, "b\na\nA\n\nc\n",
            "twinscan: standard input: 8 lines read, 6 of them in 3 groups of equal lines, 3 "
            "removed\n"},
        {"a pipe and no arguments at all", "cat @/in.txt | \"$0\" | cat", 0, "b\na\nA\n\nc\n",
            "twinscan: standard input: 8 lines read, 6 of them in 3 groups of equal lines, 3 "
            "removed\n"},
        {"records ended by NUL, the last one without",
            "printf 'b\\0a\\r\\n\\0b\\0a\\n' | \"$0\" -qz", 0,
            QByteArrayLiteral("b\0a\r\n\0a\n\0")},
        {"records ended by NUL, trimmed", "\"$0\" -qz --trim-output @/in.txt", 0,
            QByteArrayLiteral("a\0b\r\n\0a\0"), "", QByteArrayLiteral("a \0b\r\n\0 a\0"),
            QByteArrayLiteral("a \0b\r\n\0 a\0")},
        {"nothing to remove", "\"$0\" -q @/in.txt", 0, "x\r\ny\r\n", "", "x\r\ny", "x\r\ny"},
        {"no line break at all", "\"$0\" -q @/in.txt", 0, "x\n", "", "x", "x"},
        {"empty", "\"$0\" -q <@/in.txt", 0, "", "", "", ""},
        {"an output file", "\"$0\" -q -o @/out.txt @/in.txt && cat @/out.txt", 0, "b\na\nA\n\nc\n",
            "", sample, sample, {u"in.txt"_s, u"out.txt"_s}},
        {"a report beside the output, read before the input is replaced",
            "\"$0\" -q --report=@/r.tsv -o @/in.txt @/in.txt && cat @/r.tsv", 0,
            "count\tfirst line\tlines\ttext\n2\t1\t1,3\tb\n2\t2\t2,8\ta\n2\t5\t5,6\t\n", "", sample,
            "b\na\nA\n\nc\n", {u"in.txt"_s, u"r.tsv"_s}},
        {"a report by a field",
            "\"$0\" -q --fields=2 -t, --report=@/r.tsv -o /dev/null @/in.txt && cat @/r.tsv", 0,
            "count\tfirst line\tlines\ttext\tkey\n2\t1\t1,2\ta,1\t1\n", "", "a,1\nb,1\nc\n",
            "a,1\nb,1\nc\n", {u"in.txt"_s, u"r.tsv"_s}},
        {"a report that would replace the input", "\"$0\" -q --report=@/in.txt @/in.txt", 2, "",
            "twinscan: @/in\\.txt: is the input, which a report does not replace\n"},
        {"the input replaced", "\"$0\" -q --keep=none -o @/in.txt @/in.txt", 0, "", "", sample,
            "A\nc\n"},
        {"a report replacing the input", "\"$0\" -qc -o @/in.txt @/in.txt", 0, "", "", sample,
            "      2 b\n      2 a\n      1 A\n      2 \n      1 c\n"},
        {"a pipe into a file", "cat @/in.txt | \"$0\" -q -o@/in.txt", 0, "", "", sample,
            "b\na\nA\n\nc\n"},
        {"the reader closes the pipe",
            "{ \"$0\" --keep=first @/in.txt; echo $? >@/status; } | head -n 1; cat @/status; rm "
            "@/status",
            0, "0\n141\n", "", manyLines, manyLines},
        {"without regard to case", "\"$0\" -qi @/in.txt", 0, "\xC3\xA9\nb\n", "",
            "\xC3\xA9\n\xC3\x89\nb\nB\n", "\xC3\xA9\n\xC3\x89\nb\nB\n"},
        {"spaces trimmed when comparing", "\"$0\" -q --trim @/in.txt", 0, " a\n", "", " a\na \na\n",
            " a\na \na\n"},
        {"empty lines never duplicates", "\"$0\" -q --ignore-empty @/in.txt", 0, "\n\na\n", "",
            "\n\na\na\n", "\n\na\na\n"},
        {"output trimmed and empty lines dropped", "\"$0\" -q --trim-output --drop-empty @/in.txt",
            0, "a\nb\n", "", " a \n\nb\n", " a \n\nb\n"},
        {"a report trimmed and empty lines dropped",
            "\"$0\" -qc --trim-output --drop-empty @/in.txt", 0, "      2 a\n", "", " a \n a \n\n",
            " a \n a \n\n"},
        {"names that are not UTF-8",
            "cp @/in.txt \"$(printf '@/in\\351')\" && \"$0\" -q -o \"$(printf '@/out\\351')\" "
            "\"$(printf '@/in\\351')\" && cat \"$(printf '@/out\\351')\" && rm \"$(printf "
            "'@/in\\351')\" "
            "\"$(printf '@/out\\351')\"",
            0, "b\na\nA\n\nc\n"},
        {"the window's job with such a name",
            "\"$0\" /i @/in.txt /o \"$(printf '@/out\\351')\" /s 1 >/dev/null && "
            "cat \"$(printf '@/out\\351')\" && rm \"$(printf '@/out\\351')\"",
            0, "\n\nc\n"},
        {"such a name in a message", "\"$0\" -q \"$(printf '@/no\\351')\"", 2, "",
            "twinscan: @/no\xEF\xBF\xBD: No such file or directory\n"},
        {"a name with a space and a line break",
            "cp @/in.txt '@/a b\nc' && \"$0\" -qd '@/a b\nc' && rm '@/a b\nc'", 0, "b\na\n\n"},
        {"a check that finds duplicates", "\"$0\" --check @/in.txt", 1, "",
            "twinscan: @/in.txt: 8 lines read, 6 of them in 3 groups of equal lines\n"},
        {"a check that finds one group", "\"$0\" --check @/in.txt", 1, "",
            "twinscan: @/in.txt: 2 lines read, 2 of them in 1 group of equal lines\n", "a\na\n",
            "a\na\n"},
        {"a check of one line", "\"$0\" --check @/in.txt", 0, "",
            "twinscan: @/in.txt: 1 line read, 0 of them in 0 groups of equal lines\n", "a\n",
            "a\n"},
        {"compared by a field", "\"$0\" --fields=2 -t, -d @/in.txt", 0, "a,1\n",
            "twinscan: @/in.txt: 3 lines read, 2 of them in 1 group of equal lines; comparing "
            "field 2 \\(comma\\)\n",
            "a,1\nb,1\nc\n", "a,1\nb,1\nc\n"},
        {"a check that finds none", "\"$0\" --check -q @/in.txt", 0, "", "", "a\nb\n", "a\nb\n"},
        {"a missing input", "\"$0\" -q @/missing.txt", 2, "",
            "twinscan: @/missing.txt: No such file or directory\n"},
        {"a folder as input", "\"$0\" -q @/", 2, "", "twinscan: @/: Is a directory\n"},
        {"a binary input", "\"$0\" -q @/in.txt", 2, "",
            "twinscan: @/in.txt: looks like a binary or UTF-32 file; Twinscan reads 8-bit, "
            "UTF-8 and UTF-16 text\n",
            utf32, utf32},
        {"an output that cannot be written", "\"$0\" -q -o @/no/out.txt @/in.txt", 2, "",
            "twinscan: @/no/out\\.txt: No such file or directory\n"},
        {"a full disk", "\"$0\" -q @/in.txt >/dev/full", 2, "",
            "twinscan: /dev/stdout: No space left on device\n"},
        {"an unknown option", "\"$0\" --foo @/in.txt", 2, "",
            "twinscan: unrecognized option '--foo'\nTry 'twinscan --help' for more "
            "information\\.\n"},
        {"help", "\"$0\" -h | head -n 1", 0, "Usage: twinscan [OPTION]... [FILE|-]\n"},
        {"help on a full disk", "\"$0\" --help >/dev/full", 2, "",
            "twinscan: write error: No space left on device\n"},
    };
    for (const auto &c : cases) {
        Sandbox box;
        box.write(u"in.txt"_s, c.input);
        const RunResult result = box.runScript(QString::fromUtf8(c.script));
        EXPECT_EQ(result.exitCode, c.status) << c.name << "\n" << describe(result);
        EXPECT_EQ(result.out, c.out) << c.name << "\n" << describe(result);
        EXPECT_TRUE(matches(result.err, c.err, box)) << c.name << "\n" << describe(result);
        EXPECT_EQ(box.read(u"in.txt"_s), c.inAfter) << c.name;
        EXPECT_EQ(box.entries(), c.entries) << c.name;
    }
}

// The window's stored options would compare without case and leave empty lines out; the filter
// neither reads them nor writes the store, nor the desktop's recent files.
TEST(FilterTest, LeavesTheStoredSettingsAlone)
{
    Sandbox box;
    const QString store = QDir::cleanPath(box.path(u"../config/Corvane/Twinscan.ini"_s));
    QDir().mkpath(QDir::cleanPath(box.path(u"../config/Corvane"_s)));
    const QByteArray stored = "[Twinscan]\ncaseSensitive=0\nincludeEmptyLines=0\n";
    box.write(u"../config/Corvane/Twinscan.ini"_s, stored);
    box.write(u"in.txt"_s, "a\nA\n\n\n");
    const RunResult result = box.run(u"-q @/in.txt"_s);
    EXPECT_EQ(result.out, "a\nA\n\n") << describe(result);
    EXPECT_EQ(box.read(u"../config/Corvane/Twinscan.ini"_s), stored);
    EXPECT_EQ(QDir(QDir::cleanPath(box.path(u"../config/Corvane"_s))).entryList(QDir::Files),
        QStringList {u"Twinscan.ini"_s});
    EXPECT_TRUE(QFile::exists(store));
    EXPECT_TRUE(QDir(QDir::cleanPath(box.path(u"../data"_s))).isEmpty());
}

// An output mode: its options, and what they select ('f'irst, 'l'ast, 'n'one kept, 'd', 'D', 'u')
// with which prefixes.
struct Mode
{
    const char *options;
    char selection;
    bool counts = false;
    bool numbers = false;
};

// A small reference of every output mode, by the definitions: lines compared exactly, groups in
// the order of their first occurrences.
QByteArray expectedOutput(const std::vector<std::string> &lines, const Mode &mode, char end)
{
    std::map<std::string, std::vector<int>> at;
    std::vector<std::string> order;
    for (int i = 0; i < int(lines.size()); ++i) {
        if (at[lines[i]].empty())
            order.push_back(lines[i]);
        at[lines[i]].push_back(i);
    }
    QByteArray out;
    const auto write = [&](int i) {
        if (mode.counts)
            out += QByteArray::number(qlonglong(at[lines[i]].size())).rightJustified(7, ' ') + ' ';
        if (mode.numbers)
            out += QByteArray::number(i + 1) + ':';
        out += QByteArray::fromStdString(lines[i]) + end;
    };
    if (mode.selection == 'D') {
        for (const std::string &text : order) {
            for (const int i : at[text])
                if (at[text].size() > 1)
                    write(i);
        }
        return out;
    }
    for (int i = 0; i < int(lines.size()); ++i) {
        const std::vector<int> &all = at[lines[i]];
        const bool written = mode.selection == 'f' ? all.front() == i
            : mode.selection == 'l'                ? all.back() == i
            : mode.selection == 'd'                ? all.front() == i && all.size() > 1
                                                   : all.size() == 1; // 'n' and 'u'
        if (written)
            write(i);
    }
    return out;
}

TEST(FilterTest, OutputModesMatchTheirDefinitions)
{
    const Mode modes[] = {{"--keep=first", 'f'}, {"--keep=last", 'l'}, {"--keep=none", 'n'},
        {"-c", 'f', true}, {"-d", 'd'}, {"-D", 'D'}, {"-u", 'u'}, {"-n", 'f', false, true},
        {"-cd", 'd', true}, {"-dn", 'd', false, true}, {"-Dn", 'D', false, true},
        {"-cu", 'u', true}, {"--keep=last -n", 'l', false, true}};
    std::mt19937 random(29);
    Sandbox box;
    // Ended by NUL, a line break is a byte of a line.
    for (const bool zero : {false, true}) {
        const char *const texts[]
            = {"a", "b", "A", "", " a", "a ", "\xE9", zero ? "b\r\nb" : "b b"};
        const char end = zero ? '\0' : '\n';
        for (int round = 0; round < 4; ++round) {
            std::vector<std::string> lines(random() % 60);
            QByteArray input;
            for (std::string &line : lines) {
                line = texts[random() % std::size(texts)];
                input += QByteArray::fromStdString(line) + end;
            }
            box.write(u"in.txt"_s, input);
            for (const Mode &mode : modes) {
                const RunResult result = box.run(u"-q %1 %2 @/in.txt"_s.arg(
                    zero ? u"-z"_s : QString(), QLatin1StringView(mode.options)));
                EXPECT_EQ(result.out, expectedOutput(lines, mode, end))
                    << mode.options << (zero ? " -z" : "") << " on\n"
                    << input.toStdString() << describe(result);
            }
        }
    }
}

} // namespace
} // namespace twinscan::e2e
