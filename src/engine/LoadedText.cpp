#include "engine/LoadedText.h"

#include "engine/ContentHash.h"
#include "engine/FileDescriptor.h"
#include "engine/SystemCalls.h"
#include "engine/WideLines.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>

namespace twinscan {

namespace {
constexpr std::size_t readChunk = std::size_t(8) << 20;
} // namespace

void LoadedText::buildIndex(const ProgressFn &progress)
{
    const char *begin = buffer_.data();
    const char *end = begin + size_;
    // A UTF-16 file's mark went with its conversion.
    const bool utf8Mark = !isWide(encoding_) && startsWithBom(begin, size_);
    hasBom_ = utf8Mark || isWide(encoding_);
    const char *first = utf8Mark ? begin + bomSize : begin;
    if (size_ >> (64 - lengthBits)) {
        indexError_ = tr("The file is too large for Twinscan");
        return;
    }

    // Count first so that the index is allocated once, at its final size.
    std::size_t count = 0;
    forEachLine(first, end, [&count](const char *, std::size_t) { return ++count < INT_MAX; });
    if (count >= std::size_t(INT_MAX)) {
        indexError_ = tr("The file has more lines than Twinscan can hold");
        return;
    }
    if (!index_.resize(count)) {
        indexError_ = systemReason(ENOMEM);
        return;
    }
    if (count > 0)
        firstBreak_ = nextLine(first, end, true).lineBreak;
    const qint64 total = 2 * qint64(size_);
    std::size_t line = 0;
    forEachLine(first, end, [&](const char *start, std::size_t length) {
        if (length >= longLine)
            longLines_.emplace_back(int(line), length);
        index_[line] = std::uint64_t(start - begin) << lengthBits | std::min(length, longLine);
        ++line;
        if ((line & 0xFFFF) == 0 && !keepGoing(progress, qint64(size_) + (start - begin), total)) {
            indexStopped_ = true;
            return false;
        }
        return line < count;
    });
    lineCount_ = int(line);
}

// Converts a UTF-16 file's text once, so that the scan, the lists and the viewer read UTF-8 lines
// as they do for any other file; the save still copies the file's own bytes.
bool LoadedText::convertWide()
{
    const char *begin = buffer_.data() + markOf(encoding_, false).size();
    BulkArray<char> converted;
    if (!converted.resize(convertedRoom(size_) + 1))
        return false;
    const char *end = twinscan::convertWide(
        begin, buffer_.data() + size_, encoding_ == FileEncoding::Utf16Be, converted.data());
    size_ = std::size_t(end - converted.data());
    buffer_.swap(converted);
    return true;
}

void LoadedText::prepare(const ProgressFn &progress)
{
    if (isWide(encoding_) && !convertWide()) {
        indexError_ = systemReason(ENOMEM);
        return;
    }
    buildIndex(progress);
}

std::size_t LoadedText::longLineLength(int line) const
{
    const auto found = std::lower_bound(
        longLines_.begin(), longLines_.end(), std::pair<int, std::size_t>(line, 0));
    return found->second;
}

std::shared_ptr<LoadedText> LoadedText::fromBytes(std::string_view bytes)
{
    auto text = std::make_shared<LoadedText>();
    if (!text->buffer_.resize(bytes.size() + 1))
        throw std::bad_alloc();
    if (!bytes.empty())
        std::memcpy(text->buffer_.data(), bytes.data(), bytes.size());
    text->size_ = bytes.size();
    ContentHash hash;
    hash.add(bytes.data(), bytes.size());
    text->contentHash_ = hash.value();
    // Data that a load would refuse is indexed as bytes.
    const FileEncoding marked = markedEncoding(bytes.data(), bytes.size());
    text->encoding_ = isWide(marked) ? marked : FileEncoding::Bytes;
    text->prepare({});
    return text;
}

LoadResult TextLoader::load(const QString &path, const ProgressFn &progress)
{
    const FileDescriptor file(sys::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC));
    if (!file.isOpen())
        return {nullptr, false, systemReason(errno)};
    const auto stamp = stampOf(file.get());
    if (!stamp)
        return {nullptr, false, systemReason(errno)};

    auto text = std::make_shared<LoadedText>();
    text->stamp_ = *stamp;
    // The file may grow while it is read: the buffer grows with it, and the save later sees the
    // changed stamp and refuses to apply these line numbers.
    BulkArray<char> &buffer = text->buffer_;
    if (!buffer.resize(std::size_t(stamp->size) + 1))
        return {nullptr, false, systemReason(ENOMEM)};
    std::size_t size = 0;
    ContentHash hash; // while the bytes are still in the cache
    for (;;) {
        if (size == buffer.size() && !buffer.resize(buffer.size() * 2))
            return {nullptr, false, systemReason(ENOMEM)};
        const ssize_t got = sys::read(
            file.get(), buffer.data() + size, std::min(readChunk, buffer.size() - size));
        if (got < 0)
            return {nullptr, false, systemReason(errno)};
        if (got == 0)
            break;
        hash.add(buffer.data() + size, std::size_t(got));
        size += std::size_t(got);
        if (!keepGoing(progress, qint64(size), 2 * std::max<qint64>(stamp->size, qint64(size))))
            return {nullptr, true, {}};
    }
    text->size_ = size;
    text->contentHash_ = hash.value();
    text->encoding_ = detectEncoding(buffer.data(), size);
    if (text->encoding_ == FileEncoding::Unreadable)
        return {nullptr, false, {}, true};
    text->prepare(progress);
    if (text->indexStopped_)
        return {nullptr, true, {}};
    if (!text->indexError_.isEmpty())
        return {nullptr, false, text->indexError_};
    return {std::move(text), false, {}};
}

} // namespace twinscan
