#include "engine/LoadedText.h"

#include <QCoreApplication>
#include <QFile>
#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace twinscan {

namespace {
constexpr std::size_t readChunk = std::size_t(8) << 20;

struct Fd
{
    int fd = -1;
    ~Fd()
    {
        if (fd >= 0)
            ::close(fd);
    }
};

QString tr(const char *text)
{
    return QCoreApplication::translate("TextLoader", text);
}
} // namespace

void LoadedText::buildIndex(const ProgressFn &progress)
{
    const char *begin = buffer_.get();
    const char *end = begin + size_;
    hasBom_ = startsWithBom(begin, size_);
    const char *first = hasBom_ ? begin + bomSize : begin;

    // Count first so that the index is allocated once, at its final size.
    std::size_t count = 0;
    for (const char *p = first; p < end; ++count)
        p = nextLine(p, end, true).next;
    if (count > std::size_t(INT_MAX) - 1) {
        indexError_ = tr("The file has more lines than Twinscan can hold");
        return;
    }
    starts_.reserve(count);
    lengths_.reserve(count);
    const qint64 total = qint64(size_);
    for (const char *p = first; p < end;) {
        const NextLine line = nextLine(p, end, true);
        if (line.end - p > qint64(UINT32_MAX)) {
            indexError_ = tr("The file has a line longer than 4 GB");
            return;
        }
        if (firstBreak_ == LineBreak::None)
            firstBreak_ = line.lineBreak;
        starts_.push_back(std::uint64_t(p - begin));
        lengths_.push_back(std::uint32_t(line.end - p));
        p = line.next;
        if ((starts_.size() & 0xFFFF) == 0 && !keepGoing(progress, p - begin, total)) {
            indexStopped_ = true;
            return;
        }
    }
    encoding_ = isValidUtf8(begin, size_) ? TextEncoding::Utf8 : TextEncoding::Latin1;
}

std::shared_ptr<LoadedText> LoadedText::fromBytes(std::string_view bytes)
{
    auto text = std::make_shared<LoadedText>();
    text->buffer_.reset(static_cast<char *>(std::malloc(bytes.size() + 1)));
    std::memcpy(text->buffer_.get(), bytes.data(), bytes.size());
    text->size_ = bytes.size();
    text->buildIndex({});
    return text;
}

LoadResult TextLoader::load(const QString &path, const ProgressFn &progress)
{
    Fd file;
    file.fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (file.fd < 0)
        return {nullptr, false, systemReason(errno)};
    const auto stamp = stampOf(file.fd);
    if (!stamp)
        return {nullptr, false, systemReason(errno)};

    auto text = std::make_shared<LoadedText>();
    text->stamp_ = *stamp;
    // The file may grow while it is read: the buffer grows with it, and the save later sees the
    // changed stamp and refuses to apply these line numbers.
    std::size_t capacity = std::size_t(stamp->size) + 1;
    text->buffer_.reset(static_cast<char *>(std::malloc(capacity)));
    if (!text->buffer_)
        return {nullptr, false, systemReason(ENOMEM)};
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) {
            capacity *= 2;
            char *grown = static_cast<char *>(std::realloc(text->buffer_.get(), capacity));
            if (!grown)
                return {nullptr, false, systemReason(ENOMEM)};
            (void)text->buffer_.release();
            text->buffer_.reset(grown);
        }
        const ssize_t got
            = ::read(file.fd, text->buffer_.get() + size, std::min(readChunk, capacity - size));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return {nullptr, false, systemReason(errno)};
        if (got == 0)
            break;
        size += std::size_t(got);
        if (!keepGoing(progress, qint64(size), std::max<qint64>(stamp->size, qint64(size))))
            return {nullptr, true, {}};
    }
    text->size_ = size;
    text->buildIndex(progress);
    if (text->indexStopped_)
        return {nullptr, true, {}};
    if (!text->indexError_.isEmpty())
        return {nullptr, false, text->indexError_};
    return {std::move(text), false, {}};
}

} // namespace twinscan
