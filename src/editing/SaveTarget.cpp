#include "editing/SaveTarget.h"

#include "editing/LinkWalk.h"
#include "editing/OpenDescriptor.h"
#include "engine/FileStamp.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>

namespace twinscan {

namespace {
bool namesSameFile(const QString &sourceFile, const QString &target)
{
    if (sourceFile == target)
        return true;
    const auto source = stampOf(sourceFile);
    const auto other = stampOf(target);
    return source && other && source->sameFile(*other);
}

QString refusalOf(LinkWalk::Refusal refusal)
{
    if (refusal == LinkWalk::PlantedLink)
        return QCoreApplication::translate("SaveTarget",
            "it is a symbolic link of another user in a shared folder, which is not followed");
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
        resolved.refusal = refusalOf(walk.refused);
        return resolved;
    }
    if (walk.followedLink)
        resolved.replacedFile = walk.path;
    resolved.replaceSource = namesSameFile(sourceFile, target);
    struct stat st
    {
    };
    if (::stat(QFile::encodeName(walk.path).constData(), &st) == 0) {
        resolved.direct = !resolved.replaceSource && !S_ISREG(st.st_mode);
        resolved.inPlace = S_ISREG(st.st_mode) && st.st_nlink > 1;
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
