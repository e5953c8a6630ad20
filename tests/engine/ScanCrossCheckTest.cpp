#include "EngineTestSupport.h"

#include <QString>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace twinscan;
using namespace twinscan::test;

namespace {

struct Reference
{
    std::vector<QString> entries;
    int groups = 0;
};

QString trimmed(QString text)
{
    while (text.startsWith(QLatin1Char(' ')))
        text.remove(0, 1);
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text;
}

QString normalised(QString text, ScanOptions switches, bool latin1)
{
    const bool fold = switches.caseSensitive == 0;
    if (fold && !latin1)
        text = text.toUpper();
    for (QChar &c : text) {
        // Latin-1 folds one character for one: a letter without a capital in the set stays.
        if (fold && latin1 && c.toUpper().unicode() <= 0xFF)
            c = c.toUpper();
    }
    return switches.trimLines == 1 ? trimmed(text) : text;
}

// The quadratic search, done literally on decoded characters: take the first remaining line,
// compare its key with every later remaining line's, list the group, remove it, repeat.
Reference quadraticSearch(const std::vector<QString> &lines, ScanOptions switches, bool latin1)
{
    Reference out;
    std::vector<QString> keys; // a key is a pure function of its line, so it is made once
    std::vector<int> working; // the numbers of the lines not processed yet
    for (const QString &line : lines) {
        keys.push_back(normalised(line, switches, latin1));
        working.push_back(int(working.size()));
    }
    while (!working.empty()) {
        const int first = working[0];
        const QString &text = lines[std::size_t(first)];
        std::vector<std::size_t> group {0};
        for (std::size_t i = 1; i < working.size(); ++i) {
            if (keys[std::size_t(working[i])] != keys[std::size_t(first)]
                || (trimmed(text).isEmpty() && switches.includeEmptyLines != 1))
                continue;
            if (group.size() == 1)
                out.entries.push_back(formatEntry(first + 1, text));
            out.entries.push_back(formatEntry(working[i] + 1, text));
            group.push_back(i);
        }
        out.groups += group.size() > 1;
        for (auto k = group.rbegin(); k != group.rend(); ++k)
            working.erase(working.begin() + std::ptrdiff_t(*k));
    }
    return out;
}

// Pieces that meet every rule: letters in both cases, spaces around and inside, tabs, UTF-8
// letters with and without a capital, letters whose capital is two letters or plain ASCII, and
// 8-bit bytes that make a file Latin-1.
const std::vector<std::string> utf8Pieces = {"a", "A", "b", "B", " ", " ", "  ", "\t", "\xC3\xA9",
    "\xC3\x89", "\xC3\x9F", "SS", "s", "\xC4\xB1", "i", "I", "]", "0",
    "\xEF\xAC\x81", // fi ligature: "FI"
    "F", "\xE1\xBE\xB3", // alpha with ypogegrammeni: two capitals
    "\xCE\x91\xCE\x99", "\xC5\xBF", // long s: "S"
    "\xC7\x85", "\xC7\x84", // titlecase and capital DZ with caron
    "\xE2\x84\xAA", "k", // Kelvin sign
    "\xCF\x82", "\xCF\x83", "\xCE\xA3", // final sigma, sigma, capital sigma
    "\xF0\x90\x90\xA8", "\xF0\x90\x90\x80", "\xE6\x97\xA5"}; // Deseret past the BMP; no case
const std::vector<std::string> latin1Pieces = {
    "a", "A", " ", "  ", "\t", "\xA0", "\xE9", "\xC9", "\xDF", "\xFF", "\xB5", "\xF7", "\xD7", "s"};

struct RandomFile
{
    std::string bytes;
    std::vector<QString> lines;
    std::string shown; // the lines, for a failure message
};

// Ends every line with a random break, never one that would join with the next line's break.
RandomFile randomFile(std::mt19937 &random, bool latin1, int maxLines)
{
    const std::vector<std::string> &pieces = latin1 ? latin1Pieces : utf8Pieces;
    const char *const breaks[] = {"\n", "\r\n", "\r"};
    RandomFile file;
    const int count = int(random() % unsigned(maxLines));
    bool lastWasCr = false;
    for (int i = 0; i <= count; ++i) {
        std::string line;
        for (int n = int(random() % 4); n > 0; --n)
            line += pieces[random() % pieces.size()];
        // A lone 8-bit byte on a last line keeps a Latin-1 file from being valid UTF-8 by chance.
        if (i == count)
            line = latin1 && count > 0 ? "\xE9" : "";
        int pick = int(random() % 3);
        if (lastWasCr && line.empty() && pick == 0)
            pick = 2;
        lastWasCr = pick == 2;
        file.bytes += line + (i < count ? breaks[pick] : "");
        if (i < count || !line.empty()) {
            const auto size = qsizetype(line.size());
            file.lines.push_back(latin1 ? QString::fromLatin1(line.data(), size)
                                        : QString::fromUtf8(line.data(), size));
            file.shown += " \"" + visible(line) + "\"";
        }
    }
    return file;
}

// The grouping must give exactly the quadratic search's list and counts, for every combination
// of switches. Short files try values other than 0 and 1 too; longer files outgrow the scan's
// pipeline, so lines are placed while many later lines are already keyed.
TEST(ScanCrossCheck, MatchesTheQuadraticSearch)
{
    const struct
    {
        unsigned seed;
        int rounds;
        int maxLines;
        std::vector<int> values;
    } batches[] = {{7, 1000, 25, {0, 1, 2}}, {11, 24, 400, {0, 1}}};
    int withDuplicates = 0;
    for (const auto &batch : batches) {
        std::mt19937 random(batch.seed);
        for (int round = 0; round < batch.rounds; ++round) {
            const bool latin1 = round % 3 == 2;
            const RandomFile file = randomFile(random, latin1, batch.maxLines);
            const std::size_t n = batch.values.size();
            for (std::size_t combination = 0; combination < n * n * n; ++combination) {
                const ScanOptions switches = options(batch.values[combination % n],
                    batch.values[combination / n % n], batch.values[combination / n / n]);
                SCOPED_TRACE(testing::Message()
                    << "switches " << switches.caseSensitive << "/" << switches.trimLines << "/"
                    << switches.includeEmptyLines << ", lines:" << file.shown);
                const Reference reference = quadraticSearch(file.lines, switches, latin1);
                const ScanResult result = scanBytes(file.bytes, switches);
                ASSERT_EQ(result.entries, reference.entries);
                ASSERT_EQ(result.outcome.groupCount, reference.groups);
                ASSERT_EQ(result.outcome.entryCount, int(reference.entries.size()));
                withDuplicates += reference.groups > 0;
            }
        }
    }
    // The alphabet is small enough that most files hold duplicates.
    EXPECT_GT(withDuplicates, 10000);
}

} // namespace
