#include "engine/OutOfCoreScan.h"

#include "engine/FileEncoding.h"
#include "engine/FileName.h"
#include "engine/KeyExtractor.h"
#include "engine/KeyTally.h"
#include "engine/LineKey.h"
#include "engine/LineReader.h"
#include "engine/LoadedText.h"
#include "engine/MemoryBudget.h"
#include "engine/SpillFolder.h"
#include "engine/SystemCalls.h"
#include "engine/TallyFile.h"
#include "engine/WideLines.h"

#include <QFile>
#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/statfs.h>
#include <vector>

namespace twinscan {

namespace {
using Status = OutOfCoreOutcome::Status;

// Each level of partitions takes the next six bits of the hash, from the top.
constexpr unsigned partitionBits = 6;
constexpr std::size_t partitionCount = std::size_t(1) << partitionBits;
constexpr unsigned deepestLevel = 64 / partitionBits - 1;
constexpr std::size_t fileBuffer = std::size_t(64) << 10;
constexpr std::size_t readerChunk = std::size_t(1) << 20;
constexpr std::uint64_t linesBetweenReports = 1 << 14;
constexpr std::uint64_t tallySize = sizeof(Tally);
constexpr std::uint64_t shortTally = 24;
constexpr std::uint64_t longestLineFloor = std::uint64_t(16)
    << 20; // TallyFile's record of a key that occurs once

std::size_t partitionOf(const WideHash &hash, unsigned level)
{
    return std::size_t(hash.high >> (64 - partitionBits * (level + 1))) & (partitionCount - 1);
}

// A key, as the extractor makes it for the in-memory scan too, hashed twice over with independent
// seeds, its ASCII letters folded or, when it has others, its upper-cased form, as the grouping
// compares keys. A key upper-cased by Latin-1 rules never equals one upper-cased as UTF-8, so its
// second half is told apart.
class WideHasher
{
public:
    explicit WideHasher(bool fold) : fold_(fold) { }

    WideHash operator()(std::string_view key)
    {
        const KeyHash low = hashKeyChecked(key, fold_, first_);
        if (!fold_ || low.ascii)
            return {low.hash, hashKey(key, fold_, second_)};
        const std::uint64_t latin1
            = upperCaseInto(key, upper_) == TextEncoding::Latin1 ? 0x9E3779B97F4A7C15ULL : 0;
        return {hashKey(upper_, true, first_), hashKey(upper_, true, second_) ^ latin1};
    }

private:
    bool fold_;
    HashSeed first_ = randomHashSeed();
    HashSeed second_ = randomHashSeed();
    std::string upper_;
};

std::size_t breakBytes(LineBreak lineBreak, bool wide)
{
    const std::size_t units = lineBreak == LineBreak::CrLf ? 2
        : lineBreak == LineBreak::None                     ? 0
                                                           : 1;
    return wide ? 2 * units : units;
}

// In the words of the in-memory loader's refusal.
QString unreadableText()
{
    return OutOfCoreScan::tr(
        "looks like a binary or UTF-32 file; Twinscan reads 8-bit, UTF-8 and UTF-16 text");
}

// One run of the scan.
class Scan
{
public:
    Scan(const OutOfCoreRequest &request, const ProgressFn &progress)
        : request_(request),
          progress_(progress),
          keys_(request.key, request.rules),
          hasher_(!request.rules.caseSensitive),
          table_(0)
    {
    }
    OutOfCoreOutcome run();

private:
    bool open();
    bool readLines();
    void take(const WideHash &hash, std::uint64_t line);
    bool place(const WideHash &hash, std::uint64_t line);
    bool spill();
    bool checkRoom();
    std::vector<TallyFile> newPartitions() const;
    bool settlePartition(TallyFile &file, unsigned level);
    bool splitPartition(TallyFile &file, unsigned level);
    void settle(const Tally &tally);
    bool report(std::uint64_t done);
    bool fail(const QString &reason);
    bool failWriting(int errorNumber);
    bool stop();

    const OutOfCoreRequest &request_;
    const ProgressFn &progress_;
    OutOfCoreOutcome out_;
    LineReader reader_ {readerChunk};
    FileDescriptor file_;
    std::uint64_t size_ = 0;
    std::uint64_t total_ = 0; // of the progress: the bytes, and an eighth more for combining
    KeyExtractor keys_;
    WideHasher hasher_;
    TallyTable table_;
    std::vector<TallyFile> partitions_; // empty until the table first fills
    std::uint64_t consumed_ = 0; // bytes of the file the lines read so far took
    std::uint64_t takingPart_ = 0;
    std::uint64_t kept_ = 0;
    bool failed_ = false;

    static constexpr std::size_t ringSize = 16;
    struct Pending
    {
        WideHash hash;
        std::uint64_t line;
    };
    Pending ring_[ringSize];
    std::uint64_t taken_ = 0;
};

bool Scan::fail(const QString &reason)
{
    out_.status = Status::Failed;
    out_.error = reason;
    failed_ = true;
    return false;
}

bool Scan::failWriting(int errorNumber)
{
    return fail(spill::cannotWriteText(request_.spillFolder, errorNumber));
}

bool Scan::stop()
{
    out_.status = Status::Stopped;
    failed_ = true;
    return false;
}

bool Scan::report(std::uint64_t done)
{
    return keepGoing(progress_, qint64(std::min(done, total_)), qint64(total_)) || stop();
}

bool Scan::open()
{
    file_.reset(sys::open(fileNameBytes(request_.file).constData(), O_RDONLY | O_CLOEXEC));
    const std::optional<FileStamp> stamp
        = file_.isOpen() ? stampOf(file_.get()) : std::optional<FileStamp>();
    if (!stamp)
        return fail(systemReason(errno));
    out_.stamp = *stamp;
    size_ = std::uint64_t(stamp->size);
    total_ = size_ + size_ / 8 + 1;
    // What the lines' bits, the partitions' buffers and the reader take comes first; the table
    // gets the rest.
    const std::uint64_t lines = memory::estimateLineCount(file_.get(), size_, request_.lineEnds);
    const std::uint64_t fixed = lines / 8 * (request_.alsoLastKept ? 2 : 1)
        + partitionCount * fileBuffer + 2 * readerChunk + (std::uint64_t(4) << 20);
    const std::uint64_t forTable = request_.budget > fixed ? request_.budget - fixed : 0;
    table_ = TallyTable(std::size_t(forTable / tallySize));
    FileDescriptor reading(::dup(file_.get()));
    if (!reading.isOpen())
        return fail(systemReason(errno));
    reader_.setLineEnds(request_.lineEnds);
    // Beyond the budget, which the table takes, a line may have a sixteenth of it, and at least
    // what any file of text needs.
    reader_.setLongestLine(std::size_t(std::max(request_.budget / 16, longestLineFloor)));
    reader_.adopt(std::move(reading));
    return true;
}

OutOfCoreOutcome Scan::run()
{
    try {
        if (open() && readLines()) {
            if (partitions_.empty()) {
                table_.forEach([this](const Tally &tally) { settle(tally); });
            } else if (spill()) {
                table_.clear();
                for (std::size_t p = 0; p < partitions_.size() && !failed_; ++p) {
                    if (report(size_ + size_ / 8 * p / partitionCount))
                        settlePartition(partitions_[p], 0);
                }
            }
        }
    } catch (const std::bad_alloc &) {
        fail(systemReason(ENOMEM));
    }
    partitions_.clear();
    if (failed_)
        return std::move(out_);
    out_.removedCount = takingPart_ - kept_;
    out_.status = Status::Done;
    return std::move(out_);
}

bool Scan::readLines()
{
    std::string_view line;
    LineBreak lineBreak = LineBreak::None;
    std::string converted;
    std::string scratch;
    std::uint64_t n = 0;
    bool wide = false;
    for (; reader_.next(line, lineBreak); ++n) {
        if (n == 0) {
            if (!reader_.readable())
                return fail(unreadableText());
            wide = isWide(reader_.encoding());
            consumed_ = reader_.mark().size();
        }
        if (n % linesBetweenReports == 0 && !report(consumed_))
            return false;
        consumed_ += line.size() + breakBytes(lineBreak, wide);
        if (wide) {
            converted = convertLine(line, reader_.encoding() == FileEncoding::Utf16Be);
            line = converted;
        }
        const std::optional<std::string_view> key = keys_.keyOf(line, scratch);
        if (!key)
            continue;
        ++takingPart_;
        if (!out_.removed.set(n) || (request_.alsoLastKept && !out_.removedWithLastKept.set(n)))
            throw std::bad_alloc();
        take(hasher_(*key), n);
        if (failed_)
            return false;
    }
    for (std::uint64_t t = taken_ >= ringSize ? taken_ - ringSize + 1 : 0; t < taken_; ++t) {
        if (!place(ring_[t % ringSize].hash, ring_[t % ringSize].line))
            return false;
    }
    out_.lineCount = n;
    if (!reader_.error().isEmpty())
        return fail(reader_.error());
    const std::optional<FileStamp> after = stampOf(file_.get());
    if (!after || !after->sameContent(out_.stamp))
        return fail(LoadedText::changedWhileRead());
    out_.contentHash = reader_.contentHash();
    return report(size_);
}

// A line's slot is fetched some lines before it is counted, so that the fetches of several
// lines overlap instead of following one another.
void Scan::take(const WideHash &hash, std::uint64_t line)
{
    table_.prefetch(hash);
    ring_[taken_ % ringSize] = {hash, line};
    if (++taken_ >= ringSize) {
        const Pending &oldest = ring_[taken_ % ringSize];
        place(oldest.hash, oldest.line);
    }
}

bool Scan::place(const WideHash &hash, std::uint64_t line)
{
    table_.add(hash, line);
    if (!table_.full())
        return true;
    if (!spill())
        return false;
    table_.clear();
    return true;
}

// Before the first tally is written: the room the files will take, judged by what the table
// holds for the bytes read so far, with a quarter more for partitions split again. They take
// more than that only when the file's later lines are more varied than its first.
bool Scan::checkRoom()
{
    std::uint64_t perRun = 0;
    table_.forEach([&](const Tally &t) { perRun += t.count == 1 ? shortTally : tallySize; });
    const double runs = double(size_) / double(std::max<std::uint64_t>(consumed_, 1));
    const auto needed = std::uint64_t(double(perRun) * runs * 1.25);
    struct statfs at
    {
    };
    if (::statfs(fileNameBytes(request_.spillFolder).constData(), &at) != 0)
        return failWriting(errno);
    const std::uint64_t room = std::uint64_t(at.f_bavail) * std::uint64_t(at.f_bsize);
    if (room < needed)
        return fail(spill::spaceNeededText(needed, request_.spillFolder));
    return true;
}

std::vector<TallyFile> Scan::newPartitions() const
{
    std::vector<TallyFile> files;
    files.reserve(partitionCount);
    for (std::size_t p = 0; p < partitionCount; ++p)
        files.emplace_back(request_.spillFolder, fileBuffer);
    return files;
}

bool Scan::spill()
{
    if (partitions_.empty()) {
        partitions_ = newPartitions();
        if (!checkRoom())
            return false;
    }
    // A large table takes a good part of a second to write out: a stop is seen meanwhile too.
    bool written = true;
    std::uint64_t count = 0;
    table_.forEach([&](const Tally &tally) {
        written = written && !failed_ && partitions_[partitionOf(tally.hash, 0)].write(tally);
        if (++count % linesBetweenReports == 0 && written)
            report(consumed_);
    });
    if (failed_)
        return false;
    for (TallyFile &file : partitions_)
        written = written && file.flush();
    return written || failWriting(errno);
}

// A partition's tallies are combined in the table; when its keys turn out more than the table
// holds, it is split by the next bits of the hash and each part combined in turn. Once the bits
// are used up, the table grows instead: so many keys of one 60-bit prefix do not happen.
bool Scan::settlePartition(TallyFile &file, unsigned level)
{
    if (!file.flush() || !file.rewind())
        return failWriting(errno);
    Tally tally;
    std::uint64_t read = 0;
    while (file.next(tally)) {
        if (table_.full()) {
            if (level < deepestLevel) {
                table_.clear();
                return splitPartition(file, level);
            }
            if (!table_.grow())
                throw std::bad_alloc();
        }
        table_.merge(tally);
        if (++read % linesBetweenReports == 0 && !report(size_))
            return false;
    }
    if (file.failed())
        return failWriting(errno);
    table_.forEach([this](const Tally &t) { settle(t); });
    table_.clear();
    return true;
}

bool Scan::splitPartition(TallyFile &file, unsigned level)
{
    std::vector<TallyFile> parts = newPartitions();
    Tally tally;
    if (!file.rewind())
        return failWriting(errno);
    while (file.next(tally)) {
        if (!parts[partitionOf(tally.hash, level + 1)].write(tally))
            return failWriting(errno);
    }
    if (file.failed())
        return failWriting(errno);
    file = TallyFile(QString()); // its room goes before the parts are read
    for (TallyFile &part : parts) {
        if (!report(size_) || !settlePartition(part, level + 1))
            return false;
    }
    return true;
}

// A key's lines are all marked removed as they are read; the one it keeps is cleared here.
void Scan::settle(const Tally &tally)
{
    if (tally.count > 1) {
        ++out_.groupCount;
        out_.entryCount += tally.count;
    }
    if (request_.alsoLastKept)
        out_.removedWithLastKept.clear(tally.last);
    switch (request_.kept) {
    case KeptOccurrence::First:
        out_.removed.clear(tally.first);
        break;
    case KeptOccurrence::Last:
        out_.removed.clear(tally.last);
        break;
    case KeptOccurrence::None:
        if (tally.count > 1)
            return;
        out_.removed.clear(tally.first);
        break;
    }
    ++kept_;
}
} // namespace

OutOfCoreOutcome OutOfCoreScan::run(const OutOfCoreRequest &request, const ProgressFn &progress)
{
    return Scan(request, progress).run();
}

} // namespace twinscan
