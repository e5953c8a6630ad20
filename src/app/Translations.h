#pragma once

#include "app/LanguageChoice.h"

#include <QStringList>
#include <QTranslator>
#include <memory>
#include <vector>

namespace twinscan {

// Where the build embeds our translations (qt_add_translations in src/app/CMakeLists.txt).
inline const QString ourTranslationsFolder = QStringLiteral(":/i18n");

// Makes the application speak `choice`: sets the default locale and installs our translation and
// Qt's own (qtbase_<language>.qm from `qtFolder`) for as long as it lives. Qt translates its
// dialogs and buttons only through an installed translator, so without ours none of Qt's is
// installed and all of the window stays English. A translator leaves the application when it is
// destroyed.
class Translations
{
public:
    Translations(const LanguageChoice &choice, const QString &ourFolder, const QString &qtFolder);
    Translations(const Translations &) = delete;
    Translations &operator=(const Translations &) = delete;

    // The files of the installed translators, ours first.
    QStringList files() const;

private:
    bool install(const QString &name, const QString &folder);

    std::vector<std::unique_ptr<QTranslator>> installed_;
};

// The translations for the user's languages, with Qt's from where Qt keeps them.
LanguageChoice systemLanguageChoice();

} // namespace twinscan
