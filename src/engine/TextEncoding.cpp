#include "engine/TextEncoding.h"

#include "engine/LineBreaks.h"

#include <QByteArrayView>
#include <QStringDecoder>

namespace twinscan {

TextEncoding encodingOf(std::string_view line) noexcept
{
    return QByteArrayView(line.data(), qsizetype(line.size())).isValidUtf8() ? TextEncoding::Utf8
                                                                             : TextEncoding::Latin1;
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

} // namespace twinscan
