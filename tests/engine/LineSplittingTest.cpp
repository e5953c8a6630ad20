#include "EngineTestFiles.h"
#include "engine/LineReader.h"
#include "engine/LoadedText.h"

#include <gtest/gtest.h>
#include <ostream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

using namespace twinscan;
using twinscan::test::TempFolder;
using twinscan::test::visible;

namespace {

using Lines = std::vector<std::string>;
using Breaks = std::vector<LineBreak>;
constexpr LineBreak lf = LineBreak::Lf;
constexpr LineBreak crlf = LineBreak::CrLf;
constexpr LineBreak cr = LineBreak::Cr;
constexpr LineBreak none = LineBreak::None;

struct Split
{
    Lines lines;
    Breaks breaks;
    bool bom = false;
};

struct SplitCase
{
    const char *name;
    std::string input;
    Lines lines;
    Breaks breaks;
    bool bom = false;
};

using namespace std::string_literals;

const SplitCase splitCases[] = {
    {"empty", "", {}, {}},
    {"one line without break", "a", {"a"}, {none}},
    {"final LF adds no line", "a\n", {"a"}, {lf}},
    {"LF then unterminated", "a\nb", {"a", "b"}, {lf, none}},
    {"CR LF", "a\r\nb\r\n", {"a", "b"}, {crlf, crlf}},
    {"lone CR", "a\rb\r", {"a", "b"}, {cr, cr}},
    {"CR LF alone is one empty line", "\r\n", {""}, {crlf}},
    {"LF alone is one empty line", "\n", {""}, {lf}},
    {"CR alone is one empty line", "\r", {""}, {cr}},
    {"two LFs", "\n\n", {"", ""}, {lf, lf}},
    {"two CRs", "\r\r", {"", ""}, {cr, cr}},
    {"CR then CR LF", "\r\r\n", {"", ""}, {cr, crlf}},
    {"LF CR is two breaks", "\n\r", {"", ""}, {lf, cr}},
    {"empty line between", "a\r\n\r\nb", {"a", "", "b"}, {crlf, crlf, none}},
    {"mixed breaks", "a\nb\r\nc\rd", {"a", "b", "c", "d"}, {lf, crlf, cr, none}},
    {"lines longer than a vector step", "0123456789abcdefghij\r\n0123456789abcdefghijklmnop",
        {"0123456789abcdefghij", "0123456789abcdefghijklmnop"}, {crlf, none}},
    {"break at offset 16", "0123456789abcdef\rx", {"0123456789abcdef", "x"}, {cr, none}},
    {"CR LF split by a 64-byte step", std::string(63, 'a') + "\r\nb", {std::string(63, 'a'), "b"},
        {crlf, none}},
    {"CR LF split by a 64-byte step after a BOM", "\xEF\xBB\xBF" + std::string(63, 'a') + "\r\nb",
        {std::string(63, 'a'), "b"}, {crlf, none}, true},
    {"LF right after a 64-byte step", std::string(64, 'a') + "\nb", {std::string(64, 'a'), "b"},
        {lf, none}},
    {"BOM then text", "\xEF\xBB\xBFtext\n", {"text"}, {lf}, true},
    {"BOM alone", "\xEF\xBB\xBF", {}, {}, true},
    {"BOM then CR LF", "\xEF\xBB\xBF\r\n", {""}, {crlf}, true},
    {"two BOMs keep the second", "\xEF\xBB\xBF\xEF\xBB\xBF", {"\xEF\xBB\xBF"}, {none}, true},
    {"partial BOM is text", "\xEF\xBBx", {"\xEF\xBBx"}, {none}},
    {"BOM on line 2 is text",
        "a\n\xEF\xBB\xBF"
        "b",
        {"a",
            "\xEF\xBB\xBF"
            "b"},
        {lf, none}},
    {"NUL bytes kept", "a\0b\n\0"s, {"a\0b"s, "\0"s}, {lf, none}},
    {"8-bit bytes kept", "caf\xE9\r\n\xFF", {"caf\xE9", "\xFF"}, {crlf, none}},
};

// Failed cases print their names rather than their bytes.
void PrintTo(const SplitCase &c, std::ostream *os)
{
    *os << c.name;
}

Split splitLoaded(const std::string &input)
{
    const auto text = LoadedText::fromBytes(input);
    Split out;
    out.bom = text->hasBom();
    for (int i = 0; i < text->lineCount(); ++i)
        out.lines.emplace_back(text->lineBytes(i));
    return out;
}

Split drain(LineReader &reader)
{
    Split out;
    std::string_view line;
    LineBreak lineBreak;
    while (reader.next(line, lineBreak)) {
        out.lines.emplace_back(line);
        out.breaks.push_back(lineBreak);
    }
    EXPECT_TRUE(reader.error().isEmpty()) << reader.error().toStdString();
    out.bom = reader.hasBom();
    return out;
}

Split splitFile(const QString &file, std::size_t chunkSize)
{
    LineReader reader(chunkSize);
    EXPECT_TRUE(reader.open(file));
    return drain(reader);
}

// A pipe hands over what was written in pieces, as a slow device would.
Split splitPipe(const std::string &input, std::size_t chunkSize)
{
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    EXPECT_LT(input.size(), 60000u) << "keep pipe inputs below the pipe's buffer";
    EXPECT_EQ(::write(fds[1], input.data(), input.size()), ssize_t(input.size()));
    ::close(fds[1]);
    LineReader reader(chunkSize);
    reader.adopt(fds[0]);
    return drain(reader);
}

// Every way the program reads lines must see the same lines for the same bytes.
void expectEveryPath(const std::string &input, const Lines &lines, const Breaks *breaks, bool bom)
{
    SCOPED_TRACE("input \"" + visible(input) + "\"");
    const Split loaded = splitLoaded(input);
    EXPECT_EQ(loaded.lines, lines) << "LoadedText::fromBytes";
    EXPECT_EQ(loaded.bom, bom) << "LoadedText::fromBytes";
    if (breaks && !breaks->empty()) {
        EXPECT_EQ(LoadedText::fromBytes(input)->firstBreak(), breaks->front());
    }

    TempFolder folder;
    const QString file = folder.write(QStringLiteral("lines.txt"), input);
    for (const std::size_t chunk : {1, 2, 3, 7, 1 << 20}) {
        const Split read = splitFile(file, chunk);
        EXPECT_EQ(read.lines, lines) << "LineReader, chunk " << chunk;
        EXPECT_EQ(read.bom, bom) << "LineReader, chunk " << chunk;
        if (breaks) {
            EXPECT_EQ(read.breaks, *breaks) << "LineReader, chunk " << chunk;
        }
    }
    const Split piped = splitPipe(input, 3);
    EXPECT_EQ(piped.lines, lines) << "LineReader on a pipe";
    EXPECT_EQ(piped.bom, bom) << "LineReader on a pipe";
}

class LineSplitting : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(LineSplitting, EveryReadPathGivesTheSameLines)
{
    const SplitCase &c = GetParam();
    expectEveryPath(c.input, c.lines, &c.breaks, c.bom);
}

INSTANTIATE_TEST_SUITE_P(Table, LineSplitting, ::testing::ValuesIn(splitCases), test::ByName());

// Splits by the rules directly, one byte at a time, as a second opinion on the fast paths.
Split referenceSplit(std::string input)
{
    Split out;
    if (input.rfind("\xEF\xBB\xBF", 0) == 0) {
        out.bom = true;
        input.erase(0, 3);
    }
    std::string line;
    bool open = false;
    for (std::size_t i = 0; i < input.size(); ++i) {
        const char c = input[i];
        if (c != '\r' && c != '\n') {
            line += c;
            open = true;
            continue;
        }
        out.lines.push_back(line);
        line.clear();
        open = false;
        if (c == '\r' && i + 1 < input.size() && input[i + 1] == '\n')
            ++i;
    }
    if (open)
        out.lines.push_back(line);
    return out;
}

TEST(LineSplittingRandom, AgreesWithAByteByByteSplitter)
{
    std::mt19937 random(20240611);
    const std::string alphabet("a\r\n\0\xEF\xBB\xBF", 7);
    for (int round = 0; round < 300; ++round) {
        std::string input;
        const int size = int(random() % (round % 2 ? 40 : 200));
        for (int i = 0; i < size; ++i)
            // Even rounds make long lines, so that breaks fall on both sides of 64-byte blocks.
            input += round % 2 == 0 && random() % 12 ? 'a' : alphabet[random() % alphabet.size()];
        if (round % 5 == 0)
            input.insert(0, "\xEF\xBB\xBF");
        const Split expected = referenceSplit(input);
        expectEveryPath(input, expected.lines, nullptr, expected.bom);
        if (HasFailure())
            return;
    }
}

} // namespace
