#include "app/IniText.h"

#include <algorithm>

namespace twinscan {

namespace {

bool isHexDigit(char16_t c)
{
    return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
}

QString hexEscape(char16_t c)
{
    return QStringLiteral("\\x") + QString::number(c, 16);
}

// A string value as QSettings writes one: a leading "@" doubled (it would announce a type),
// quotes and backslashes escaped, control characters as hexadecimal escapes (and a hexadecimal
// digit right after one escaped too, as the reader takes every digit that follows), and the
// whole in quotes when it holds a separator or begins or ends with a space.
QByteArray iniValue(const QString &value)
{
    const QString text = value.startsWith(u'@') ? u'@' + value : value;
    QString escaped;
    bool afterHexEscape = false;
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (afterHexEscape && isHexDigit(c)) {
            escaped += hexEscape(c);
            continue;
        }
        afterHexEscape = c < 0x20;
        if (c == u'"' || c == u'\\')
            escaped += u'\\';
        escaped += afterHexEscape ? hexEscape(c) : QString(ch);
    }
    const bool quoted = text.contains(u';') || text.contains(u',') || text.contains(u'=')
        || escaped.startsWith(u' ') || escaped.endsWith(u' ');
    return quoted ? '"' + escaped.toUtf8() + '"' : escaped.toUtf8();
}

} // namespace

bool isPlainIniKey(const QString &key)
{
    return !key.isEmpty() && std::all_of(key.cbegin(), key.cend(), [](QChar c) {
        return c.unicode() < 0x80 && (c.isLetterOrNumber() || c == u'_');
    });
}

QByteArray iniText(const QString &group, const QMap<QString, QString> &values)
{
    QByteArray text = '[' + group.toUtf8() + "]\n";
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        text += it.key().toLatin1() + '=' + iniValue(it.value()) + '\n';
    return text;
}

} // namespace twinscan
