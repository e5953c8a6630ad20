#include "app/SettingsStore.h"

#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <sys/stat.h>

namespace twinscan {

namespace {

QString groupKey(const QString &key)
{
    return QStringLiteral("Twinscan/") + key;
}

// The first of the files that exists but is not a regular file (links followed), or empty.
QString firstNonRegular(const QStringList &files)
{
    for (const QString &file : files) {
        struct stat status
        {
        };
        if (::stat(QFile::encodeName(file).constData(), &status) == 0 && !S_ISREG(status.st_mode))
            return file;
    }
    return {};
}

// What QSettings reads for the organisation's and the program's INI files: each configuration
// folder's Corvane/Twinscan.ini and Corvane.ini, the user's first.
QStringList storeFiles()
{
    QStringList files;
    for (const QString &folder :
        QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation))
        files << folder + QStringLiteral("/Corvane/Twinscan.ini")
              << folder + QStringLiteral("/Corvane.ini");
    return files;
}

} // namespace

QSettingsStore::QSettingsStore() : unusableFile_(firstNonRegular(storeFiles()))
{
    if (unusableFile_.isEmpty()) {
        settings_ = std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
            QStringLiteral("Corvane"), QStringLiteral("Twinscan"));
    }
}

QSettingsStore::QSettingsStore(const QString &fileName) : unusableFile_(firstNonRegular({fileName}))
{
    if (unusableFile_.isEmpty())
        settings_ = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
}

// QSettings writes the file when it is destroyed, here.
QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::value(const QString &key, const QString &defaultValue) const
{
    return settings_ ? settings_->value(groupKey(key), defaultValue).toString() : defaultValue;
}

void QSettingsStore::setValue(const QString &key, const QString &text)
{
    if (settings_)
        settings_->setValue(groupKey(key), text);
}

QString QSettingsStore::fileName() const
{
    return settings_ ? settings_->fileName() : unusableFile_;
}

} // namespace twinscan
