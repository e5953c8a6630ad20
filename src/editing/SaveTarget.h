#pragma once

#include <QString>

namespace twinscan {

// Where a save writes. A target that is the scanned file itself, under any name (the same string,
// a relative path, a symbolic or a hard link), is never opened for writing: the lines go to a
// temporary file beside the file that is replaced, which takes its place in one rename at the end.
struct SaveTarget
{
    bool replaceSource = false;
    QString outputFile; // the file opened for writing: the target, or the temporary file
    QString replacedFile; // when replacing: the real file the temporary file is renamed onto
};

inline constexpr char temporarySuffix[] = ".twintemp";

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
