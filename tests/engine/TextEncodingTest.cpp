#include "engine/TextEncoding.h"

#include "EngineTestFiles.h"
#include "engine/LoadedText.h"

#include <gtest/gtest.h>
#include <ostream>
#include <string>

using namespace twinscan;
using twinscan::test::visible;

namespace {

struct Utf8Case
{
    const char *name;
    std::string bytes;
    bool valid;
};

const Utf8Case utf8Cases[] = {
    {"ASCII", "plain text", true},
    {"two-byte", "\xC3\xA9", true},
    {"three-byte", "\xE2\x82\xAC", true},
    {"four-byte", "\xF0\x9F\x98\x80", true},
    {"last before surrogates", "\xED\x9F\xBF", true},
    {"first after surrogates", "\xEE\x80\x80", true},
    {"highest code point", "\xF4\x8F\xBF\xBF", true},
    {"overlong two-byte C0", "\xC0\xAF", false},
    {"overlong two-byte C1", "\xC1\xBF", false},
    {"overlong three-byte", "\xE0\x80\xAF", false},
    {"overlong four-byte", "\xF0\x80\x80\xAF", false},
    {"high surrogate", "\xED\xA0\x80", false},
    {"low surrogate", "\xED\xBF\xBF", false},
    {"beyond U+10FFFF", "\xF4\x90\x80\x80", false},
    {"F5 lead", "\xF5\x80\x80\x80", false},
    {"FF byte", "\xFF", false},
    {"lone continuation", "\x80", false},
    {"truncated at the end", "\xE2\x82", false},
    {"truncated before ASCII", "\xE2\x82x", false},
    {"four-byte cut to three", "\xF0\x9F\x98", false},
    {"missing continuation", "\xC3x", false},
    {"Latin-1 e acute", "caf\xE9", false},
};

// Failed cases print their names rather than their bytes.
void PrintTo(const Utf8Case &c, std::ostream *os)
{
    *os << c.name;
}

class Utf8Validity : public ::testing::TestWithParam<Utf8Case>
{
};

// The eight-byte ASCII skip must not step over a bad sequence at any offset.
TEST_P(Utf8Validity, AtEveryOffset)
{
    const Utf8Case &c = GetParam();
    for (std::size_t prefix = 0; prefix <= 17; ++prefix) {
        for (const std::size_t suffix : {0, 1, 9}) {
            const std::string bytes = std::string(prefix, 'p') + c.bytes + std::string(suffix, 's');
            EXPECT_EQ(isValidUtf8(bytes.data(), bytes.size()), c.valid)
                << visible(bytes) << " (prefix " << prefix << ", suffix " << suffix << ")";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, Utf8Validity, ::testing::ValuesIn(utf8Cases), test::ByName());

TEST(TextEncodingOfFile, ValidUtf8DecodesAsUtf8)
{
    const auto text = LoadedText::fromBytes("caf\xC3\xA9\n\xE2\x82\xAC");
    EXPECT_EQ(text->encoding(), TextEncoding::Utf8);
    EXPECT_EQ(text->lineText(0), QStringLiteral("caf\u00E9"));
    EXPECT_EQ(text->lineText(1), QStringLiteral("\u20AC"));
}

// One bad byte anywhere makes the whole file Latin-1, so every byte still shows as a character.
TEST(TextEncodingOfFile, OneInvalidLineTurnsTheWholeFileToLatin1)
{
    const auto text = LoadedText::fromBytes("caf\xC3\xA9\ncaf\xE9");
    EXPECT_EQ(text->encoding(), TextEncoding::Latin1);
    EXPECT_EQ(text->lineText(0), QStringLiteral("caf\u00C3\u00A9"));
    EXPECT_EQ(text->lineText(1), QStringLiteral("caf\u00E9"));
}

TEST(TextEncodingOfFile, BomIsNotShownAndNulIsKept)
{
    const auto text = LoadedText::fromBytes(std::string("\xEF\xBB\xBF"
                                                        "a\0b",
        6));
    EXPECT_EQ(text->encoding(), TextEncoding::Utf8);
    EXPECT_EQ(text->lineText(0), QString::fromUtf8("a\0b", 3));
}

TEST(TextEncodingOfFile, Latin1DecodeKeepsEveryByte)
{
    std::string all;
    for (int b = 1; b < 256; ++b) {
        if (b != '\r' && b != '\n')
            all += char(b);
    }
    const auto text = LoadedText::fromBytes(all);
    ASSERT_EQ(text->lineCount(), 1);
    EXPECT_EQ(text->lineText(0).toLatin1().toStdString(), all);
}

} // namespace
