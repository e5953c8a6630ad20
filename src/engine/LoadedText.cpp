#include "engine/LoadedText.h"

#include "engine/ContentHash.h"
#include "engine/FileName.h"
#include "engine/MemoryBudget.h"
#include "engine/SystemCalls.h"
#include "engine/WideLines.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <numeric>

namespace twinscan {

namespace {
constexpr std::size_t readChunk = std::size_t(8) << 20;
constexpr std::size_t none = std::size_t(-1);
} // namespace

// The file cut into pieces that are indexed side by side: first every piece counts its breaks
// (and hashes the chunks that start in it), then, with the counts added up, every piece writes
// the index entries of the lines its breaks end.
struct LoadedText::Pieces
{
    Parallelism parallelism;
    bool hashing = false;
    std::size_t first = 0; // where line 1 starts
    std::size_t count = 0;
    std::vector<std::size_t> breaks; // per piece; then the number of breaks before it
    std::vector<std::size_t> lastEnd; // per piece, the end of its last break; then the line start
    std::vector<std::size_t> lfBreaks; // per piece, its breaks that are a lone LF
    std::vector<std::size_t> crLfBreaks; // and those that are CR LF
    std::vector<std::uint64_t> digests; // per hash chunk
    std::vector<std::vector<std::pair<int, std::size_t>>> longLines; // per piece
    std::atomic<std::size_t> bytesDone {0};

    std::size_t begin(std::size_t piece) const { return piece * parallelism.pieceBytes; }
};

// The breaks of the piece [begin, end) by the text's line ends, each kind its own loop.
template<class BreakFn>
void LoadedText::eachBreak(
    const Pieces &pieces, std::size_t begin, std::size_t end, BreakFn &&brk) const
{
    const char *first = data_ + pieces.first;
    const char *from = data_ + std::max(begin, pieces.first);
    if (lineEnds_ == LineEnds::Nul)
        forEachBreak<LineEnds::Nul>(first, from, data_ + end, brk);
    else
        forEachBreak(first, from, data_ + end, brk);
}

void LoadedText::countPiece(Pieces &pieces, std::size_t piece)
{
    const std::size_t begin = pieces.begin(piece);
    const std::size_t end = std::min(size_, begin + pieces.parallelism.pieceBytes);
    if (pieces.hashing) {
        const std::size_t chunk = ContentHash::chunkBytes;
        for (std::size_t at = (begin + chunk - 1) / chunk * chunk; at < end; at += chunk)
            pieces.digests[at / chunk]
                = ContentHash::chunkDigest(data_ + at, std::min(chunk, size_ - at));
    }
    std::size_t breaks = 0;
    const char *last = nullptr;
    eachBreak(pieces, begin, end, [&](const char *brk) {
        ++breaks;
        last = brk;
    });
    pieces.breaks[piece] = breaks;
    markPagesBeyondAscii(std::min(end, std::max(begin, pieces.first)), end);
    pieces.lastEnd[piece] = last ? std::size_t(afterBreak(last, data_ + size_) - data_) : none;
    pieces.bytesDone += end - begin;
}

// A page may be shared by two pieces, each telling what it holds of it.
void LoadedText::markPagesBeyondAscii(std::size_t from, std::size_t end)
{
    for (std::size_t at = from; at < end;) {
        const std::size_t page = at / asciiPageBytes;
        const std::size_t pageEnd = std::min(end, (page + 1) * asciiPageBytes);
        if (!isAscii(std::string_view(data_ + at, pageEnd - at)))
            std::atomic_ref(asciiPages_[page]).store(0, std::memory_order_relaxed);
        at = pageEnd;
    }
}

bool LoadedText::knownAscii(std::string_view bytes) const
{
    if (bytes.empty())
        return true;
    const auto at = std::size_t(bytes.data() - data_);
    const std::size_t last = (at + bytes.size() - 1) / asciiPageBytes;
    if (last >= asciiPages_.size())
        return false; // not indexed
    for (std::size_t page = at / asciiPageBytes; page <= last; ++page) {
        if (!asciiPages_[page])
            return false;
    }
    return true;
}

void LoadedText::fillPiece(Pieces &pieces, std::size_t piece)
{
    const std::size_t begin = pieces.begin(piece);
    const std::size_t end = std::min(size_, begin + pieces.parallelism.pieceBytes);
    std::size_t line = pieces.breaks[piece];
    std::size_t start = pieces.lastEnd[piece];
    std::size_t lfs = 0, crLfs = 0;
    eachBreak(pieces, begin, end, [&](const char *brk) {
        const auto length = std::size_t(brk - data_) - start;
        if (length >= longLine)
            pieces.longLines[piece].emplace_back(int(line), length);
        index_[line]
            = std::uint64_t(start) << lengthBits | std::min<std::uint64_t>(length, longLine);
        ++line;
        const char *next = afterBreak(brk, data_ + size_);
        lfs += *brk == '\n' ? 1 : 0;
        crLfs += next - brk == 2 ? 1 : 0;
        start = std::size_t(next - data_);
    });
    pieces.lfBreaks[piece] = lfs;
    pieces.crLfBreaks[piece] = crLfs;
    pieces.bytesDone += end - begin;
}

// Counts the breaks of every piece, makes the counts into where each piece's lines start and
// the index as large as they need, and fills it. False when stopped or refused.
bool LoadedText::indexPieces(Pieces &pieces, const ProgressFn &progress)
{
    const std::size_t count = pieces.breaks.size();
    const qint64 total = 2 * qint64(size_);
    const auto report = [&] { return keepGoing(progress, qint64(pieces.bytesDone), total); };
    const auto run = [&](void (LoadedText::*step)(Pieces &, std::size_t)) {
        if (runLanes(
                pieces.parallelism.threads, count, 1,
                [&](std::size_t piece, std::size_t) { (this->*step)(pieces, piece); }, report))
            return true;
        indexStopped_ = true;
        return false;
    };
    if (!run(&LoadedText::countPiece))
        return false;
    std::size_t breaks = 0;
    std::size_t start = pieces.first;
    for (std::size_t piece = 0; piece < count; ++piece) {
        breaks += std::exchange(pieces.breaks[piece], breaks);
        const std::size_t end = pieces.lastEnd[piece];
        pieces.lastEnd[piece] = start;
        start = end == none ? start : end;
    }
    const std::size_t lines = breaks + (start < size_ ? 1 : 0);
    if (lines >= std::size_t(INT_MAX)) {
        indexError_ = tr("The file has more lines than Twinscan can hold");
        return false;
    }
    if (!index_.resize(lines)) {
        indexError_ = systemReason(ENOMEM);
        return false;
    }
    if (!run(&LoadedText::fillPiece))
        return false;
    for (const auto &longOnes : pieces.longLines)
        longLines_.insert(longLines_.end(), longOnes.begin(), longOnes.end());
    const auto sum = [](const std::vector<std::size_t> &counts) {
        return std::accumulate(counts.begin(), counts.end(), std::size_t(0));
    };
    if (breaks > 0 && lineEnds_ == LineEnds::Nul)
        uniformBreak_ = LineBreak::Nul;
    else if (breaks > 0 && sum(pieces.lfBreaks) == breaks)
        uniformBreak_ = LineBreak::Lf;
    else if (breaks > 0 && sum(pieces.crLfBreaks) == breaks)
        uniformBreak_ = LineBreak::CrLf;
    if (start < size_) {
        const std::size_t length = size_ - start;
        if (length >= longLine)
            longLines_.emplace_back(int(breaks), length);
        index_[breaks]
            = std::uint64_t(start) << lengthBits | std::min<std::uint64_t>(length, longLine);
    }
    lineCount_ = int(lines);
    return true;
}

void LoadedText::buildIndex(
    const Parallelism &parallelism, bool hashing, const ProgressFn &progress)
{
    // A UTF-16 file's mark went with its conversion.
    const bool utf8Mark = !isWide(encoding_) && startsWithBom(data_, size_);
    hasBom_ = utf8Mark || isWide(encoding_);
    Pieces pieces;
    pieces.parallelism = parallelism;
    pieces.parallelism.pieceBytes = std::max<std::size_t>(parallelism.pieceBytes, 1);
    pieces.hashing = hashing;
    pieces.first = utf8Mark ? bomSize : 0;
    if (size_ >> (64 - lengthBits)) {
        indexError_ = tr("The file is too large for Twinscan");
        return;
    }
    const std::size_t count
        = (size_ + pieces.parallelism.pieceBytes - 1) / pieces.parallelism.pieceBytes;
    pieces.breaks.resize(count);
    pieces.lastEnd.resize(count);
    pieces.lfBreaks.resize(count);
    pieces.crLfBreaks.resize(count);
    pieces.longLines.resize(count);
    asciiPages_.assign((size_ + asciiPageBytes - 1) / asciiPageBytes, 1);
    if (hashing)
        pieces.digests.resize((size_ + ContentHash::chunkBytes - 1) / ContentHash::chunkBytes);
    if (!indexPieces(pieces, progress))
        return;
    if (hashing)
        contentHash_ = ContentHash::combine(pieces.digests);
    if (lineCount_ > 0)
        firstBreak_ = (lineEnds_ == LineEnds::Nul ? nextRecord : nextLine)(
            data_ + pieces.first, data_ + size_, true)
                          .lineBreak;
}

// Converts a UTF-16 file's text once, so that the scan, the lists and the viewer read UTF-8 lines
// as they do for any other file; the save still copies the file's own bytes.
bool LoadedText::convertWide()
{
    const char *begin = data_ + markOf(encoding_, false).size();
    BulkArray<char> converted;
    if (!converted.resize(convertedRoom(size_) + 1))
        return false;
    const char *end = twinscan::convertWide(
        begin, data_ + size_, encoding_ == FileEncoding::Utf16Be, converted.data());
    source_ = std::string_view(data_, size_);
    size_ = std::size_t(end - converted.data());
    buffer_.swap(converted);
    if (source_.data() == converted.data())
        original_.swap(converted); // nowhere else to read them again from: a pipe's, say
    data_ = buffer_.data();
    return true;
}

// `rawBytes`: data_ holds the file's own bytes, not yet hashed.
void LoadedText::prepare(const Parallelism &parallelism, bool rawBytes, const ProgressFn &progress)
{
    if (isWide(encoding_)) {
        if (rawBytes) {
            ContentHash hash;
            hash.add(data_, size_);
            contentHash_ = hash.value();
        }
        if (!convertWide()) {
            indexError_ = systemReason(ENOMEM);
            return;
        }
        rawBytes = false;
    }
    buildIndex(parallelism, rawBytes, progress);
}

std::size_t LoadedText::longLineLength(int line) const
{
    const auto found = std::lower_bound(
        longLines_.begin(), longLines_.end(), std::pair<int, std::size_t>(line, 0));
    return found->second;
}

bool LoadedText::intact() const
{
    if (!mapped_.data())
        return true;
    const auto now = stampOf(file_.get());
    return !mapped_.damaged() && now && now->sameContent(stamp_);
}

bool LoadedText::stillScanned() const
{
    if (!withdrawn_.load(std::memory_order_relaxed) && !intact())
        withdrawn_.store(true, std::memory_order_relaxed);
    return !withdrawn_.load(std::memory_order_relaxed);
}

std::shared_ptr<LoadedText> LoadedText::fromBytes(
    std::string_view bytes, const Parallelism &parallelism, LineEnds ends)
{
    auto text = std::make_shared<LoadedText>();
    if (!text->buffer_.resize(bytes.size() + 1))
        throw std::bad_alloc();
    if (!bytes.empty())
        std::memcpy(text->buffer_.data(), bytes.data(), bytes.size());
    text->data_ = text->buffer_.data();
    text->size_ = bytes.size();
    // Data that a load would refuse is indexed as bytes.
    const FileEncoding marked = markedEncoding(bytes.data(), bytes.size());
    text->lineEnds_ = ends;
    text->encoding_ = isWide(marked) && ends == LineEnds::Text ? marked : FileEncoding::Bytes;
    text->prepare(parallelism, true, {});
    return text;
}

namespace {
// Whether a stream read so far would still fit its budget once scanned in memory, judged by the
// line breaks at the start of each chunk read: counting them all would slow every read.
class StreamLimit
{
public:
    StreamLimit(std::uint64_t budget, LineEnds ends) : budget_(budget), ends_(ends) { }

    // After `got` bytes more, the last of the `size` at `data`.
    bool fits(const char *data, std::size_t size, std::size_t got)
    {
        if (budget_ == UINT64_MAX)
            return true;
        const std::size_t sample = std::min(got, sampleBytes);
        sampled_ += sample;
        breaks_ += memory::countLineBreaks({data + size - got, sample}, ends_);
        const bool wide = ends_ == LineEnds::Text
            && isWide(markedEncoding(data, std::min(size, encodingMarkBytes)));
        return memory::streamFitsInMemory(size, sampled_, breaks_, wide, budget_);
    }

private:
    static constexpr std::size_t sampleBytes = 64 << 10;
    std::uint64_t budget_;
    LineEnds ends_;
    std::uint64_t sampled_ = 0;
    std::uint64_t breaks_ = 0;
};

struct WholeRead
{
    BulkArray<char> &buffer;
    std::size_t size = 0;
    std::uint64_t hash = 0;
    bool stopped = false;
    bool outgrown = false; // the limit was reached: `buffer` holds what was read
};

// Reads what cannot be mapped (a file the system will not map, or one that reports no size)
// into a buffer that grows with it, hashing it on the way.
QString readWhole(
    int fd, std::size_t expected, StreamLimit &limit, WholeRead &read, const ProgressFn &progress)
{
    BulkArray<char> &buffer = read.buffer;
    if (!buffer.resize(expected + 1))
        return systemReason(ENOMEM);
    ContentHash hash; // while the bytes are still in the cache
    std::size_t &size = read.size;
    for (;;) {
        if (size == buffer.size() && !buffer.resize(buffer.size() * 2))
            return systemReason(ENOMEM);
        const ssize_t got
            = sys::read(fd, buffer.data() + size, std::min(readChunk, buffer.size() - size));
        if (got < 0)
            return systemReason(errno);
        if (got == 0)
            break;
        hash.add(buffer.data() + size, std::size_t(got));
        size += std::size_t(got);
        if (!limit.fits(buffer.data(), size, std::size_t(got))) {
            read.outgrown = true;
            return {};
        }
        if (!keepGoing(
                progress, qint64(size), 2 * std::max<qint64>(qint64(expected), qint64(size)))) {
            read.stopped = true;
            return {};
        }
    }
    read.hash = hash.value();
    return {};
}
} // namespace

namespace {
LoadResult failedLoad(const QString &reason)
{
    LoadResult failed;
    failed.error = reason;
    return failed;
}

LoadResult stoppedLoad()
{
    LoadResult stopped;
    stopped.stopped = true;
    return stopped;
}

LoadResult unreadableLoad()
{
    LoadResult unreadable;
    unreadable.unreadable = true;
    return unreadable;
}
} // namespace

LoadResult TextLoader::load(
    const QString &path, const ProgressFn &progress, const Parallelism &parallelism, LineEnds ends)
{
    FileDescriptor file(sys::open(fileNameBytes(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.isOpen())
        return failedLoad(systemReason(errno));
    return load(std::move(file), progress, parallelism, ends);
}

LoadResult TextLoader::load(FileDescriptor file, const ProgressFn &progress,
    const Parallelism &parallelism, LineEnds ends, std::uint64_t budget)
{
    struct stat st = {};
    if (::fstat(file.get(), &st) != 0)
        return failedLoad(systemReason(errno));

    auto text = std::make_shared<LoadedText>();
    text->stamp_ = stampOf(st);
    const auto expected = std::size_t(std::max<std::int64_t>(text->stamp_.size, 0));
    const bool mapped = S_ISREG(st.st_mode) && text->mapped_.map(file.get(), expected);
    if (mapped) {
        text->data_ = text->mapped_.data();
        text->size_ = expected;
        text->file_ = std::move(file);
    } else {
        // The file may grow while it is read: the buffer grows with it, and the save later sees
        // the changed stamp and refuses to apply these line numbers.
        StreamLimit limit(budget, ends);
        WholeRead read {text->buffer_};
        const QString error = readWhole(file.get(), expected, limit, read, progress);
        if (read.stopped)
            return stoppedLoad();
        if (!error.isEmpty())
            return failedLoad(error);
        if (read.outgrown) {
            auto rest = std::make_shared<StreamOverflow>(
                StreamOverflow {std::move(text->buffer_), read.size, std::move(file)});
            LoadResult outgrown;
            outgrown.overflow = std::move(rest);
            return outgrown;
        }
        text->size_ = read.size;
        text->contentHash_ = read.hash;
        text->data_ = text->buffer_.data();
    }
    text->lineEnds_ = ends;
    text->encoding_
        = ends == LineEnds::Nul ? FileEncoding::Bytes : detectEncoding(text->data_, text->size_);
    if (text->encoding_ == FileEncoding::Unreadable)
        return unreadableLoad();
    text->prepare(parallelism, mapped, progress);
    if (text->indexStopped_)
        return stoppedLoad();
    if (!text->indexError_.isEmpty())
        return failedLoad(text->indexError_);
    if (!text->intact())
        return failedLoad(LoadedText::changedWhileRead());
    LoadResult loaded;
    loaded.text = std::move(text);
    return loaded;
}

} // namespace twinscan
