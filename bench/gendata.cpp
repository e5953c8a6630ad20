// Writes a deterministic text file for the benchmark: lines of 20 to 400 bytes (about 90 on
// average), about 30% of them repeats of earlier lines, some repeats differing only in letter
// case or in surrounding spaces, about 1% with UTF-8 letters, and a few empty and space-only
// lines. The same arguments always give the same bytes.
//
//   twinscan_gendata LINES OUTPUT
//
// With --words it writes a word list instead: short lines of 4 to 16 letters and digits (about
// 10.5 bytes a line with the LF), a quarter of them repeats of earlier words in the same case,
// as the merged word lists of password crackers are.
//
//   twinscan_gendata --words LINES OUTPUT
//
// With --exact it writes lines as the default does, but its repeats are exact copies and there
// are no empty or space-only lines, so that the first occurrences are the distinct lines in the
// order they were made; --exact-firsts writes just those, the output of keeping the first of
// each: the check for a file too large for awk's memory.
//
//   twinscan_gendata --exact LINES OUTPUT
//   twinscan_gendata --exact-firsts LINES OUTPUT

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint64_t seed = 0x7477696E7363616EULL;

struct SplitMix
{
    std::uint64_t state;
    std::uint64_t next()
    {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    unsigned below(unsigned n) { return unsigned(next() % n); }
    double unit() { return double(next() >> 11) * 0x1.0p-53; }
};

const char *const utf8Words[] = {"caf\xC3\xA9", "na\xC3\xAFve",
    "Gr\xC3\xB6\xC3\x9F"
    "e",
    "\xC3\x89t\xC3\xA9", "\xCE\x95\xCE\xBB\xCE\xBB\xCE\xAC\xCE\xB4\xCE\xB1",
    "\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0", "\xE6\x97\xA5\xE6\x9C\xAC",
    "\xC5\x81\xC3\xB3"
    "d\xC5\xBA"};

// Line number `index` of the distinct lines: the same index always gives the same text.
std::string distinctLine(std::uint64_t index)
{
    SplitMix random {seed ^ (index * 0xD1B54A32D192ED03ULL)};
    // 20 bytes and an exponential tail with mean 70, cut at 400: about 90 bytes on average.
    const double tail = -70.0 * std::log(1.0 - random.unit());
    const std::size_t length = 20 + std::size_t(std::min(380.0, tail));
    std::string line;
    line.reserve(length + 16);
    while (line.size() < length) {
        if (!line.empty())
            line += ' ';
        const unsigned wordLength = 2 + random.below(9);
        std::uint64_t bits = random.next();
        for (unsigned i = 0; i < wordLength; ++i, bits >>= 5) {
            const unsigned pick = unsigned(bits & 31);
            line += pick < 26 ? char('a' + pick) : char('0' + pick - 26);
        }
        char &first = line[line.size() - wordLength];
        if (random.below(8) == 0 && first >= 'a' && first <= 'z')
            first = char(first - 32);
    }
    line.resize(length);
    if (line.back() == ' ')
        line.back() = 'x';
    if (random.below(100) == 0) {
        const std::size_t at = line.find(' ', line.size() / 2);
        line.insert(at == std::string::npos ? line.size() : at, utf8Words[random.below(8)]);
    }
    return line;
}

// A repeat that differs only in letter case: all capitals or every word capitalised.
std::string caseVariant(std::string line, SplitMix &random)
{
    const bool allCapitals = random.below(2) == 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const bool wordStart = i == 0 || line[i - 1] == ' ';
        if ((allCapitals || wordStart) && line[i] >= 'a' && line[i] <= 'z')
            line[i] = char(line[i] - 32);
    }
    return line;
}

// Word number `index` of a word list.
std::string distinctWord(std::uint64_t index)
{
    SplitMix random {seed ^ (index * 0x9E3779B97F4A7C15ULL)};
    const unsigned length = 4 + random.below(13);
    std::string word(length, 'a');
    std::uint64_t bits = random.next();
    for (unsigned i = 0; i < length; ++i, bits = bits >> 5 ? bits >> 5 : random.next()) {
        const unsigned pick = unsigned(bits % 36);
        word[i] = pick < 26 ? char('a' + pick) : char('0' + pick - 26);
    }
    return word;
}

bool flushed(std::string &buffer, std::FILE *out, bool last)
{
    if (buffer.size() < (1u << 20) && !last)
        return true;
    const bool written = std::fwrite(buffer.data(), 1, buffer.size(), out) == buffer.size();
    buffer.clear();
    return written;
}

void writeWords(std::uint64_t lines, std::FILE *out)
{
    SplitMix random {seed};
    std::uint64_t distinct = 0;
    std::string buffer;
    for (std::uint64_t n = 0; n < lines; ++n) {
        const bool repeat = distinct > 0 && random.below(4) == 0;
        buffer += repeat ? distinctWord(random.next() % distinct) : distinctWord(distinct++);
        buffer += '\n';
        if (!flushed(buffer, out, n + 1 == lines))
            return;
    }
}

// Either the lines of --exact, or with `firstsOnly` the lines that are not repeats.
void writeExact(std::uint64_t lines, std::FILE *out, bool firstsOnly)
{
    SplitMix random {seed};
    std::uint64_t distinct = 0;
    std::string buffer;
    for (std::uint64_t n = 0; n < lines; ++n) {
        if (distinct > 0 && random.below(10) < 3) {
            const std::uint64_t earlier = random.next() % distinct;
            if (firstsOnly)
                continue;
            buffer += distinctLine(earlier);
        } else {
            buffer += distinctLine(distinct++);
        }
        buffer += '\n';
        if (!flushed(buffer, out, false))
            return;
    }
    flushed(buffer, out, true);
}

} // namespace

int main(int argc, char **argv)
{
    const std::string mode = argc == 4 ? argv[1] : "";
    const bool words = mode == "--words";
    const bool exact = mode == "--exact" || mode == "--exact-firsts";
    if (argc != 3 && !words && !exact) {
        std::fprintf(
            stderr, "usage: %s [--words | --exact | --exact-firsts] LINES OUTPUT\n", argv[0]);
        return 2;
    }
    const std::uint64_t lines = std::strtoull(argv[argc - 2], nullptr, 10);
    std::FILE *out = std::fopen(argv[argc - 1], "wb");
    if (!out) {
        std::perror(argv[argc - 1]);
        return 1;
    }
    if (words || exact) {
        if (words)
            writeWords(lines, out);
        else
            writeExact(lines, out, mode == "--exact-firsts");
        const bool failed = std::ferror(out) != 0;
        return std::fclose(out) != 0 || failed ? 1 : 0;
    }
    SplitMix random {seed};
    std::uint64_t distinct = 0;
    std::string buffer;
    for (std::uint64_t n = 0; n < lines; ++n) {
        const unsigned kind = random.below(1000);
        if (kind < 5) {
            // an empty line
        } else if (kind < 8) {
            buffer.append(1 + random.below(8), ' ');
        } else if (kind < 308 && distinct > 0) {
            const std::string earlier = distinctLine(random.next() % distinct);
            const unsigned variant = random.below(10);
            if (variant == 0)
                buffer += caseVariant(earlier, random);
            else if (variant == 1)
                buffer += std::string(1 + random.below(3), ' ') + earlier + "  ";
            else
                buffer += earlier;
        } else {
            buffer += distinctLine(distinct++);
        }
        buffer += '\n';
        if (buffer.size() >= (1u << 20)) {
            if (std::fwrite(buffer.data(), 1, buffer.size(), out) != buffer.size())
                break;
            buffer.clear();
        }
    }
    std::fwrite(buffer.data(), 1, buffer.size(), out);
    const bool failed = std::ferror(out) != 0;
    if (std::fclose(out) != 0 || failed) {
        std::perror(argv[2]);
        return 1;
    }
    return 0;
}
