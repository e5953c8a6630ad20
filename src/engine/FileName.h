#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace twinscan {

// File names are bytes; Qt holds them as text. A name that is valid UTF-8 becomes its text, and
// every byte of one that is not is kept as the lone surrogate U+DC00 + byte (as Python's
// "surrogateescape" keeps it), so that the bytes come back exactly: a name typed in Latin-1
// opens the file it names instead of another. Every name that reaches the file system goes
// through fileNameBytes, never QFile::encodeName, which would turn those bytes into U+FFFD.
QString fileNameFromBytes(QByteArrayView bytes);
QByteArray fileNameBytes(const QString &name);

// The name as a message shows it: the kept bytes as the replacement character U+FFFD.
QString shownFileName(const QString &name);

} // namespace twinscan
