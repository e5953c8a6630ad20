#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <optional>

namespace twinscan {

// One opening or saving of a file, as the desktop's list of recently used files records it for
// Twinscan.
struct RecentUse
{
    QString file; // an absolute name
    QString mimeType;
    QDateTime time;
};

// The file's address in the list: a file:// URI of its bytes, so that a name that is not UTF-8
// keeps them.
QByteArray fileUri(const QString &file);

// The XBEL document `stored` (empty when there is none yet) with `use` recorded, as GTK records a
// use: a new bookmark for a file not listed, or else the file's bookmark touched and Twinscan's
// count in it raised. Every other bookmark and everything the document holds besides is kept.
// Nothing when `stored` is no well-formed XBEL document: it is not ours to repair.
std::optional<QByteArray> recordedUse(QByteArrayView stored, const RecentUse &use);

} // namespace twinscan
