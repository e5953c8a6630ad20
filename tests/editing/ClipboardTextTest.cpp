#include "editing/ClipboardText.h"

#include "engine/ItemVectorList.h"

#include <gtest/gtest.h>
#include <string>

using namespace twinscan;

// Lines 1 and 3 match without regard to case, and both entries show the first one's text.
TEST(ClipboardText, EachEntryCopiesItsOwnLineDecodedAsShown)
{
    using namespace std::string_literals;
    for (const auto &[file, copied] : {std::pair {"Apple\nx\nAPPLE\n"s, "Apple\r\nAPPLE\r\n"},
             // Each line in its own encoding; a byte-order mark inside the file is text.
             {"caf\xe9\nx\n\xef\xbb\xbf\xc3\xa9\n"s, "caf\xc3\xa9\r\n\xef\xbb\xbf\xc3\xa9\r\n"},
             // UTF-16: an unpaired surrogate shows as one U+FFFD.
             {"\xff\xfe\xe9\0\n\0x\0\n\0a\0\0\xd8\n\0"s, "\xc3\xa9\r\na\xef\xbf\xbd\r\n"}}) {
        const auto text = LoadedText::fromBytes(file);
        ItemVectorList duplicates;
        duplicates.addEntry(0, 0);
        duplicates.addEntry(2, 0);
        EXPECT_EQ(clipboardLines(*text, duplicates, CopyScope::All), QString::fromUtf8(copied));
    }
}
