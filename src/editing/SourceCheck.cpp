#include "editing/SourceCheck.h"

#include "engine/FileName.h"

#include <QFile>
#include <sys/stat.h>

namespace twinscan {

SourceState checkSource(const QString &sourceFile, const FileStamp &scannedStamp)
{
    struct stat st
    {
    };
    if (::stat(fileNameBytes(sourceFile).constData(), &st) != 0 || S_ISDIR(st.st_mode))
        return SourceState::Missing;
    const auto now = stampOf(sourceFile);
    return now && now->sameContent(scannedStamp) ? SourceState::Unchanged : SourceState::Changed;
}

} // namespace twinscan
