#include "EngineTestSupport.h"
#include "ScanReference.h"

#include <QString>
#include <random>

using namespace twinscan;
using namespace twinscan::test;

namespace {

// Pieces that meet every rule: letters in both cases, spaces around and inside, tabs, UTF-8
// letters with and without a capital, letters whose capital is two letters or plain ASCII, and
// 8-bit bytes that make a line Latin-1.
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
    std::vector<std::string> lines;
    std::string shown; // the lines, for a failure message
};

// Ends every line with a random break, never one that would join with the next line's break.
// Every third line takes 8-bit bytes, which mostly make it Latin-1 among UTF-8 lines.
RandomFile randomFile(
    std::mt19937 &random, int maxLines, const std::vector<std::string> &separators = {})
{
    const char *const breaks[] = {"\n", "\r\n", "\r"};
    RandomFile file;
    const int count = int(random() % unsigned(maxLines));
    bool lastWasCr = false;
    for (int i = 0; i <= count; ++i) {
        const std::vector<std::string> &pieces = random() % 3 == 0 ? latin1Pieces : utf8Pieces;
        std::string line;
        for (int n = int(random() % (separators.empty() ? 4 : 7)); n > 0; --n) {
            const bool separator = !separators.empty() && random() % 3 == 0;
            line += separator ? separators[random() % separators.size()]
                              : pieces[random() % pieces.size()];
        }
        int pick = int(random() % 3);
        if (lastWasCr && line.empty() && pick == 0)
            pick = 2;
        lastWasCr = pick == 2;
        file.bytes += line + (i < count ? breaks[pick] : "");
        if (i < count || !line.empty()) {
            file.lines.push_back(line);
            file.shown += " \"" + visible(line) + "\"";
        }
    }
    return file;
}

// The grouping must give exactly the quadratic search's list and counts, for every combination
// of switches. Short files try values other than 0 and 1 too; longer files outgrow the scan's
// pipeline, so lines are placed while many later lines are already keyed. The rounds take
// turns at one thread and at several, with pieces and blocks so small that their edges fall
// inside lines, inside CR LF and between the lines of a group.
TEST(ScanCrossCheck, MatchesTheQuadraticSearch)
{
    const struct
    {
        unsigned seed;
        int rounds;
        int maxLines;
        std::vector<qint16> values;
        int parallelEvery; // the rounds that take several threads
    } batches[] = {{7, 1000, 25, {0, 1, 2}, 20}, {11, 24, 400, {0, 1}, 2}};
    const Parallelism several[] = {{2, 3, 1}, {3, 5, 2}};
    int withDuplicates = 0;
    for (const auto &batch : batches) {
        std::mt19937 random(batch.seed);
        for (int round = 0; round < batch.rounds; ++round) {
            const RandomFile file = randomFile(random, batch.maxLines);
            const std::size_t n = batch.values.size();
            for (std::size_t combination = 0; combination < n * n * n; ++combination) {
                const ScanOptions switches {batch.values[combination % n],
                    batch.values[combination / n % n], batch.values[combination / n / n]};
                SCOPED_TRACE(testing::Message()
                    << "switches " << switches.caseSensitive << "/" << switches.trimLines << "/"
                    << switches.includeEmptyLines << ", lines:" << file.shown);
                const ReferenceScan reference = quadraticSearch(file.lines, switches);
                const ScanResult result = scanBytes(file.bytes, switches,
                    round % batch.parallelEvery ? Parallelism {1}
                                                : several[round / batch.parallelEvery % 2]);
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

namespace {

// Every kind of key on random files of the same pieces and of separators and quotes, under every
// combination of switches, at one thread and at several.
TEST(ScanCrossCheck, KeysMatchTheQuadraticSearch)
{
    const auto spec = [](KeySpec::Kind kind, std::vector<int> fields, std::string separator,
                          bool csv, const char *pattern, int skip, int check) {
        return KeySpec {kind, std::move(fields), std::move(separator), csv,
            QString::fromUtf8(pattern), skip, check};
    };
    using Kind = KeySpec::Kind;
    const KeySpec keys[] = {spec(Kind::Fields, {2}, ",", false, "", 0, 0),
        spec(Kind::Fields, {1, 3}, "", false, "", 0, 0),
        spec(Kind::Fields, {2, 1}, ",", true, "", 0, 0),
        spec(Kind::Fields, {1}, ";", true, "", 0, 0),
        spec(Kind::Regex, {}, "", false, "a(.)", 0, 0),
        spec(Kind::Regex, {}, "", false, "[^,]+$", 0, 0),
        spec(Kind::Characters, {}, "", false, "", 1, 0),
        spec(Kind::Characters, {}, "", false, "", 0, 2)};
    std::mt19937 random(5);
    int withDuplicates = 0;
    for (int round = 0; round < 150; ++round) {
        const RandomFile file = randomFile(random, 30, {",", ",", ";", "\"", "\"\""});
        for (const KeySpec &key : keys) {
            for (int combination = 0; combination < 8; ++combination) {
                const ScanOptions switches {qint16(combination & 1), qint16(combination >> 1 & 1),
                    qint16(combination >> 2 & 1)};
                SCOPED_TRACE(testing::Message()
                    << "key " << int(key.kind) << " " << key.pattern.toStdString() << "/"
                    << key.separator << "/" << key.csv << ", switches " << combination
                    << ", lines:" << file.shown);
                const ReferenceScan reference = quadraticSearch(file.lines, switches, key);
                const ScanResult result = scanBytes(
                    file.bytes, switches, round % 3 ? Parallelism {1} : Parallelism {3, 2, 1}, key);
                ASSERT_EQ(result.entries, reference.entries);
                ASSERT_EQ(result.outcome.groupCount, reference.groups);
                withDuplicates += reference.groups > 0;
            }
        }
    }
    EXPECT_GT(withDuplicates, 2000);
}

} // namespace
