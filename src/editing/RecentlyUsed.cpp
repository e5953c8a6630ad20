#include "editing/RecentlyUsed.h"

#include "editing/FileReplacement.h"
#include "editing/RecentUse.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace twinscan {

namespace {
// The translation context of the messages.
struct RecentlyUsedList
{
    Q_DECLARE_TR_FUNCTIONS(RecentlyUsedList)
};
} // namespace

XbelRecentlyUsed::XbelRecentlyUsed()
    : xbelFile_(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/recently-used.xbel"))
{
}

// A FIFO in the list's place would block the read; it is no list to edit.
QString XbelRecentlyUsed::record(const QString &file)
{
    const QFileInfo info(xbelFile_);
    const QString shown = QDir::toNativeSeparators(xbelFile_);
    if (info.exists() && !info.isFile())
        return RecentlyUsedList::tr("%1 is not a regular file").arg(shown);
    QByteArray stored;
    if (info.exists()) {
        QFile list(xbelFile_);
        if (!list.open(QIODevice::ReadOnly))
            return RecentlyUsedList::tr("Can't read %1: %2").arg(shown, list.errorString());
        stored = list.readAll();
    }
    const RecentUse use {
        file, QMimeDatabase().mimeTypeForFile(file).name(), QDateTime::currentDateTimeUtc()};
    const std::optional<QByteArray> recorded = recordedUse(stored, use);
    if (!recorded)
        return RecentlyUsedList::tr("%1 is not an XBEL document").arg(shown);
    QDir().mkpath(info.absolutePath());
    return replaceFileContent(xbelFile_, *recorded);
}

} // namespace twinscan
