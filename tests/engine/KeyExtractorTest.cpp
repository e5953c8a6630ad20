#include "engine/KeyExtractor.h"

#include "EngineTestSupport.h"

#include <optional>

using namespace twinscan;
using twinscan::test::visible;

namespace {

KeySpec fields(std::vector<int> numbers, std::string separator = {}, bool csv = false)
{
    KeySpec keySpec;
    keySpec.kind = KeySpec::Kind::Fields;
    keySpec.fields = std::move(numbers);
    keySpec.separator = std::move(separator);
    keySpec.csv = csv;
    return keySpec;
}

KeySpec csv(std::vector<int> numbers, std::string separator = {})
{
    return fields(std::move(numbers), std::move(separator), true);
}

KeySpec regex(const char *pattern)
{
    KeySpec keySpec;
    keySpec.kind = KeySpec::Kind::Regex;
    keySpec.pattern = QString::fromUtf8(pattern);
    return keySpec;
}

KeySpec characters(int skip, int check)
{
    KeySpec keySpec;
    keySpec.kind = KeySpec::Kind::Characters;
    keySpec.skipChars = skip;
    keySpec.checkChars = check;
    return keySpec;
}

constexpr ScanRules plain {true, false, false};
constexpr ScanRules trim {true, true, false};
constexpr ScanRules empty {true, false, true};

const std::optional<std::string> none;
// Several fields compare as their values, each quoted, one after the other.
std::optional<std::string> key(std::string bytes)
{
    return bytes;
}

// Each row: what is compared, the switches, a line, and its key or none when it takes no part.
TEST(KeyExtraction, EveryKindOfKey)
{
    const struct
    {
        const char *name;
        KeySpec keySpec;
        ScanRules rules;
        std::string line;
        std::optional<std::string> expected;
    } rows[] = {
        {"whole line", {}, plain, "a b", key("a b")},
        {"whole line trimmed", {}, trim, "  a b ", key("a b")},
        {"whole blank line", {}, plain, "  ", none},
        {"whole blank line included", {}, empty, "  ", key("  ")},
        {"tab field", fields({2}, "\t"), plain, "a\tb\tc", key("b")},
        {"comma field", fields({3}, ","), plain, "a,b,c", key("c")},
        {"semicolon field", fields({1}, ";"), plain, "a;b", key("a")},
        {"bar field", fields({2}, "|"), plain, "a|b|c", key("b")},
        {"typed separator", fields({2}, "::"), plain, "a::b:c::d", key("b:c")},
        {"empty field", fields({2}, ","), empty, "a,,c", key("")},
        {"empty field is blank", fields({2}, ","), plain, "a,,c", none},
        {"missing field", fields({3}, ","), empty, "a,b", none},
        {"field of an empty line", fields({1}, ","), empty, "", key("")},
        {"second field of an empty line", fields({2}, ","), empty, "", none},
        {"runs of spaces", fields({2}), plain, "  a \t  b   c", key("b")},
        {"runs of spaces, last", fields({3}), plain, "a b c  ", key("c")},
        {"runs of spaces, missing", fields({3}), plain, "a b   ", none},
        {"field trimmed", fields({2}, ","), trim, "a, b ,c", key("b")},
        {"field untrimmed", fields({2}, ","), plain, "a, b ,c", key(" b ")},
        {"two fields", fields({1, 3}, ","), plain, "a,b,c", key("\"a\"\"c\"")},
        {"two fields, one missing", fields({1, 3}, ","), empty, "a,b", none},
        {"two blank fields", fields({1, 2}, ","), plain, " , ", none},
        {"two blank fields included", fields({1, 2}, ","), empty, " ,", key("\" \"\"\"")},
        {"csv plain", csv({2}), plain, "a,b,c", key("b")},
        {"csv quoted separator", csv({2}), plain, "a,\"b,c\",d", key("b,c")},
        {"csv doubled quotes", csv({2}), plain, "a,\"say \"\"hi\"\"\",d", key("say \"hi\"")},
        {"csv after quoted field", csv({3}), plain, "\"a,b\",c,d", key("d")},
        {"csv separator after doubled quotes", csv({2}), plain, "\"a\"\",b\",c", key("c")},
        {"csv quote inside plain field", csv({2}), plain, "a\"b,c", key("c")},
        {"csv text after closing quote", csv({1}), plain, "\"a\"b\",c", key("ab\"")},
        {"csv unclosed quote", csv({2}), plain, "a,\"b,c", key("b,c")},
        {"csv empty quoted", csv({1}), empty, "\"\",x", key("")},
        {"csv semicolon", csv({2}, ";"), plain, "a;\"b;c\"", key("b;c")},
        {"csv two fields", csv({2, 1}), plain, "\"x\"\"\",y", key("\"y\"\"x\"\"\"")},
        {"csv trimmed inside quotes", csv({1}), trim, "\" a \",b", key("a")},
        {"regex group", regex("id=(\\d+)"), plain, "GET id=42 ok", key("42")},
        {"regex whole match", regex("[a-z]+@[a-z.]+"), plain, "to: ann@x.org!", key("ann@x.org")},
        {"regex no match", regex("id=(\\d+)"), empty, "GET ok", none},
        {"regex group not taken", regex("a|(b)"), empty, "a", none},
        {"regex empty match", regex("x*"), empty, "abc", key("")},
        {"regex empty match is blank", regex("x*"), plain, "abc", none},
        {"regex after multi-byte", regex("=(.)"), plain, "\xC3\xA9\xF0\x9F\x98\x80=\xC3\xBC!",
            key("\xC3\xBC")},
        {"regex in a Latin-1 line", regex("=(.)"), plain, "\xE9=\xFC!", key("\xC3\xBC")},
        {"regex trimmed", regex(":(.*)"), trim, "a: b ", key("b")},
        {"skip characters", characters(2, 0), plain, "abcd", key("cd")},
        {"check characters", characters(0, 2), plain, "abcd", key("ab")},
        {"skip and check", characters(1, 2), plain, "abcd", key("bc")},
        {"skip past the end", characters(9, 0), empty, "abcd", key("")},
        {"skip past the end is blank", characters(9, 0), plain, "abcd", none},
        {"multi-byte characters", characters(1, 2), plain, "\xC3\xA9\xF0\x9F\x98\x80\xC3\xBCz",
            key("\xF0\x9F\x98\x80\xC3\xBC")},
        {"Latin-1 characters", characters(1, 1), plain, "\xE9\xFCz", key("\xC3\xBC")},
        {"Latin-1 field as UTF-8", fields({2}, ","), plain, "\xE9,\xFC", key("\xC3\xBC")},
        {"characters then trimmed", characters(1, 0), trim, "a  b ", key("b")},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(keySpecError(row.keySpec).isEmpty());
        const KeyExtractor extractor(row.keySpec, row.rules);
        std::string scratch = "left over";
        const std::optional<std::string_view> got = extractor.keyOf(row.line, scratch);
        ASSERT_EQ(got.has_value(), row.expected.has_value());
        if (got) {
            EXPECT_EQ(visible(*got), visible(*row.expected));
        }
    }
}

// Keys that cannot be used say why; the expression's message is the engine's own.
TEST(KeyExtraction, UnusableKeysAndFieldLists)
{
    EXPECT_EQ(keySpecError(regex("a(b")),
        QStringLiteral("The regular expression is not valid: missing closing parenthesis (at "
                       "character 4)."));
    EXPECT_EQ(keySpecError(regex("")), QStringLiteral("Give a regular expression."));
    EXPECT_EQ(
        keySpecError(fields({})), QStringLiteral("Give the fields to compare, such as 2 or 1,3."));
    EXPECT_EQ(keySpecError(characters(-1, 0)),
        QStringLiteral("The numbers of characters cannot be negative."));
    const struct
    {
        const char *text;
        std::optional<std::vector<int>> fields;
    } lists[] = {{"2", {{2}}}, {"1,3", {{1, 3}}}, {" 2 - 4 ,7", {{2, 3, 4, 7}}}, {"3,1", {{3, 1}}},
        {"", std::nullopt}, {"0", std::nullopt}, {"a", std::nullopt}, {"4-2", std::nullopt},
        {"1,", std::nullopt}, {"1-", std::nullopt}, {"1-999999999", std::nullopt}};
    for (const auto &row : lists) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parseFieldList(QString::fromUtf8(row.text)), row.fields);
    }
    EXPECT_EQ(fieldListText({2, 3, 4, 7}), QStringLiteral("2,3,4,7"));
}

} // namespace
