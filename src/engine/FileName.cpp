#include "engine/FileName.h"

#include <QStringDecoder>
#include <algorithm>

namespace twinscan {

namespace {
constexpr char16_t keptByte = 0xDC00; // plus the byte, for 0x80 .. 0xFF

bool isKeptByte(QChar c)
{
    return c.unicode() >= keptByte + 0x80 && c.unicode() <= keptByte + 0xFF;
}

// The length of the valid UTF-8 sequence at p, or 0.
qsizetype validSequence(const char *p, qsizetype left)
{
    const auto lead = static_cast<unsigned char>(*p);
    const qsizetype length = lead < 0x80 ? 1
        : lead >= 0xC2 && lead < 0xE0    ? 2
        : lead >= 0xE0 && lead < 0xF0    ? 3
        : lead >= 0xF0 && lead < 0xF5    ? 4
                                         : 0;
    if (length == 0 || length > left)
        return 0;
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decoded = decoder.decode(QByteArrayView(p, length));
    return decoder.hasError() ? 0 : length;
}
} // namespace

QString fileNameFromBytes(QByteArrayView bytes)
{
    QString name = QString::fromUtf8(bytes);
    if (name.toUtf8() == bytes && !name.contains(QChar::ReplacementCharacter))
        return name;
    name.clear();
    const char *p = bytes.data();
    for (qsizetype left = bytes.size(); left > 0;) {
        const qsizetype length = validSequence(p, left);
        if (length > 0)
            name += QString::fromUtf8(p, length);
        else
            name += QChar(char16_t(keptByte + static_cast<unsigned char>(*p)));
        const qsizetype step = length > 0 ? length : 1;
        p += step;
        left -= step;
    }
    return name;
}

QByteArray fileNameBytes(const QString &name)
{
    if (!std::any_of(name.begin(), name.end(), isKeptByte))
        return name.toUtf8();
    QByteArray bytes;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= name.size(); ++i) {
        if (i < name.size() && !isKeptByte(name.at(i)))
            continue;
        bytes += QStringView(name).mid(from, i - from).toUtf8();
        if (i < name.size())
            bytes += char(name.at(i).unicode() - keptByte);
        from = i + 1;
    }
    return bytes;
}

QString shownFileName(const QString &name)
{
    QString shown = name;
    for (QChar &c : shown) {
        if (isKeptByte(c))
            c = QChar::ReplacementCharacter;
    }
    return shown;
}

} // namespace twinscan
