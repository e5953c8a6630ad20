#include "app/Translations.h"

#include <QCoreApplication>
#include <QLocale>

namespace twinscan {

Translations::Translations(
    const LanguageChoice &choice, const QString &ourFolder, const QString &qtFolder)
{
    if (!choice.defaultLocale.isEmpty())
        QLocale::setDefault(QLocale(choice.defaultLocale));
    if (choice.translation.isEmpty())
        return;
    // A language just added, whose file holds no translations yet, stays English in Qt's too.
    if (install(QStringLiteral("twinscan_") + choice.translation, ourFolder))
        install(QStringLiteral("qtbase_") + choice.translation, qtFolder);
}

bool Translations::install(const QString &name, const QString &folder)
{
    auto translator = std::make_unique<QTranslator>();
    if (!translator->load(name, folder) || !QCoreApplication::installTranslator(translator.get()))
        return false;
    installed_.push_back(std::move(translator));
    return true;
}

QStringList Translations::files() const
{
    QStringList files;
    for (const auto &translator : installed_)
        files << translator->filePath();
    return files;
}

LanguageChoice systemLanguageChoice()
{
    return chooseLanguage(QLocale::system().uiLanguages(), translationsIn(ourTranslationsFolder));
}

} // namespace twinscan
