#include "app/RecentFiles.h"

#include "app/JobHost.h"
#include "app/Module.h"
#include "app/SettingsStore.h"
#include "editing/RecentlyUsed.h"
#include "engine/FileName.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace twinscan {

namespace {
QString recentKey(int index)
{
    return QStringLiteral("recentFile%1").arg(index + 1);
}

// A file given on the command line may be named relative to the folder Twinscan started in; the
// lists name it so that it is found from anywhere.
QString absoluteName(const QString &file)
{
    return QDir::cleanPath(QFileInfo(file).absoluteFilePath());
}

void recordForDesktop(JobHost &host, const QString &file)
{
    RecentlyUsed *recent = host.services().recentlyUsed;
    if (!recent)
        return;
    if (const QString problem = recent->record(file); !problem.isEmpty()) {
        std::fprintf(stderr, "twinscan: not in the recent files: %s\n",
            shownFileName(problem).toLocal8Bit().constData());
    }
}
} // namespace

QStringList withRecentFile(QStringList files, const QString &file)
{
    files.removeAll(file);
    files.prepend(file);
    while (files.size() > recentFileLimit)
        files.removeLast();
    return files;
}

QStringList readRecentFiles(const SettingsStore &store)
{
    QStringList files;
    for (int i = recentFileLimit - 1; i >= 0; --i) {
        if (const QString file = store.value(recentKey(i), {}); !file.isEmpty())
            files = withRecentFile(files, file);
    }
    return files;
}

void writeRecentFiles(SettingsStore &store, const QStringList &files)
{
    for (int i = 0; i < recentFileLimit; ++i)
        store.setValue(recentKey(i), files.value(i));
}

void noteOpenedFile(JobHost &host, const QString &file)
{
    if (module().batchMode)
        return;
    const QString name = absoluteName(file);
    module().recentFiles = withRecentFile(module().recentFiles, name);
    recordForDesktop(host, name);
}

void noteSavedFile(JobHost &host, const QString &file)
{
    if (!module().batchMode)
        recordForDesktop(host, absoluteName(file));
}

} // namespace twinscan
