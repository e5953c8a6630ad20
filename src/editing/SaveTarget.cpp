#include "editing/SaveTarget.h"

#include "editing/LinkWalk.h"
#include "editing/OpenDescriptor.h"
#include "engine/FileName.h"
#include "engine/FileStamp.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace twinscan {

namespace {
bool namesSameFile(const QString &sourceFile, const QString &target, const LinkWalk &walk)
{
    if (sourceFile == target)
        return true;
    const auto source = stampOf(sourceFile);
    return source && walk.exists && source->sameFile(stampOf(walk.file));
}

QString refusalOf(const LinkWalk &walk)
{
    switch (walk.refused) {
    case LinkWalk::PlantedLink:
        return QCoreApplication::translate("SaveTarget",
            "it is a symbolic link of another user in a shared folder, which is not followed");
    case LinkWalk::PlantedFifo:
        return QCoreApplication::translate("SaveTarget",
            "it is a FIFO of another user in a shared folder, which is not written, as its owner "
            "could read what it is given");
    case LinkWalk::Unopenable:
        return systemReason(walk.error);
    case LinkWalk::None:
    case LinkWalk::Unreadable:
        break;
    }
    return systemReason(ELOOP);
}
} // namespace

SaveTarget resolveSaveTarget(const QString &sourceFile, const QString &target)
{
    SaveTarget resolved;
    if (namesClosedDescriptor(target)) {
        resolved.replacedFile = target;
        resolved.refusal = systemReason(EBADF);
        return resolved;
    }
    if (const auto fd = openDescriptorNamed(target)) {
        resolved.direct = true;
        resolved.descriptor = *fd;
        resolved.replacedFile = target;
        return resolved;
    }
    // The name the user asked for takes the result. A symbolic link stays a link: the file it
    // leads to is the one replaced, or created when it does not exist yet. A file with other
    // names (hard links) keeps them: they all get the result.
    const LinkWalk walk = walkLinks(target);
    resolved.replacedFile = target;
    if (walk.refused != LinkWalk::None) {
        resolved.refusal = refusalOf(walk);
        return resolved;
    }
    if (walk.followedLink)
        resolved.replacedFile = walk.path;
    resolved.folder = walk.folder;
    resolved.name = walk.name;
    resolved.replaceSource = namesSameFile(sourceFile, target, walk);
    if (walk.exists) {
        resolved.direct = !resolved.replaceSource && !S_ISREG(walk.file.st_mode);
        resolved.inPlace = S_ISREG(walk.file.st_mode) && walk.file.st_nlink > 1;
    }
    return resolved;
}

ExtensionOffer extensionOffer(const QString &sourceFile, const QString &target)
{
    const QString sourceName = QFileInfo(sourceFile).fileName();
    const qsizetype dot = sourceName.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || QFileInfo(target).fileName().contains(QLatin1Char('.')))
        return {};
    return {true, sourceName.mid(dot + 1)};
}

QString withExtension(const QString &target, const QString &extension)
{
    return target + QLatin1Char('.') + extension;
}

} // namespace twinscan
