#include "app/LanguageChoice.h"

#include <QDir>

namespace twinscan {

namespace {
const QString sourceLanguage = QStringLiteral("en");
const QString prefix = QStringLiteral("twinscan_");
const QString suffix = QStringLiteral(".qm");

QString languageOf(const QString &name)
{
    return name.section(QLatin1Char('_'), 0, 0);
}

// "de-Latn-AT" is tried as "de_Latn_AT", "de_Latn" and "de", as QTranslator::load() does.
QString matching(QString name, const QStringList &translations)
{
    name.replace(QLatin1Char('-'), QLatin1Char('_'));
    for (;;) {
        if (languageOf(name) == sourceLanguage)
            return sourceLanguage;
        if (translations.contains(name))
            return name;
        const qsizetype cut = name.lastIndexOf(QLatin1Char('_'));
        if (cut < 0)
            return {};
        name.truncate(cut);
    }
}
} // namespace

LanguageChoice chooseLanguage(const QStringList &uiLanguages, const QStringList &translations)
{
    QString chosen = sourceLanguage;
    QString tag = QStringLiteral("en_US");
    for (const QString &language : uiLanguages) {
        if (const QString found = matching(language, translations); !found.isEmpty()) {
            chosen = found;
            tag = found == sourceLanguage ? tag : found;
            break;
        }
    }
    // The system's locale keeps its region's formats when it speaks the chosen language already.
    const bool systemSpeaksIt = !uiLanguages.isEmpty()
        && languageOf(QString(uiLanguages.first()).replace(QLatin1Char('-'), QLatin1Char('_')))
            == languageOf(chosen);
    return {chosen == sourceLanguage ? QString() : chosen, systemSpeaksIt ? QString() : tag};
}

QStringList translationsIn(const QString &folder)
{
    QStringList names;
    const QStringList files
        = QDir(folder).entryList({prefix + QLatin1Char('*') + suffix}, QDir::Files);
    for (const QString &file : files)
        names << file.mid(prefix.size(), file.size() - prefix.size() - suffix.size());
    return names;
}

} // namespace twinscan
