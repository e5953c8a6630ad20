#include "EngineTestSupport.h"
#include "engine/LineReader.h"
#include "engine/WideLines.h"

#include <QTemporaryDir>
#include <algorithm>
#include <ostream>

using namespace twinscan;
using namespace twinscan::test;
using namespace std::string_literals;

namespace {

using Lines = std::vector<std::string>;
using Breaks = std::vector<LineBreak>;
constexpr LineBreak lf = LineBreak::Lf;
constexpr LineBreak crlf = LineBreak::CrLf;
constexpr LineBreak cr = LineBreak::Cr;
constexpr LineBreak none = LineBreak::None;
constexpr LineBreak nul = LineBreak::Nul;
constexpr LineEnds zero = LineEnds::Nul; // lines ended by NUL, as sort -z reads them

struct Split
{
    Lines lines;
    Breaks breaks;
    bool bom = false;
    bool operator==(const Split &) const = default;
};

void PrintTo(const Split &split, std::ostream *os)
{
    for (std::size_t i = 0; i < split.lines.size(); ++i)
        *os << '"' << visible(split.lines[i]) << "\" " << int(split.breaks[i]) << ", ";
    *os << (split.bom ? "with BOM" : "without BOM");
}

// `oddByte`: the file's last byte, which a UTF-16 file may have past its last code unit.
Split drain(LineReader &reader, char oddByte)
{
    Split out;
    std::string_view line;
    LineBreak lineBreak;
    while (reader.next(line, lineBreak)) {
        // The scan reads a UTF-16 line converted; the reader gives the file's own bytes, and a
        // report writes the converted line back as them.
        const FileEncoding encoding = reader.encoding();
        const bool bigEndian = encoding == FileEncoding::Utf16Be;
        out.lines.push_back(isWide(encoding) ? convertLine(line, bigEndian) : std::string(line));
        if (isWide(encoding)) {
            EXPECT_EQ(visible(wideLine(out.lines.back(), bigEndian, oddByte)), visible(line));
        }
        out.breaks.push_back(lineBreak);
    }
    EXPECT_TRUE(reader.error().isEmpty()) << reader.error().toStdString();
    out.bom = reader.hasBom();
    return out;
}

// The break every line ends in, the last one perhaps in none; None when they differ.
LineBreak uniformBreakOf(Breaks breaks)
{
    if (!breaks.empty() && breaks.back() == none)
        breaks.pop_back();
    if (breaks.empty()
        || std::count(breaks.begin(), breaks.end(), breaks[0]) != std::ptrdiff_t(breaks.size()))
        return none;
    return breaks[0] == cr ? none : breaks[0];
}

Split linesOf(const LoadedText &text, const Breaks &breaks)
{
    Split out {{}, breaks, text.hasBom()};
    for (int i = 0; i < text.lineCount(); ++i)
        out.lines.emplace_back(text.lineBytes(i));
    return out;
}

// Every way the program reads lines must see the same lines for the same bytes: the whole file
// in memory, also split on several threads in pieces whose edges fall inside lines and breaks,
// the file mapped, and the streaming reader with chunks smaller than a line and a break.
void expectEveryPath(const std::string &input, const Split &expected, LineEnds ends)
{
    SCOPED_TRACE("input \"" + visible(input) + "\"" + (ends == zero ? " ended by NUL" : ""));
    const auto text = LoadedText::fromBytes(input, {1}, ends);
    EXPECT_EQ(linesOf(*text, expected.breaks), expected) << "LoadedText";
    EXPECT_EQ(text->firstBreak(), expected.breaks.empty() ? none : expected.breaks[0]);
    const LineBreak uniform = uniformBreakOf(expected.breaks);
    EXPECT_EQ(text->uniformBreak(), uniform);
    for (const Parallelism pieces : {Parallelism {2, 1}, Parallelism {3, 2}, Parallelism {2, 7}}) {
        const auto split = LoadedText::fromBytes(input, pieces, ends);
        EXPECT_EQ(linesOf(*split, expected.breaks), expected) << "pieces of " << pieces.pieceBytes;
        EXPECT_EQ(split->uniformBreak(), uniform) << "pieces of " << pieces.pieceBytes;
        EXPECT_EQ(split->contentHash(), text->contentHash()) << "pieces of " << pieces.pieceBytes;
    }

    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("lines.txt"));
    writeBytes(file, input);
    const LoadResult mapped = TextLoader::load(file, {}, Parallelism::fromEnvironment(), ends);
    if (!input.empty()) {
        ASSERT_TRUE(mapped.text) << mapped.error.toStdString();
        EXPECT_EQ(linesOf(*mapped.text, expected.breaks), expected) << "mapped";
        EXPECT_EQ(mapped.text->contentHash(), text->contentHash()) << "mapped";
    }
    for (const std::size_t chunk : {1, 2, 7, 1 << 20}) {
        LineReader reader(chunk);
        reader.setLineEnds(ends);
        EXPECT_TRUE(reader.open(file));
        EXPECT_EQ(drain(reader, input.empty() ? '\0' : input.back()), expected)
            << "LineReader, chunk " << chunk;
        // The save proves with this hash that it read what the scan read.
        EXPECT_EQ(reader.contentHash(), text->contentHash()) << "chunk " << chunk;
    }
}

TEST(LineSplitting, EveryReadPathGivesTheSameLines)
{
    const std::string a63(63, 'a');
    const std::string a64(64, 'a');
    const struct
    {
        std::string input;
        Split split;
        LineEnds ends = LineEnds::Text;
    } cases[] = {
        {"", {}},
        {"a", {{"a"}, {none}}},
        {"\r\r\n", {{"", ""}, {cr, crlf}}},
        {"\n\r", {{"", ""}, {lf, cr}}},
        {"a\nb\r\nc\rd", {{"a", "b", "c", "d"}, {lf, crlf, cr, none}}},
        // Breaks on both sides of the 64-byte blocks of the vector search.
        {a63 + "\r\nb", {{a63, "b"}, {crlf, none}}},
        {a64 + "\nb", {{a64, "b"}, {lf, none}}},
        {"\xEF\xBB\xBFtext\n", {{"text"}, {lf}, true}},
        {"\xEF\xBB\xBF", {{}, {}, true}},
        {"\xEF\xBBx", {{"\xEF\xBBx"}, {none}}},
        {"a\n\xEF\xBB\xBF", {{"a", "\xEF\xBB\xBF"}, {lf, none}}},
        {"a\0b\n\0"s, {{"a\0b"s, "\0"s}, {lf, none}}},
        {"caf\xE9\r\n\xFF", {{"caf\xE9", "\xFF"}, {crlf, none}}},
        // UTF-16 splits in code units, here U+0D0A, an unpaired surrogate and an odd last byte.
        {"\xFF\xFE"
         "a\0\r\0\n\0\r\0\x0A\x0D\r\0"s,
            {{"a", "", "\xE0\xB4\x8A"}, {crlf, cr, cr}, true}},
        {"\xFE\xFF\0x\0\n\xD8\0\0yA"s, {{"x", "\xED\xA0\x80y\xFF"}, {lf, none}, true}},
        // Ended by NUL, CR and LF are bytes of a line; a NUL on a block's edge still ends one.
        {"\0"s, {{""}, {nul}}, zero},
        {"a\r\nb\nc\0\0d"s, {{"a\r\nb\nc", "", "d"}, {nul, nul, none}}, zero},
        {a63 + "\0\r"s, {{a63, "\r"}, {nul, none}}, zero},
        {a64 + "\0b\0"s, {{a64, "b"}, {nul, nul}}, zero},
        {"\xEF\xBB\xBFx\0"s, {{"x"}, {nul}, true}, zero},
        // No UTF-16 mark is looked for: its NULs are what ends the records.
        {"\xFF\xFE"
         "a\0\n\0"s,
            {{"\xFF\xFE"
              "a",
                 "\n"},
                {nul, nul}},
            zero},
    };
    for (const auto &c : cases)
        expectEveryPath(c.input, c.split, c.ends);
}

} // namespace
