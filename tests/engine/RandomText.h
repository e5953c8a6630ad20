#pragma once

// Random files of few distinct pieces, for tests that compare two ways of scanning them.

#include "EngineTestSupport.h"

#include <random>
#include <string>
#include <vector>

namespace twinscan::test {

// Pieces that meet every rule: letters in both cases, spaces around and inside, tabs, UTF-8
// letters with and without a capital, letters whose capital is two letters or plain ASCII, and
// 8-bit bytes that make a line Latin-1.
inline const std::vector<std::string> utf8Pieces = {"a", "A", "b", "B", " ", " ", "  ", "\t",
    "\xC3\xA9", "\xC3\x89", "\xC3\x9F", "SS", "s", "\xC4\xB1", "i", "I", "]", "0",
    "\xEF\xAC\x81", // fi ligature: "FI"
    "F", "\xE1\xBE\xB3", // alpha with ypogegrammeni: two capitals
    "\xCE\x91\xCE\x99", "\xC5\xBF", // long s: "S"
    "\xC7\x85", "\xC7\x84", // titlecase and capital DZ with caron
    "\xE2\x84\xAA", "k", // Kelvin sign
    "\xCF\x82", "\xCF\x83", "\xCE\xA3", // final sigma, sigma, capital sigma
    "\xF0\x90\x90\xA8", "\xF0\x90\x90\x80", "\xE6\x97\xA5"}; // Deseret past the BMP; no case
inline const std::vector<std::string> latin1Pieces = {
    "a", "A", " ", "  ", "\t", "\xA0", "\xE9", "\xC9", "\xDF", "\xFF", "\xB5", "\xF7", "\xD7", "s"};

struct RandomFile
{
    std::string bytes;
    std::vector<std::string> lines;
    std::string shown; // the lines, for a failure message
};

// Ends every line with a random break, never one that would join with the next line's break.
// Every third line takes 8-bit bytes, which mostly make it Latin-1 among UTF-8 lines.
inline RandomFile randomFile(
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

} // namespace twinscan::test
