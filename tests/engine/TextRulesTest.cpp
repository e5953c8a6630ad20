#include "EngineTestSupport.h"
#include "engine/LineKey.h"

#include <cstring>
#include <set>

using namespace twinscan;
using twinscan::test::visible;

namespace {

// The word-at-a-time folding must touch exactly the letters a-z: every pair of byte values, in
// the first word, at a word's last byte and in the tail, between letters and between 8-bit bytes
// whose carries must not reach their neighbours, compares and hashes as a plain ASCII fold says.
TEST(TextRules, FoldingTouchesOnlyAsciiLetters)
{
    const auto upper = [](int c) { return c >= 'a' && c <= 'z' ? c - 32 : c; };
    const std::pair<std::size_t, std::size_t> places[] = {{1, 0}, {11, 7}, {11, 10}};
    const HashSeed seed = randomHashSeed();
    for (const auto &[length, at] : places) {
        for (const int filler : {int('k'), 0xFF}) {
            std::string a(length, char(filler));
            std::string b(length, char(upper(filler)));
            for (int x = 0; x < 256; ++x) {
                for (int y = 0; y < 256; ++y) {
                    a[at] = char(x);
                    b[at] = char(y);
                    const bool equal = upper(x) == upper(y);
                    ASSERT_EQ(sameKey(a, b, true), equal) << visible(a) << " vs " << visible(b);
                    if (equal) {
                        ASSERT_EQ(hashKey(a, true, seed), hashKey(b, true, seed)) << visible(a);
                    }
                }
            }
        }
    }
    // A line with other letters is upper-cased another way, which must fold the same bytes.
    std::string upperCased;
    for (int x = 0; x < 128; ++x) {
        upperCaseInto("\xC3\xA9" + std::string(1, char(x)), upperCased);
        ASSERT_EQ(upperCased, "\xC3\x89" + std::string(1, char(upper(x)))) << x;
    }
    // Keys that differ only in length or in a zero byte must not meet.
    EXPECT_FALSE(sameKey("a", std::string("a\0", 2), true));
    EXPECT_FALSE(sameKey(std::string("a\0", 2), "a", true));
}

// Lines crafted to share one hash under a seed someone knows spread out under the scan's own
// seed, drawn afresh for every scan: a file of them cannot make the grouping quadratic.
TEST(TextRules, CraftedCollisionsNeedTheSeed)
{
    HashSeed known;
    std::memcpy(&known.mask, "COLLIDE!", 8); // cancels every line's first eight bytes
    const HashSeed fresh = randomHashSeed();
    ASSERT_NE(fresh.mask, randomHashSeed().mask);
    std::set<std::uint64_t> underKnown;
    std::set<std::uint64_t> underFresh;
    for (int i = 0; i < 1000; ++i) {
        const std::string line = "collide!" + std::to_string(10000000 + i);
        underKnown.insert(hashKey(line, true, known));
        underFresh.insert(hashKey(line, true, fresh));
    }
    ASSERT_EQ(underKnown.size(), 1U);
    EXPECT_EQ(underFresh.size(), 1000U);
}

} // namespace
