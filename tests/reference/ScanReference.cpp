#include "ScanReference.h"

#include "engine/LineList.h"

#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <cstddef>
#include <optional>

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

// The fields of a line read character by character: a quote opens a quoted field only at its
// start, and two quotes inside it stand for one.
QStringList csvFields(const QString &text, const QString &separator)
{
    QStringList fields {QString()};
    bool quoted = false, quotable = true;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (quoted && text[i] == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
            fields.back() += u'"';
            ++i;
        } else if (text[i] == u'"' && (quoted || quotable)) {
            quoted = !quoted;
        } else if (!quoted && text.mid(i).startsWith(separator)) {
            fields.append(QString());
            i += separator.size() - 1;
            quotable = true;
            continue;
        } else {
            fields.back() += text[i];
        }
        quotable = false;
    }
    return fields;
}

QStringList fieldsOf(const QString &text, const KeySpec &key)
{
    const QString separator = QString::fromStdString(key.separator);
    if (key.csv)
        return csvFields(text, separator.isEmpty() ? QStringLiteral(",") : separator);
    if (separator.isEmpty())
        return text.split(QRegularExpression(QStringLiteral("[ \\t]+")), Qt::SkipEmptyParts);
    return text.split(separator);
}

QString characters(const QString &text, int skip, int check)
{
    QList<uint> code = text.toUcs4().mid(skip);
    if (check > 0)
        code = code.mid(0, check);
    return QString::fromUcs4(reinterpret_cast<const char32_t *>(code.constData()), code.size());
}

// The parts a key takes of a line, or nothing when the line has no such part.
std::optional<QStringList> keyParts(const QString &text, const KeySpec &key)
{
    switch (key.kind) {
    case KeySpec::Kind::Fields: {
        const QStringList fields = fieldsOf(text, key);
        QStringList parts;
        for (const int field : key.fields) {
            if (field > fields.size())
                return std::nullopt;
            parts.append(fields[field - 1]);
        }
        return parts;
    }
    case KeySpec::Kind::Regex: {
        static QHash<QString, QRegularExpression> compiled;
        if (!compiled.contains(key.pattern))
            compiled.insert(key.pattern, QRegularExpression(key.pattern));
        const QRegularExpression &regex = compiled[key.pattern];
        const QRegularExpressionMatch match = regex.match(text);
        const int group = regex.captureCount() > 0 ? 1 : 0;
        if (!match.hasMatch() || match.capturedStart(group) < 0)
            return std::nullopt;
        return QStringList {match.captured(group)};
    }
    default:
        return QStringList {characters(text, key.skipChars, key.checkChars)};
    }
}

// A keyed line's key, or nothing when it takes no part: its parts, trimmed when asked for,
// upper-cased by Unicode rules, as the parts compare by their text.
std::optional<QString> partKeyOf(
    const std::string &line, const ScanOptions &switches, const KeySpec &key)
{
    std::optional<QStringList> parts = keyParts(referenceText(line), key);
    if (!parts)
        return std::nullopt;
    bool blank = true;
    for (QString &part : *parts) {
        if (switches.trimLines == 1)
            part = trimmed(part);
        blank = blank && trimmed(part).isEmpty();
        if (switches.caseSensitive == 0)
            part = part.toUpper();
    }
    if (blank && switches.includeEmptyLines != 1)
        return std::nullopt;
    return parts->join(QChar(0xFFFF));
}

} // namespace

QString referenceText(const std::string &line)
{
    return isUtf8(line) ? fromUtf8(line) : QString::fromLatin1(line.data(), qsizetype(line.size()));
}

ReferenceScan quadraticSearch(
    const std::vector<std::string> &lines, const ScanOptions &switches, const KeySpec &key)
{
    ReferenceScan out;
    std::vector<QString> keys; // a key is a pure function of its line, so it is made once
    std::vector<bool> takesPart;
    std::vector<int> working; // the numbers of the lines not processed yet
    for (const std::string &line : lines) {
        const std::optional<QString> part = key.isWholeLine()
            ? std::optional<QString>(keyOf(line, switches))
            : partKeyOf(line, switches, key);
        const bool blank = trimmed(referenceText(line)).isEmpty();
        keys.push_back(part.value_or(QString()));
        takesPart.push_back(
            part && (!key.isWholeLine() || !blank || switches.includeEmptyLines == 1));
        working.push_back(int(working.size()));
    }
    while (!working.empty()) {
        const int first = working[0];
        const QString text = referenceText(lines[std::size_t(first)]);
        std::vector<std::size_t> group {0};
        for (std::size_t i = 1; takesPart[std::size_t(first)] && i < working.size(); ++i) {
            if (!takesPart[std::size_t(working[i])]
                || keys[std::size_t(working[i])] != keys[std::size_t(first)])
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
