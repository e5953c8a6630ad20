#include "app/SettingsStore.h"

#include "app/IniText.h"
#include "editing/FileReplacement.h"
#include "engine/FileName.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QSettings>
#include <QStandardPaths>
#include <sys/stat.h>

namespace twinscan {

namespace {

const QString group = QStringLiteral("Twinscan");

QString groupKey(const QString &key)
{
    return group + u'/' + key;
}

// What the file holds now in the program's group: the text values of plain keys, which are all
// the program writes.
QMap<QString, QString> storedValues(const QString &file)
{
    QSettings stored(file, QSettings::IniFormat);
    stored.beginGroup(group);
    QMap<QString, QString> values;
    for (const QString &key : stored.childKeys()) {
        const QVariant value = stored.value(key);
        if (isPlainIniKey(key) && value.typeId() == QMetaType::QString)
            values.insert(key, value.toString());
    }
    return values;
}

// The first of the files that exists but is not a regular file (links followed), or empty.
QString firstNonRegular(const QStringList &files)
{
    for (const QString &file : files) {
        struct stat status
        {
        };
        if (::stat(fileNameBytes(file).constData(), &status) == 0 && !S_ISREG(status.st_mode))
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

QString lockProblem(const QLockFile &lock, const QString &file)
{
    const QString name = QDir::toNativeSeparators(file);
    if (lock.error() == QLockFile::LockFailedError)
        return QStringLiteral("%1 could not be locked within a second").arg(name);
    // A full disk, say: the lock file cannot be made.
    return QStringLiteral("Can't create the lock file %1.lock").arg(name);
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

QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::value(const QString &key, const QString &defaultValue) const
{
    return settings_ ? settings_->value(groupKey(key), defaultValue).toString() : defaultValue;
}

void QSettingsStore::setValue(const QString &key, const QString &text)
{
    if (settings_)
        changes_.insert(key, text);
}

void QSettingsStore::updateValue(const QString &key, Update update)
{
    if (settings_)
        updates_.append({key, std::move(update)});
}

// QSettings would wait for its lock for ever and, in the Qt of Debian 12, may replace the file
// with a truncated one on a full disk; so the file is written here.
QString QSettingsStore::save()
{
    if (!settings_ || (changes_.isEmpty() && updates_.isEmpty()))
        return {};
    const QString file = settings_->fileName();
    QDir().mkpath(QFileInfo(file).absolutePath());
    QLockFile lock(file + QStringLiteral(".lock"));
    if (!lock.tryLock(1000))
        return lockProblem(lock, file);
    QMap<QString, QString> values = storedValues(file);
    values.insert(changes_);
    for (const auto &[key, update] : updates_)
        values.insert(key, update(values.value(key)));
    return replaceFileContent(file, iniText(group, values));
}

QString QSettingsStore::fileName() const
{
    return settings_ ? settings_->fileName() : unusableFile_;
}

} // namespace twinscan
