#include "editing/ClipboardText.h"

#include "engine/ItemVectorList.h"

#include <gtest/gtest.h>

using namespace twinscan;

namespace {

TEST(ClipboardText, EachEntryCopiesItsOwnLineDecodedAsShown)
{
    using enum CopyScope;
    // Lines 3 and 8 match without regard to case; both entries show "Apple".
    const std::string apples = "x\ny\nApple\nz\n\nw\nv\nAPPLE\n\n";
    const struct
    {
        const char *name;
        std::string file;
        std::vector<std::pair<int, int>> entries; // 0-based line, its group's first line
        std::string marks;
        CopyScope scope;
        const char *copied; // UTF-8
    } cases[] = {
        {"own lines", apples, {{2, 2}, {7, 2}}, "00", All, "Apple\r\nAPPLE\r\n"},
        {"marked only", apples, {{2, 2}, {7, 2}}, "01", Marked, "APPLE\r\n"},
        {"nothing marked", apples, {{2, 2}, {7, 2}}, "00", Marked, ""},
        {"empty list", apples, {}, "", All, ""},
        {"empty lines", apples, {{4, 4}, {8, 4}}, "11", Marked, "\r\n\r\n"},
        {"latin-1 file", "caf\xe9\ncaf\xe9\n", {{0, 0}, {1, 0}}, "00", All,
            "caf\xc3\xa9\r\ncaf\xc3\xa9\r\n"},
        {"utf-8 file", "\xc3\x89t\xc3\xa9\n\xc3\xa9t\xc3\xa9\n", {{0, 0}, {1, 0}}, "00", All,
            "\xc3\x89t\xc3\xa9\r\n\xc3\xa9t\xc3\xa9\r\n"},
    };
    for (const auto &c : cases) {
        const auto text = LoadedText::fromBytes(c.file);
        ItemVectorList duplicates;
        duplicates.setSource(text);
        for (const auto &[line, first] : c.entries)
            duplicates.addEntry(line, first);
        for (std::size_t i = 0; i < c.marks.size(); ++i)
            duplicates.setSelected(int(i), c.marks[i] == '1');
        EXPECT_EQ(clipboardLines(*text, duplicates, c.scope), QString::fromUtf8(c.copied))
            << c.name;
    }
}

} // namespace
