#include "ScanReference.h"

#include "engine/LineList.h"

#include <QRegularExpression>
#include <QStringDecoder>
#include <cstddef>

namespace twinscan::test {

namespace {

// A byte-order mark is a character like any other in a line.
QString fromUtf8(const std::string &line)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return decoder(QByteArrayView(line.data(), qsizetype(line.size())));
}

// Decoding and encoding again gives the same bytes exactly when the bytes are valid UTF-8:
// a decoder replaces every broken, overlong or surrogate sequence.
bool isUtf8(const std::string &line)
{
    return fromUtf8(line).toUtf8() == QByteArray(line.data(), qsizetype(line.size()));
}

QString trimmed(QString text)
{
    static const QRegularExpression outerSpaces(QStringLiteral("^ +| +$"));
    return text.remove(outerSpaces);
}

// A line's key: its text as compared, behind a mark of its encoding, as a line of one encoding
// never equals a line of the other.
QString keyOf(const std::string &line, const ScanOptions &switches)
{
    const bool latin1 = !isUtf8(line), fold = switches.caseSensitive == 0;
    QString text = referenceText(line);
    if (fold && !latin1)
        text = text.toUpper();
    for (QChar &c : text) {
        // Latin-1 folds one character for one: a letter without a capital in the set stays.
        if (fold && latin1 && c.toUpper().unicode() <= 0xFF)
            c = c.toUpper();
    }
    return (latin1 ? u'L' : u'U') + (switches.trimLines == 1 ? trimmed(text) : text);
}

} // namespace

QString referenceText(const std::string &line)
{
    return isUtf8(line) ? fromUtf8(line) : QString::fromLatin1(line.data(), qsizetype(line.size()));
}

ReferenceScan quadraticSearch(const std::vector<std::string> &lines, const ScanOptions &switches)
{
    ReferenceScan out;
    std::vector<QString> keys; // a key is a pure function of its line, so it is made once
    std::vector<int> working; // the numbers of the lines not processed yet
    for (const std::string &line : lines) {
        keys.push_back(keyOf(line, switches));
        working.push_back(int(working.size()));
    }
    while (!working.empty()) {
        const int first = working[0];
        const QString text = referenceText(lines[std::size_t(first)]);
        const bool takesPart = !trimmed(text).isEmpty() || switches.includeEmptyLines == 1;
        std::vector<std::size_t> group {0};
        for (std::size_t i = 1; takesPart && i < working.size(); ++i) {
            if (keys[std::size_t(working[i])] != keys[std::size_t(first)])
                continue;
            if (group.size() == 1)
                out.entries.push_back(formatEntry(first + 1, text));
            out.entries.push_back(formatEntry(working[i] + 1, text));
            group.push_back(i);
        }
        out.groups += group.size() > 1;
        for (auto k = group.rbegin(); k != group.rend(); ++k)
            working.erase(working.begin() + std::ptrdiff_t(*k));
    }
    return out;
}

} // namespace twinscan::test
