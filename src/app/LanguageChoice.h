#pragma once

#include <QString>
#include <QStringList>

namespace twinscan {

// The one language the window speaks, and the locale that Qt's own texts and formats follow.
struct LanguageChoice
{
    // The name of our translation to load ("de", "pt_BR"); empty for English, the source language,
    // and then no translation of Qt's either, so that its dialogs speak English too.
    QString translation;
    // The locale to make the default; empty keeps the system's, which already speaks that language.
    QString defaultLocale;

    bool operator==(const LanguageChoice &) const = default;
};

// Picks, from the user's languages in order of preference (QLocale::uiLanguages()), the first that
// we have a translation for or that is English; English when none is.
LanguageChoice chooseLanguage(const QStringList &uiLanguages, const QStringList &translations);

// The names of the translations in `folder` ("twinscan_de.qm" gives "de").
QStringList translationsIn(const QString &folder);

} // namespace twinscan
