#pragma once

#include <QString>
#include <QStringList>

namespace twinscan {

class JobHost;
class SettingsStore;

// The files last opened in the window, which the Open button's menu offers: the most recent
// first, each once, ten at most.
constexpr int recentFileLimit = 10;

// `files` with `file` put first, or moved there.
QStringList withRecentFile(QStringList files, const QString &file);

// Under the keys recentFile1 to recentFile10. An empty key is no file, and a damaged list (a file
// twice, edited by hand) is read as the window would have kept it.
QStringList readRecentFiles(const SettingsStore &store);
// Every key is written, an empty one past the last file, so that a shorter list leaves no stale
// file behind in the store.
void writeRecentFiles(SettingsStore &store, const QStringList &files);

// A file the window opened or saved goes on the desktop's recent list, and one it opened on the
// Open button's menu too, under its absolute name. An unattended job records neither.
void noteOpenedFile(JobHost &host, const QString &file);
void noteSavedFile(JobHost &host, const QString &file);

} // namespace twinscan
