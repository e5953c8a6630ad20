#include "engine/KeySpec.h"

#include <QRegularExpression>
#include <QStringList>

namespace twinscan {

namespace {
// More fields than any line of a text file holds; keeps a typed range from filling memory.
constexpr int maxField = 100000;

std::optional<int> fieldNumber(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok || value < 1 || value > maxField)
        return std::nullopt;
    return value;
}

QString separatorName(const KeySpec &keySpec)
{
    if (keySpec.separator.empty())
        return keySpec.csv ? QStringLiteral("comma") : QStringLiteral("spaces");
    if (keySpec.separator == "\t")
        return QStringLiteral("tab");
    if (keySpec.separator == ",")
        return QStringLiteral("comma");
    if (keySpec.separator == ";")
        return QStringLiteral("semicolon");
    return QLatin1Char('"') + QString::fromStdString(keySpec.separator) + QLatin1Char('"');
}
} // namespace

std::optional<std::vector<int>> parseFieldList(const QString &text)
{
    std::vector<int> fields;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const qsizetype dash = part.indexOf(QLatin1Char('-'));
        const auto from = fieldNumber(dash < 0 ? part : part.left(dash));
        const auto to = dash < 0 ? from : fieldNumber(part.mid(dash + 1));
        if (!from || !to || *to < *from || fields.size() + std::size_t(*to - *from) >= maxField)
            return std::nullopt;
        for (int field = *from; field <= *to; ++field)
            fields.push_back(field);
    }
    return fields;
}

QString fieldListText(const std::vector<int> &fields)
{
    QStringList parts;
    for (const int field : fields)
        parts.append(QString::number(field));
    return parts.join(QLatin1Char(','));
}

QString keySpecError(const KeySpec &keySpec)
{
    switch (keySpec.kind) {
    case KeySpec::Kind::WholeLine:
        return {};
    case KeySpec::Kind::Fields:
        return keySpec.fields.empty()
            ? QStringLiteral("Give the fields to compare, such as 2 or 1,3.")
            : QString();
    case KeySpec::Kind::Regex: {
        const QRegularExpression regex(keySpec.pattern);
        if (keySpec.pattern.isEmpty())
            return QStringLiteral("Give a regular expression.");
        if (!regex.isValid())
            return QStringLiteral("The regular expression is not valid: %1 (at character %2).")
                .arg(regex.errorString())
                .arg(regex.patternErrorOffset() + 1);
        return {};
    }
    case KeySpec::Kind::Characters:
        return keySpec.skipChars < 0 || keySpec.checkChars < 0
            ? QStringLiteral("The numbers of characters cannot be negative.")
            : QString();
    }
    return {};
}

QString keySpecSummary(const KeySpec &keySpec)
{
    switch (keySpec.kind) {
    case KeySpec::Kind::WholeLine:
        return {};
    case KeySpec::Kind::Fields:
        return QStringLiteral("Comparing %1 %2 (%3)")
            .arg(keySpec.csv ? QStringLiteral("CSV column") : QStringLiteral("field"),
                fieldListText(keySpec.fields), separatorName(keySpec));
    case KeySpec::Kind::Regex:
        return QStringLiteral("Comparing the match of %1").arg(keySpec.pattern);
    case KeySpec::Kind::Characters:
        return keySpec.checkChars > 0
            ? QStringLiteral("Comparing %1 characters after the first %2")
                  .arg(keySpec.checkChars)
                  .arg(keySpec.skipChars)
            : QStringLiteral("Comparing from character %1 on").arg(keySpec.skipChars + 1);
    }
    return {};
}

} // namespace twinscan
