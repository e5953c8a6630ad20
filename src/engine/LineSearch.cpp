#include "engine/LineSearch.h"

#include "engine/TextEncoding.h"

#include <algorithm>
#include <string_view>

namespace twinscan {

namespace {

char foldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
}

// `needle` is lower-case ASCII.
bool containsFolded(std::string_view haystack, std::string_view needle)
{
    return std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
               [](char a, char b) { return foldAscii(a) == b; })
        != haystack.end();
}

} // namespace

LineSearch::LineSearch(std::shared_ptr<const LoadedText> text, const QString &needle,
    bool matchCase, int from, Direction direction)
    : text_(std::move(text)),
      needle_(matchCase ? needle : needle.toCaseFolded()),
      matchCase_(matchCase),
      next_(from),
      stepBy_(direction == Direction::Forward ? 1 : -1)
{
    const QByteArray utf8 = needle_.toUtf8();
    if (isAscii(std::string_view(utf8.constData(), std::size_t(utf8.size()))))
        asciiNeedle_ = utf8.toStdString();
    // Nothing to look for finds nothing.
    if (needle_.isEmpty())
        searched_ = text_->lineCount();
}

bool LineSearch::step(int lines)
{
    const int count = text_->lineCount();
    for (int i = 0; i < lines && !done(); ++i) {
        next_ = ((next_ + stepBy_) % count + count) % count;
        ++searched_;
        if (matches(next_))
            found_ = next_;
    }
    return done();
}

// Most lines are plain ASCII: an ASCII needle is looked for in their bytes, which read the same
// in either encoding. Other lines are decoded as they are shown and searched there.
bool LineSearch::matches(int line) const
{
    const std::string_view bytes = text_->lineBytes(line);
    if (!asciiNeedle_.empty()) {
        if (matchCase_ ? bytes.find(asciiNeedle_) != std::string_view::npos
                       : containsFolded(bytes, asciiNeedle_))
            return true;
        // A letter beyond ASCII may still fold to an ASCII one (the Kelvin sign to k).
        return !matchCase_ && !isAscii(bytes) && matchesDecoded(line);
    }
    // A needle beyond ASCII, folded or not, is never in a line of ASCII characters only.
    return !isAscii(bytes) && matchesDecoded(line);
}

bool LineSearch::matchesDecoded(int line) const
{
    return text_->lineText(line).contains(
        needle_, matchCase_ ? Qt::CaseSensitive : Qt::CaseInsensitive);
}

} // namespace twinscan
