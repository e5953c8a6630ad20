#include "EngineTestFiles.h"
#include "ScanTestSupport.h"

#include <QString>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

using namespace twinscan;
using namespace twinscan::test;

namespace {

// The quadratic search, done literally: take the first remaining line, compare its normalised
// text with every later remaining line, list the group, remove it, repeat. Normalisation is
// redone for every comparison and works on decoded characters, not on bytes.
class QuadraticReference
{
public:
    QuadraticReference(std::vector<QString> lines, ScanOptions switches)
        : working_(std::move(lines)), switches_(switches)
    {
        for (int i = 0; i < int(working_.size()); ++i)
            lineNumbers_.push_back(i);
    }

    std::vector<QString> entries;
    int groups = 0;

    void run(bool latin1, bool cacheKeys = false)
    {
        latin1_ = latin1;
        if (cacheKeys)
            cachedKeys_.resize(working_.size());
        while (!working_.empty())
            processFirst();
    }

private:
    QString upper(const QString &text) const
    {
        if (!latin1_)
            return text.toUpper();
        // One character for one: a letter without a capital in the character set stays.
        QString out = text;
        for (QChar &c : out) {
            const QChar up = c.toUpper();
            if (up.unicode() <= 0xFF)
                c = up;
        }
        return out;
    }

    static QString trimmed(QString text)
    {
        while (text.startsWith(QLatin1Char(' ')))
            text.remove(0, 1);
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        return text;
    }

    QString normalised(const QString &text) const
    {
        QString key = switches_.caseSensitive == 0 ? upper(text) : text;
        return switches_.trimLines == 1 ? trimmed(key) : key;
    }

    // Normalising is a pure function of the text, so long files remember each line's key.
    QString keyOf(int index)
    {
        const int line = lineNumbers_[std::size_t(index)];
        if (cachedKeys_.empty())
            return normalised(working_[std::size_t(index)]);
        QString &key = cachedKeys_[std::size_t(line)];
        if (key.isNull())
            key = normalised(working_[std::size_t(index)]);
        return key;
    }

    void processFirst()
    {
        const QString candidate = working_[0];
        std::vector<int> group {0};
        if (!trimmed(candidate).isEmpty() || switches_.includeEmptyLines == 1) {
            const QString key = normalised(candidate);
            for (int i = 1; i < int(working_.size()); ++i) {
                if (keyOf(i) != key)
                    continue;
                if (group.size() == 1)
                    entries.push_back(formatEntry(lineNumbers_[0] + 1, candidate));
                entries.push_back(formatEntry(lineNumbers_[std::size_t(i)] + 1, candidate));
                group.push_back(i);
            }
        }
        if (group.size() > 1)
            ++groups;
        for (auto k = group.rbegin(); k != group.rend(); ++k) {
            working_.erase(working_.begin() + *k);
            lineNumbers_.erase(lineNumbers_.begin() + *k);
        }
    }

    std::vector<QString> working_;
    std::vector<int> lineNumbers_;
    std::vector<QString> cachedKeys_;
    ScanOptions switches_;
    bool latin1_ = false;
};

// Pieces that meet every rule: letters in both cases, spaces around and inside, tabs, UTF-8
// letters with and without a capital, letters whose capital is two letters or plain ASCII, and
// 8-bit bytes that make a file Latin-1.
const char *const utf8Pieces[] = {"a", "A", "b", "B", " ", " ", "  ", "\t", "\xC3\xA9", "\xC3\x89",
    "\xC3\x9F", "SS", "s", "\xC4\xB1", "i", "I", "]", "0",
    "\xEF\xAC\x81", // fi ligature: "FI"
    "F", "\xE1\xBE\xB3", // alpha with ypogegrammeni: two capitals
    "\xCE\x91\xCE\x99", "\xC5\xBF", // long s: "S"
    "\xC7\x85", "\xC7\x84", // titlecase and capital DZ with caron
    "\xE2\x84\xAA", "k", // Kelvin sign
    "\xCF\x82", "\xCF\x83", "\xCE\xA3"}; // final sigma, sigma, capital sigma
const char *const latin1Pieces[]
    = {"a", "A", " ", "  ", "\t", "\xE9", "\xC9", "\xDF", "\xFF", "\xB5", "\xF7", "\xD7", "s"};

template<std::size_t N> std::string randomLine(std::mt19937 &random, const char *const (&pieces)[N])
{
    std::string line;
    const int count = int(random() % 4);
    for (int i = 0; i < count; ++i)
        line += pieces[random() % N];
    return line;
}

struct RandomFile
{
    std::string bytes;
    std::vector<std::string> lines;
};

// Ends every line with a random break, never one that would join with the next line's break.
RandomFile randomFile(std::mt19937 &random, bool latin1, int maxLines = 25)
{
    RandomFile file;
    const int count = int(random() % unsigned(maxLines));
    bool lastWasCr = false;
    for (int i = 0; i < count; ++i) {
        const std::string line
            = latin1 ? randomLine(random, latin1Pieces) : randomLine(random, utf8Pieces);
        file.lines.push_back(line);
        file.bytes += line;
        const char *breaks[] = {"\n", "\r\n", "\r"};
        int pick = int(random() % 3);
        if (lastWasCr && line.empty() && pick == 0)
            pick = 2;
        file.bytes += breaks[pick];
        lastWasCr = pick == 2;
    }
    if (latin1 && !file.lines.empty()) {
        // A lone 8-bit byte on an extra line keeps the file from being valid UTF-8 by chance.
        file.lines.push_back("\xE9");
        file.bytes += "\xE9";
    }
    return file;
}

std::vector<QString> decoded(const std::vector<std::string> &lines, bool latin1)
{
    std::vector<QString> out;
    for (const std::string &line : lines) {
        const auto size = qsizetype(line.size());
        out.push_back(
            latin1 ? QString::fromLatin1(line.data(), size) : QString::fromUtf8(line.data(), size));
    }
    return out;
}

std::string describe(const RandomFile &file, const ScanOptions &switches)
{
    std::string text = "switches " + std::to_string(switches.caseSensitive) + "/"
        + std::to_string(switches.trimLines) + "/" + std::to_string(switches.includeEmptyLines)
        + ", lines:";
    for (const std::string &line : file.lines)
        text += " \"" + visible(line) + "\"";
    return text;
}

// The grouping must give exactly the quadratic search's list and counts, for every combination
// of switches, including values other than 0 and 1.
TEST(ScanCrossCheck, MatchesTheQuadraticSearch)
{
    std::mt19937 random(7);
    int compared = 0;
    for (int round = 0; round < 1000; ++round) {
        const bool latin1 = round % 3 == 2;
        const RandomFile file = randomFile(random, latin1);
        for (const int caseSensitive : {0, 1, 2}) {
            for (const int trim : {0, 1, 2}) {
                for (const int include : {0, 1, 2}) {
                    const ScanOptions switches = options(caseSensitive, trim, include);
                    QuadraticReference reference(decoded(file.lines, latin1), switches);
                    reference.run(latin1);
                    const ScanResult result = scanBytes(file.bytes, switches);
                    ASSERT_EQ(result.entries, reference.entries) << describe(file, switches);
                    ASSERT_EQ(result.outcome.groupCount, reference.groups)
                        << describe(file, switches);
                    ASSERT_EQ(result.outcome.entryCount, int(reference.entries.size()));
                    compared += reference.groups > 0;
                }
            }
        }
    }
    // The alphabet is small enough that most files hold duplicates.
    EXPECT_GT(compared, 10000);
}

// Files longer than the scan's pipeline, so that lines are placed while many later lines are
// already keyed, with groups whose lines lie far apart.
TEST(ScanCrossCheck, MatchesTheQuadraticSearchOnLongerFiles)
{
    std::mt19937 random(11);
    for (int round = 0; round < 24; ++round) {
        const bool latin1 = round % 3 == 2;
        const RandomFile file = randomFile(random, latin1, 400);
        for (const int caseSensitive : {0, 1}) {
            for (const int trim : {0, 1}) {
                for (const int include : {0, 1}) {
                    const ScanOptions switches = options(caseSensitive, trim, include);
                    QuadraticReference reference(decoded(file.lines, latin1), switches);
                    reference.run(latin1, true);
                    const ScanResult result = scanBytes(file.bytes, switches);
                    ASSERT_EQ(result.entries, reference.entries) << describe(file, switches);
                    ASSERT_EQ(result.outcome.groupCount, reference.groups);
                }
            }
        }
    }
}

} // namespace
