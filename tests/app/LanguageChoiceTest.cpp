#include "app/LanguageChoice.h"

#include "app/Translations.h"

#include <QFile>
#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace twinscan {
namespace {

struct ChoiceRow
{
    const char *name;
    QStringList uiLanguages;
    QStringList translations;
    LanguageChoice expected;
};

class ChooseLanguage : public testing::TestWithParam<ChoiceRow>
{
};

TEST_P(ChooseLanguage, PicksTheFirstLanguageWeSpeak)
{
    const ChoiceRow &row = GetParam();
    EXPECT_EQ(chooseLanguage(row.uiLanguages, row.translations), row.expected) << row.name;
}

const QStringList german
    = {QStringLiteral("de-DE"), QStringLiteral("de-Latn-DE"), QStringLiteral("de")};

INSTANTIATE_TEST_SUITE_P(Table, ChooseLanguage,
    testing::Values(
        // Without a translation of ours, Qt's stays out too and the formats speak English.
        ChoiceRow {
            "GermanWithoutOurs", german, {QStringLiteral("en")}, {{}, QStringLiteral("en_US")}},
        ChoiceRow {"GermanWithOurs", german, {QStringLiteral("de")}, {QStringLiteral("de"), {}}},
        // Qt's list already ends in the bare language; ours shortens a name that does not.
        ChoiceRow {"RegionShortened", {QStringLiteral("de-Latn-AT")}, {QStringLiteral("de")},
            {QStringLiteral("de"), {}}},
        ChoiceRow {"RegionKept", {QStringLiteral("pt-BR")},
            {QStringLiteral("pt"), QStringLiteral("pt_BR")}, {QStringLiteral("pt_BR"), {}}},
        // English is the source: any English keeps the system's formats, and wins when preferred.
        ChoiceRow {"BritishEnglish", {QStringLiteral("en-GB"), QStringLiteral("de")},
            {QStringLiteral("de")}, {{}, {}}},
        // A later preference that we speak is taken, and the formats follow it, not the first.
        ChoiceRow {"SecondChoiceOurs", {QStringLiteral("fr-FR"), QStringLiteral("de-DE")},
            {QStringLiteral("de")}, {QStringLiteral("de"), QStringLiteral("de")}},
        ChoiceRow {"SecondChoiceEnglish", {QStringLiteral("fr-FR"), QStringLiteral("en-GB")},
            {QStringLiteral("de")}, {{}, QStringLiteral("en_US")}},
        ChoiceRow {"NoLanguages", {}, {QStringLiteral("de")}, {{}, QStringLiteral("en_US")}}),
    [](const testing::TestParamInfo<ChoiceRow> &info) { return std::string(info.param.name); });

void writeFile(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(TranslationsIn, NamesTheLanguagesOfOurFilesOnly)
{
    QTemporaryDir folder;
    for (const char *name :
        {"twinscan_de.qm", "twinscan_pt_BR.qm", "qtbase_fr.qm", "twinscan_it.ts"})
        writeFile(folder.filePath(QString::fromLatin1(name)));
    QStringList names = translationsIn(folder.path());
    names.sort();
    EXPECT_EQ(names, QStringList({QStringLiteral("de"), QStringLiteral("pt_BR")}));
}

// The source language's file is the one the build embeds today, without translations.
TEST(TranslationsIn, FindsWhatTheBuildEmbeds)
{
    EXPECT_TRUE(translationsIn(ourTranslationsFolder).contains(QStringLiteral("en")));
}

const QString testFolder = QStringLiteral(TWINSCAN_TEST_TRANSLATIONS);
const QString esperanto = QStringLiteral("eo");

class InstalledTranslations : public testing::Test
{
protected:
    void TearDown() override { QLocale::setDefault(QLocale::system()); }

    // A folder of Qt's translations holding one for `language`, a copy of our test file.
    QString qtFolderWith(const QString &language)
    {
        EXPECT_TRUE(QFile::copy(testFolder + QStringLiteral("/twinscan_eo.qm"), qtFile(language)));
        return qtFolder_.path();
    }
    QString qtFile(const QString &language) const
    {
        return qtFolder_.filePath(QStringLiteral("qtbase_%1.qm").arg(language));
    }

    QTemporaryDir qtFolder_;
};

TEST_F(InstalledTranslations, NoneOfQtsWithoutOursAndTheFormatsInEnglish)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const Translations translations(
        {{}, QStringLiteral("en_US")}, testFolder, qtFolderWith(esperanto));
    EXPECT_TRUE(translations.files().isEmpty());
    EXPECT_EQ(QLocale().name(), QStringLiteral("en_US"));
}

TEST_F(InstalledTranslations, OursAndQtsForOneLanguage)
{
    {
        const Translations translations({esperanto, {}}, testFolder, qtFolderWith(esperanto));
        EXPECT_EQ(translations.files(),
            QStringList({testFolder + QStringLiteral("/twinscan_eo.qm"), qtFile(esperanto)}));
        EXPECT_EQ(QObject::tr("Open"), QStringLiteral("[eo] Open"));
    }
    EXPECT_EQ(QObject::tr("Open"), QStringLiteral("Open"));
}

// A language that Qt has no translation for still gets ours.
TEST_F(InstalledTranslations, OursWithoutQts)
{
    const Translations translations(
        {esperanto, {}}, testFolder, qtFolderWith(QStringLiteral("fr")));
    EXPECT_EQ(translations.files(), QStringList({testFolder + QStringLiteral("/twinscan_eo.qm")}));
}

// Ours is there but translates nothing yet (the embedded source-language file): Qt's stays out.
TEST_F(InstalledTranslations, NoneOfQtsWhenOursTranslatesNothing)
{
    const Translations translations(
        {QStringLiteral("en"), {}}, ourTranslationsFolder, qtFolderWith(QStringLiteral("en")));
    EXPECT_TRUE(translations.files().isEmpty());
}

} // namespace
} // namespace twinscan
