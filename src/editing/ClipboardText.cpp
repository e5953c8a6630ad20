#include "editing/ClipboardText.h"

#include <QStringDecoder>
#include <algorithm>

namespace twinscan {

namespace {
bool chosen(const ListItem &item, CopyScope scope)
{
    return scope == CopyScope::All || item.selected;
}

// Entries visit lines all over the file. Asking for the index entry and the bytes of lines a few
// entries ahead hides most of the wait for memory.
void prefetchAhead(const LoadedText &text, const LineList &duplicates, int entry, bool bytesToo)
{
    constexpr int indexAhead = 16;
    constexpr int bytesAhead = 8;
    const int count = duplicates.ListCount();
    if (entry + indexAhead < count)
        text.prefetchLine(int(duplicates.itemAt(entry + indexAhead).line));
    if (bytesToo && entry + bytesAhead < count)
        __builtin_prefetch(text.lineBytes(int(duplicates.itemAt(entry + bytesAhead).line)).data());
}

std::size_t chosenBytes(const LoadedText &text, const LineList &duplicates, CopyScope scope)
{
    std::size_t bytes = 0;
    for (int entry = 0; entry < duplicates.ListCount(); ++entry) {
        prefetchAhead(text, duplicates, entry, false);
        const ListItem &item = duplicates.itemAt(entry);
        if (chosen(item, scope))
            bytes += text.lineBytes(int(item.line)).size() + 2;
    }
    return bytes;
}
} // namespace

bool hasChosenEntries(const LineList &duplicates, CopyScope scope)
{
    for (int entry = 0; entry < duplicates.ListCount(); ++entry) {
        if (chosen(duplicates.itemAt(entry), scope))
            return true;
    }
    return false;
}

// Millions of lines are decoded straight into one buffer sized up front: no string per line, and
// no second copy of the text while it is built.
QString clipboardLines(const LoadedText &text, const LineList &duplicates, CopyScope scope)
{
    const std::size_t bytes = chosenBytes(text, duplicates, scope);
    if (bytes == 0)
        return {};
    // Stateless and keeping a leading U+FEFF: each line decodes as decodeLine() would on its own,
    // in its own encoding.
    const auto flags
        = QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom;
    QStringDecoder utf8(QStringConverter::Utf8, flags);
    QStringDecoder latin1(QStringConverter::Latin1, flags);
    QString lines(utf8.requiredSpace(qsizetype(bytes)), Qt::Uninitialized);
    QChar *out = lines.data();
    for (int entry = 0; entry < duplicates.ListCount(); ++entry) {
        prefetchAhead(text, duplicates, entry, true);
        const ListItem &item = duplicates.itemAt(entry);
        if (!chosen(item, scope))
            continue;
        const std::string_view line = text.lineBytes(int(item.line));
        const TextEncoding encoding = encodingOf(line);
        if (isWide(text.encoding()) && encoding != TextEncoding::Utf8) {
            const QString shown = decodeConvertedLine(line); // rare: a broken code unit
            out = std::copy(shown.cbegin(), shown.cend(), out);
        } else {
            QStringDecoder &decoder = encoding == TextEncoding::Utf8 ? utf8 : latin1;
            out = decoder.appendToBuffer(out, QByteArrayView(line.data(), qsizetype(line.size())));
        }
        *out++ = u'\r';
        *out++ = u'\n';
    }
    lines.truncate(out - lines.constData());
    return lines;
}

} // namespace twinscan
