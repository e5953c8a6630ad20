#pragma once

#include <QByteArrayView>
#include <QString>

namespace twinscan {

// Gives `file` the content `bytes` as a save replaces its target: the bytes go to a temporary
// file beside it, are synced, and take the file's name in one rename, with the permission bits of
// the file replaced. A symbolic link stays a link: the file it names gets the content. Returns why
// it failed, naming the file, or empty; after a failure the file is as it was and no temporary
// file is left.
QString replaceFileContent(const QString &file, QByteArrayView bytes);

} // namespace twinscan
