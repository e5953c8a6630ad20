// The duplicate scan against the slow, literal search on any bytes, under the switch values that
// the input's first byte picks (0, 1 or 2 for each of the three), on TWINSCAN_THREADS threads.
#include "ScanReference.h"
#include "engine/DuplicateScanner.h"
#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace twinscan;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return 0;
    const ScanOptions switches {
        qint16(data[0] % 3), qint16(data[0] / 3 % 3), qint16(data[0] / 9 % 3)};
    // Pieces and blocks so small that their edges fall inside lines and between a group's lines.
    Parallelism parallelism = Parallelism::fromEnvironment();
    parallelism.pieceBytes = 1 + size % 7;
    parallelism.blockLines = 1 + size % 3;
    const auto text
        = LoadedText::fromBytes({reinterpret_cast<const char *>(data) + 1, size - 1}, parallelism);
    std::vector<std::string> lines;
    for (int i = 0; i < text->lineCount(); ++i)
        lines.emplace_back(text->lineBytes(i));

    ItemVectorList duplicates;
    duplicates.setSource(text);
    const ScanOutcome outcome
        = DuplicateScanner(*text, ScanRules::from(switches), parallelism).run(duplicates);
    const test::ReferenceScan reference = test::quadraticSearch(lines, switches);
    bool same = outcome.groupCount == reference.groups
        && outcome.entryCount == int(reference.entries.size())
        && duplicates.ListCount() == outcome.entryCount;
    // A UTF-16 line with a broken code unit shows U+FFFD where the reference, reading the
    // converted bytes, shows Latin-1: such entries compare by their numbers.
    const bool wide = isWide(text->encoding());
    for (int i = 0; same && i < duplicates.ListCount(); ++i) {
        const QString entry = duplicates.List(i), expected = reference.entries[std::size_t(i)];
        same = entry == expected
            || (wide && entry.section(u'\t', 0, 0) == expected.section(u'\t', 0, 0));
    }
    if (!same) {
        std::fprintf(stderr, "switches %d/%d/%d\nscan (%d groups):\n", switches.caseSensitive,
            switches.trimLines, switches.includeEmptyLines, outcome.groupCount);
        for (int i = 0; i < duplicates.ListCount(); ++i)
            std::fprintf(stderr, "  %s\n", qPrintable(duplicates.List(i)));
        std::fprintf(stderr, "reference (%d groups):\n", reference.groups);
        for (const QString &entry : reference.entries)
            std::fprintf(stderr, "  %s\n", qPrintable(entry));
        std::abort();
    }
    return 0;
}
