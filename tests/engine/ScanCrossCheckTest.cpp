#include "EngineTestSupport.h"
#include "RandomText.h"
#include "ScanReference.h"

#include <QString>
#include <random>

using namespace twinscan;
using namespace twinscan::test;

namespace {

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
    const auto keySpec = [](KeySpec::Kind kind, std::vector<int> fields, std::string separator,
                             bool csv, const char *pattern, int skip, int check) {
        return KeySpec {kind, std::move(fields), std::move(separator), csv,
            QString::fromUtf8(pattern), skip, check};
    };
    using Kind = KeySpec::Kind;
    const KeySpec keys[] = {keySpec(Kind::Fields, {2}, ",", false, "", 0, 0),
        keySpec(Kind::Fields, {1, 3}, "", false, "", 0, 0),
        keySpec(Kind::Fields, {2, 1}, ",", true, "", 0, 0),
        keySpec(Kind::Fields, {1}, ";", true, "", 0, 0),
        keySpec(Kind::Regex, {}, "", false, "a(.)", 0, 0),
        keySpec(Kind::Regex, {}, "", false, "[^,]+$", 0, 0),
        keySpec(Kind::Characters, {}, "", false, "", 1, 0),
        keySpec(Kind::Characters, {}, "", false, "", 0, 2)};
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
