#include "app/GnuCommandLine.h"

#include <gtest/gtest.h>

namespace twinscan {
namespace {

// What differs from the defaults, as words in a fixed order, or the error or the action.
std::string described(const GnuCommandLine &line)
{
    if (line.action == GnuCommandLine::Error)
        return "error: " + line.error.toStdString();
    if (line.action != GnuCommandLine::Run)
        return line.action == GnuCommandLine::Help ? "help" : "version";
    const JobDescription &job = line.job;
    const JobDescription defaults;
    const char *const selections[] = {"", "keep=last", "keep=none", "d", "D", "u"};
    const std::pair<bool, const char *> flags[] = {
        {!job.scanRules.caseSensitive, "i"},
        {job.scanRules.trimLines, "trim"},
        {!job.scanRules.includeEmptyLines, "ignore-empty"},
        {job.saveRules.trimLines, "trim-output"},
        {!job.saveRules.keepEmptyLines, "drop-empty"},
        {job.counts, "c"},
        {job.lineNumbers, "n"},
        {job.check, "check"},
        {job.quiet, "q"},
        {job.progress, "progress"},
        {job.saveRules.lineEnds == LineEnds::Nul, "z"},
        {job.saveRules.lfWithoutBreaks != defaults.saveRules.lfWithoutBreaks, "crlf"},
    };
    std::string text
        = "in=[" + job.inputFile.toStdString() + "] out=[" + job.outputFile.toStdString() + "]";
    if (job.selection != LineSelection::KeepFirst)
        text += std::string(" ") + selections[int(job.selection)];
    for (const auto &[set, name] : flags)
        text += set ? std::string(" ") + name : "";
    if (job.memoryBudget != 0)
        text += " S=" + std::to_string(job.memoryBudget);
    const KeySpec &key = job.key;
    if (key.kind == KeySpec::Kind::Fields)
        text += " fields=" + fieldListText(key.fields).toStdString() + " sep=[" + key.separator
            + "]" + (key.csv ? " csv" : "");
    if (key.kind == KeySpec::Kind::Regex)
        text += " regex=[" + key.pattern.toStdString() + "]";
    if (key.kind == KeySpec::Kind::Characters)
        text += " chars=" + std::to_string(key.skipChars) + "+" + std::to_string(key.checkChars);
    return text;
}

TEST(GnuCommandLineTest, ReadsOptionsAsGetoptLongDoes)
{
    // Arguments separated by bars.
    const std::pair<const char *, const char *> cases[] = {
        {"-", "in=[] out=[]"},
        {"--keep=last|a.txt", "in=[a.txt] out=[] keep=last"},
        {"--keep|none", "in=[] out=[] keep=none"},
        {"--keep=first|-d", "error: '--repeated' cannot be given with '--keep'"},
        {"-d|--repeated", "in=[] out=[] d"},
        {"-D", "in=[] out=[] D"},
        {"-u|-d", "error: '--repeated' cannot be given with '--unique'"},
        {"-cD", "error: '--count' cannot be given with '--all-repeated'"},
        {"-cdn", "in=[] out=[] d c n"},
        {"-cu", "in=[] out=[] u c"},
        {"-zd|--zero-terminated", "in=[] out=[] d z"},
        {"--zero", "in=[] out=[] z"},
        {"-iq|--trim|--ignore-empty|--trim-output|--drop-empty|--check|--progress",
            "in=[] out=[] i trim ignore-empty trim-output drop-empty check q progress"},
        {"-oout.txt|in.txt", "in=[in.txt] out=[out.txt]"},
        {"in.txt|-o|out.txt", "in=[in.txt] out=[out.txt]"},
        {"--output=out.txt|--count", "in=[] out=[out.txt] c"},
        {"--out|o.txt|--cou", "in=[] out=[o.txt] c"}, // a unique prefix names the option
        {"--|-c", "in=[-c] out=[]"},
        {"-c|--|-", "in=[] out=[] c"},
        {"a|b", "error: extra operand 'b'"},
        {"-h|--foo", "help"},
        {"--version", "version"},
        {"-V|-c", "version"},
        {"--foo", "error: unrecognized option '--foo'"},
        {"--foo=1", "error: unrecognized option '--foo=1'"},
        {"-x", "error: invalid option -- 'x'"},
        {"-cx", "error: invalid option -- 'x'"},
        {"-o", "error: option requires an argument -- 'o'"},
        {"--output", "error: option '--output' requires an argument"},
        {"--keep", "error: option '--keep' requires an argument"},
        {"--keep=all",
            "error: invalid argument 'all' for '--keep'\n"
            "Valid arguments are: 'first', 'last', 'none'"},
        {"--count=2", "error: option '--count' doesn't allow an argument"},
        {"--trim=2", "error: option '--trim' doesn't allow an argument"},
        {"--t", "error: option '--t' is ambiguous; possibilities: '--trim' '--trim-output'"},
        {"-S3M", "in=[] out=[] S=3145728"},
        {"--buffer-size=3x", "error: invalid argument '3x' for '--buffer-size'"},
        // What is compared.
        {"--fields=2", "in=[] out=[] fields=2 sep=[]"},
        {"--fields|1,3-4|-t|;|--csv", "in=[] out=[] fields=1,3,4 sep=[;] csv"},
        {"--csv|--fields=2|-t\\t", "in=[] out=[] fields=2 sep=[\t] csv"},
        {"-t|ab|--fields=1", "in=[] out=[] fields=1 sep=[ab]"},
        {"--fields=0", "error: invalid field list '0' for '--fields'"},
        {"--fields=2,x", "error: invalid field list '2,x' for '--fields'"},
        {"-t,", "error: '--field-separator' needs '--fields'"},
        {"--csv|-s1", "error: '--csv' needs '--fields'"},
        {"-t|", "error: the field separator cannot be empty"},
        {"--regex=id=(\\d+)", "in=[] out=[] regex=[id=(\\d+)]"},
        {"--regex=(",
            "error: The regular expression is not valid: missing closing parenthesis "
            "(at character 2)."},
        {"--regex=", "error: Give a regular expression."},
        {"-s2|-w|3", "in=[] out=[] chars=2+3"},
        {"--check-chars=1|--skip-chars=0", "in=[] out=[] chars=0+1"},
        {"-w0", "error: invalid number of characters for '--check-chars': '0'"},
        {"-s-1", "error: invalid number of characters for '--skip-chars': '-1'"},
        {"-sx", "error: invalid number of characters for '--skip-chars': 'x'"},
        {"--fields=1|-s2", "error: '--skip-chars' cannot be given with '--fields'"},
        {"-w2|--regex=a", "error: '--regex' cannot be given with '--check-chars'"},
    };
    for (const auto &[arguments, expected] : cases)
        EXPECT_EQ(described(parseGnuArguments(QString::fromUtf8(arguments).split(u'|'))), expected)
            << arguments;
}

// A word beginning with "-" makes the arguments options, unless a job of the window's switches
// is named; a file alone opens the window.
TEST(GnuCommandLineTest, TellsOptionsFromTheWindowsSwitches)
{
    const std::pair<const char *, bool> cases[] = {
        {"", false},
        {"a.txt", false},
        {"-", true},
        {"a.txt|-c", true},
        {"--help", true},
        {"/i|-c.txt|/o|b|/s|2", false},
        {"/c|on|-q", true},
        {"/o|out", false},
    };
    for (const auto &[arguments, expected] : cases) {
        const QStringList words
            = *arguments ? QString::fromUtf8(arguments).split(u'|') : QStringList();
        EXPECT_EQ(isGnuCommandLine(words), expected) << arguments;
    }
}

} // namespace
} // namespace twinscan
