#pragma once

#include "engine/FileDescriptor.h"

#include <QString>
#include <cstdint>

namespace twinscan {

// Where a scan past memory keeps its temporary files, and the files themselves. They never go to
// a file system held in memory (tmpfs, ramfs), which would take the very memory the scan saves,
// unless the user asked for that folder with TWINSCAN_TMPDIR. Otherwise TMPDIR when it is on a
// disk, else the output's folder, else the user's cache folder.
namespace spill {

struct Folder
{
    QString path; // empty when none can be written
    std::uint64_t freeBytes = 0;
};

bool isMemoryBacked(const QString &folder);
// The first folder of the order above that exists and can be written; `outputFolder` may be
// empty.
Folder chooseFolder(const QString &outputFolder = {});

// A file in `folder` that has no name: O_TMPFILE, or a unique name removed at once where the
// file system lacks it. Closing its descriptor frees it, so every ending of the program, a kill
// included, leaves nothing. Not open, errno set, on failure.
FileDescriptor openFile(const QString &folder);

// Why a temporary file of `folder` could not be made or written, with the system's reason.
QString cannotWriteText(const QString &folder, int errorNumber);

// "needs about N GB of free space in DIR", for a refusal made before anything is written.
QString spaceNeededText(std::uint64_t bytes, const QString &folder);

} // namespace spill

} // namespace twinscan
