#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

namespace twinscan {

// The text of an INI file that holds `values` in one group, as QSettings writes it and reads it
// back: "[group]", then one "key=value" line each in key order. Keys are plain names (letters,
// digits, "_"); values are escaped as QSettings escapes a string.
QByteArray iniText(const QString &group, const QMap<QString, QString> &values);

// Whether QSettings keeps `key` as it is in an INI file, so that iniText may write it.
bool isPlainIniKey(const QString &key);

} // namespace twinscan
