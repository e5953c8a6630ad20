#include "engine/LineSearch.h"

#include "EngineTestSupport.h"

using namespace twinscan;

namespace {

using Direction = LineSearch::Direction;

// Lines: 0 "alpha", 1 "Beta gamma", 2 "\xC9t\xE9" (Latin-1 "Été"), 3 "\xC3\x89T\xC3\x89" (UTF-8
// "ÉTÉ"), 4 "kelvin \xE2\x84\xAA" (UTF-8 with the Kelvin sign), 5 "beta".
const std::string file
    = "alpha\nBeta gamma\n\xC9t\xE9\n\xC3\x89T\xC3\x89\nkelvin \xE2\x84\xAA\nbeta\n";

// The search starts after (or before) the given line, wraps around and looks at that line last;
// it matches the shown text of each line, whichever its encoding.
TEST(LineSearch, FindsTheNextLineThatShowsTheText)
{
    const struct
    {
        const char *needle; // UTF-8
        bool matchCase;
        int from;
        Direction direction;
        int found;
    } cases[] = {
        {"beta", false, 0, Direction::Forward, 1},
        {"beta", true, 0, Direction::Forward, 5},
        {"beta", false, 1, Direction::Forward, 5},
        {"beta", false, 5, Direction::Forward, 1}, // wraps
        {"beta", false, 1, Direction::Backward, 5}, // wraps backwards
        {"alpha", false, 0, Direction::Forward, 0}, // the start line comes last
        {"alpha", false, -1, Direction::Forward, 0}, // no current line
        {"beta", false, 6, Direction::Backward, 5},
        {"\xC3\xA9t\xC3\xA9", false, 0, Direction::Forward, 2}, // "été" in a Latin-1 line
        {"\xC3\xA9t\xC3\xA9", true, 0, Direction::Forward, -1},
        {"\xC3\x89T\xC3\x89", true, 2, Direction::Forward, 3},
        {"n K", false, 0, Direction::Forward, 4}, // the Kelvin sign folds to k
        {"n K", true, 0, Direction::Forward, -1},
        {"", false, 0, Direction::Forward, -1},
    };
    const auto text = LoadedText::fromBytes(file);
    for (const auto &c : cases) {
        LineSearch search(text, QString::fromUtf8(c.needle), c.matchCase, c.from, c.direction);
        EXPECT_TRUE(search.step(100));
        EXPECT_EQ(search.found(), c.found) << c.needle << " from " << c.from;
    }
}

// Each step looks at no more lines than it is given, and a search that finds nothing has looked
// at every line once.
TEST(LineSearch, GoesAsFarAsEachStepAllows)
{
    LineSearch search(
        LoadedText::fromBytes(file), QStringLiteral("zeta"), false, 2, Direction::Forward);
    EXPECT_FALSE(search.step(4));
    EXPECT_EQ(search.searched(), 4);
    EXPECT_TRUE(search.step(4));
    EXPECT_EQ(search.searched(), 6);
    EXPECT_EQ(search.found(), -1);
}

} // namespace
