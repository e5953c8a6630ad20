#include "engine/TextEncoding.h"

#include "engine/LineBreaks.h"

#include <QByteArrayView>
#include <QStringDecoder>
#include <algorithm>

namespace twinscan {

namespace {
// Where an unpaired surrogate or an odd last byte sits in a converted line: no valid UTF-8
// holds the byte 0xFF, or 0xED followed by a byte of 0xA0 or more.
std::size_t brokenUnitAt(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        const bool surrogate = byte == 0xED && i + 1 < bytes.size()
            && static_cast<unsigned char>(bytes[i + 1]) >= 0xA0;
        if (byte == 0xFF || surrogate)
            return i;
    }
    return std::string_view::npos;
}
} // namespace

TextEncoding encodingOf(std::string_view line) noexcept
{
    return QByteArrayView(line.data(), qsizetype(line.size())).isValidUtf8() ? TextEncoding::Utf8
                                                                             : TextEncoding::Latin1;
}

bool isAscii(std::string_view bytes) noexcept
{
    unsigned char any = 0;
    for (const char c : bytes)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

QString decodeLine(std::string_view bytes)
{
    const auto size = static_cast<qsizetype>(bytes.size());
    if (encodingOf(bytes) == TextEncoding::Latin1)
        return QString::fromLatin1(bytes.data(), size);
    // QString::fromUtf8 drops a byte-order mark at the start; inside a file it is a character.
    if (startsWithBom(bytes.data(), bytes.size())) {
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return decoder(QByteArrayView(bytes.data(), size));
    }
    return QString::fromUtf8(bytes.data(), size);
}

QString decodeConvertedLine(std::string_view bytes)
{
    if (encodingOf(bytes) == TextEncoding::Utf8)
        return decodeLine(bytes);
    QString text;
    for (;;) {
        const std::size_t broken = brokenUnitAt(bytes);
        text += decodeLine(bytes.substr(0, broken));
        if (broken == std::string_view::npos)
            return text;
        text += QChar::ReplacementCharacter;
        bytes.remove_prefix(std::min(bytes.size(), broken + (bytes[broken] == '\xFF' ? 1 : 3)));
    }
}

} // namespace twinscan
