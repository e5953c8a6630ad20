// The scan past memory against the in-memory scan on any bytes: the first byte picks the
// switches, the second the key and the budget (none at all, so that every few keys go to the
// temporary files, or enough for one table). Both must remove the same lines keeping each
// group's first, and keeping its last.
#include "engine/DuplicateScanner.h"
#include "engine/FileEncoding.h"
#include "engine/ItemVectorList.h"
#include "engine/LoadedText.h"
#include "engine/OutOfCoreScan.h"

#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <unistd.h>

using namespace twinscan;

namespace {
const QString &workFolder()
{
    static const QString folder = [] {
        char name[] = "/tmp/fuzz-past-memory-XXXXXX";
        if (!::mkdtemp(name))
            std::abort();
        return QString::fromLocal8Bit(name);
    }();
    return folder;
}

KeySpec keyOf(std::uint8_t choice)
{
    KeySpec key;
    switch (choice % 4) {
    case 1:
        key.kind = KeySpec::Kind::Fields;
        key.fields = {2};
        break;
    case 2:
        key.kind = KeySpec::Kind::Characters;
        key.skipChars = 1;
        key.checkChars = 2;
        break;
    case 3:
        key.kind = KeySpec::Kind::Fields;
        key.fields = {1};
        key.csv = true;
        break;
    }
    return key;
}

using Lines = std::set<std::uint64_t>;

// The lines the in-memory scan's groups leave out when each keeps its first or its last.
std::pair<Lines, Lines> inMemory(const std::string &bytes, ScanRules rules, const KeySpec &key)
{
    const auto text = LoadedText::fromBytes(bytes);
    ItemVectorList list;
    list.setSource(text);
    const ScanOutcome outcome = DuplicateScanner(*text, rules, Parallelism {1}, key).run(list);
    Lines notFirst, notLast;
    for (int entry = 0; entry < list.ListCount(); ++entry) {
        const EntryGroup group = outcome.lineEntries.groupOf(entry);
        const auto line = std::uint64_t(list.itemAt(entry).line);
        if (entry != group.first)
            notFirst.insert(line);
        if (entry != group.first + group.size - 1)
            notLast.insert(line);
    }
    return {notFirst, notLast};
}

Lines linesOf(const LineBits &bits, std::uint64_t count)
{
    Lines lines;
    for (std::uint64_t line = 0; line < count; ++line) {
        if (bits.test(line))
            lines.insert(line);
    }
    return lines;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 2)
        return 0;
    const ScanOptions switches {
        qint16(data[0] % 2), qint16(data[0] / 2 % 2), qint16(data[0] / 4 % 2)};
    const KeySpec key = keyOf(data[1]);
    const std::string bytes(reinterpret_cast<const char *>(data) + 2, size - 2);
    const QString file = workFolder() + QStringLiteral("/input.txt");
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)
        || out.write(bytes.data(), qint64(bytes.size())) != qint64(bytes.size()))
        std::abort();
    out.close();
    OutOfCoreRequest request {file, ScanRules::from(switches), key, KeptOccurrence::First,
        data[1] & 4 ? std::uint64_t(64) << 20 : 0, workFolder()};
    request.alsoLastKept = true;
    const OutOfCoreOutcome outcome = OutOfCoreScan::run(request);
    // What the in-memory loader refuses, text in no encoding it reads, is refused here too.
    const bool readable = detectEncoding(bytes.data(), bytes.size()) != FileEncoding::Unreadable;
    if ((outcome.status == OutOfCoreOutcome::Status::Done) != readable) {
        std::fprintf(stderr, "readable %d, status %d: %s\n", readable, int(outcome.status),
            qPrintable(outcome.error));
        std::abort();
    }
    if (!readable)
        return 0;
    const auto [notFirst, notLast] = inMemory(bytes, ScanRules::from(switches), key);
    if (linesOf(outcome.removed, outcome.lineCount) != notFirst
        || linesOf(outcome.removedWithLastKept, outcome.lineCount) != notLast) {
        std::fprintf(stderr, "switches %d, key %d: the scans differ\n", data[0], data[1]);
        std::abort();
    }
    return 0;
}
