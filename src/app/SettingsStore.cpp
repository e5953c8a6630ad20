#include "app/SettingsStore.h"

#include <QSettings>

namespace twinscan {

namespace {

QString groupKey(const QString &key)
{
    return QStringLiteral("Twinscan/") + key;
}

} // namespace

QSettingsStore::QSettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
        QStringLiteral("Corvane"), QStringLiteral("Twinscan")))
{
}

QSettingsStore::QSettingsStore(const QString &fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{
}

// QSettings writes the file when it is destroyed, here.
QSettingsStore::~QSettingsStore() = default;

QString QSettingsStore::value(const QString &key, const QString &defaultValue) const
{
    return settings_->value(groupKey(key), defaultValue).toString();
}

void QSettingsStore::setValue(const QString &key, const QString &text)
{
    settings_->setValue(groupKey(key), text);
}

QString QSettingsStore::fileName() const
{
    return settings_->fileName();
}

} // namespace twinscan
