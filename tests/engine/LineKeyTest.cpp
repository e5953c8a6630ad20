#include "engine/LineKey.h"

#include "EngineTestFiles.h"

#include <gtest/gtest.h>
#include <string>

using namespace twinscan;
using twinscan::test::visible;

namespace {

struct TrimCase
{
    std::string input;
    std::string trimmed;
};

TEST(TrimSpaces, OnlyTheSpaceCharacter)
{
    const TrimCase cases[] = {
        {"", ""},
        {" ", ""},
        {"    ", ""},
        {"a", "a"},
        {"  a b  ", "a b"},
        {"\ta\t", "\ta\t"},
        {" \ta ", "\ta"},
        {"a\r", "a\r"},
        {"\xA0"
         "a\xA0",
            "\xA0"
            "a\xA0"},
        {std::string(" \0 ", 3), std::string("\0", 1)},
    };
    for (const TrimCase &c : cases)
        EXPECT_EQ(trimSpaces(c.input), c.trimmed) << '"' << visible(c.input) << '"';
}

char asciiUpper(char c)
{
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

// The word-at-a-time folding must touch exactly the letters a-z: every pair of byte values, at
// every position of a word and of the tail, compares and hashes as a plain ASCII fold says.
TEST(KeyFolding, EveryBytePairAtEveryPosition)
{
    for (const std::size_t length : {1u, 8u, 11u}) {
        for (std::size_t at = 0; at < length; ++at) {
            std::string a(length, 'k');
            std::string b(length, 'K');
            for (int x = 0; x < 256; ++x) {
                for (int y = 0; y < 256; ++y) {
                    a[at] = char(x);
                    b[at] = char(y);
                    const bool equal = asciiUpper(char(x)) == asciiUpper(char(y));
                    ASSERT_EQ(sameKey(a, b, true), equal)
                        << visible(a) << " vs " << visible(b) << " at " << at;
                    if (equal) {
                        ASSERT_EQ(hashKey(a, true), hashKey(b, true)) << visible(a);
                    }
                }
            }
        }
    }
}

TEST(KeyFolding, CaseSensitiveKeysCompareBytes)
{
    EXPECT_FALSE(sameKey("abc", "ABC", false));
    EXPECT_TRUE(sameKey("abc", "abc", false));
    EXPECT_NE(hashKey("abc", false), hashKey("ABC", false));
    EXPECT_FALSE(sameKey("abc", "abcd", true));
    EXPECT_FALSE(sameKey("", "a", true));
    EXPECT_TRUE(sameKey("", "", true));
}

// Keys that differ only in length or in a zero byte must not collide in the table by design.
TEST(KeyFolding, ZeroPaddingDoesNotMakeKeysEqual)
{
    const std::string a("a", 1);
    const std::string b("a\0", 2);
    EXPECT_FALSE(sameKey(a, b, true));
    EXPECT_NE(hashKey(a, true), hashKey(b, true));
    EXPECT_NE(hashKey("", true), hashKey(std::string(8, '\0'), true));
}

struct UpperCase
{
    const char *input;
    TextEncoding encoding;
    const char *upper;
};

TEST(UpperCaseNonAscii, ByTheFilesCharacterSet)
{
    const UpperCase cases[] = {
        {"caf\xC3\xA9", TextEncoding::Utf8, "CAF\xC3\x89"},
        {"\xC3\xA9t\xC3\xA9", TextEncoding::Utf8, "\xC3\x89T\xC3\x89"},
        {"\xCE\xB1\xCE\xB2", TextEncoding::Utf8, "\xCE\x91\xCE\x92"}, // Greek alpha beta
        {"\xD0\xB4\xD0\xB0", TextEncoding::Utf8, "\xD0\x94\xD0\x90"}, // Cyrillic de a
        {"stra\xC3\x9F"
         "e",
            TextEncoding::Utf8, "STRASSE"},
        {"\xEF\xAC\x81n", TextEncoding::Utf8, "FIN"}, // fi ligature
        {"\xE1\xBE\xB3", TextEncoding::Utf8, "\xCE\x91\xCE\x99"}, // alpha with ypogegrammeni
        {"\xC5\xBF"
         "x",
            TextEncoding::Utf8, "SX"}, // long s
        {"\xC7\x85", TextEncoding::Utf8, "\xC7\x84"}, // titlecase DZ with caron
        {"\xCF\x82\xCF\x83", TextEncoding::Utf8, "\xCE\xA3\xCE\xA3"}, // sigmas
        {"\xF0\x90\x90\xA8", TextEncoding::Utf8, "\xF0\x90\x90\x80"}, // Deseret, past the BMP
        {"\xE6\x97\xA5x", TextEncoding::Utf8, "\xE6\x97\xA5X"}, // no case
        {"caf\xE9", TextEncoding::Latin1, "CAF\xC9"},
        {"\xE0\xFE\xF7", TextEncoding::Latin1, "\xC0\xDE\xF7"}, // the division sign stays
        {"\xDF\xFF\xB5", TextEncoding::Latin1, "\xDF\xFF\xB5"}, // no Latin-1 capital for these
    };
    for (const UpperCase &c : cases)
        EXPECT_EQ(upperCaseNonAscii(c.input, c.encoding), c.upper) << visible(c.input);
}

} // namespace
