#include "editing/ClipboardText.h"

#include <QStringDecoder>

namespace twinscan {

namespace {
bool chosen(const ListItem &item, CopyScope scope)
{
    return scope == CopyScope::All || item.selected;
}

std::size_t chosenBytes(const LoadedText &text, const LineList &duplicates, CopyScope scope)
{
    std::size_t bytes = 0;
    for (int entry = 0; entry < duplicates.ListCount(); ++entry) {
        const ListItem &item = duplicates.itemAt(entry);
        if (chosen(item, scope))
            bytes += text.lineBytes(int(item.line)).size() + 2;
    }
    return bytes;
}
} // namespace

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
        const ListItem &item = duplicates.itemAt(entry);
        if (!chosen(item, scope))
            continue;
        const std::string_view line = text.lineBytes(int(item.line));
        QStringDecoder &decoder = encodingOf(line) == TextEncoding::Utf8 ? utf8 : latin1;
        out = decoder.appendToBuffer(out, QByteArrayView(line.data(), qsizetype(line.size())));
        *out++ = u'\r';
        *out++ = u'\n';
    }
    lines.truncate(out - lines.constData());
    return lines;
}

} // namespace twinscan
