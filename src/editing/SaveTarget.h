#pragma once

#include "engine/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <sys/stat.h>

namespace twinscan {

// Where a save writes. A regular file, the scanned one or any other, is never opened for writing:
// the lines go to a temporary file beside it, which takes its place in one rename at the end, so
// the file is whole, old or new, at every moment. The target is the scanned file itself when it
// names it in any way (the same string, a relative path, a symbolic or a hard link). Links are
// followed to their end, but not those that the protection of shared folders refuses.
struct SaveTarget
{
    bool replaceSource = false;
    bool direct = false; // an existing file that is not a regular one (a device, a FIFO)
    // An open descriptor of this process that the target names (/dev/stdout, say), written
    // through as it is open, or -1. Such a target is also direct.
    int descriptor = -1;
    // A regular file with more than one name (hard links): its content is replaced in place once
    // the whole result is safe in the temporary file, so that every name keeps it.
    bool inPlace = false;
    // The file that gets the result: the target, or the file its symbolic link points to.
    QString replacedFile;
    // The folder that holds it, as the link walk opened it, and its name there: every later step
    // works relative to this folder and never looks the path up again.
    std::shared_ptr<FileDescriptor> folder;
    QByteArray name;
    // Why the target must not be written (a link another user planted), or empty.
    QString refusal;
};

// Decides how `target` is written when `sourceFile` is the scanned file.
SaveTarget resolveSaveTarget(const QString &sourceFile, const QString &target);

// Whether to offer the source's extension for a target without one, and which. Only the file
// names count: a "." in a folder name neither gives nor suppresses an extension.
struct ExtensionOffer
{
    bool ask = false;
    QString extension; // the part of the source's file name after its last "."
};

ExtensionOffer extensionOffer(const QString &sourceFile, const QString &target);

// `target` with "." and `extension` appended.
QString withExtension(const QString &target, const QString &extension);

} // namespace twinscan
