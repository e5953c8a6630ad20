#pragma once

#include "engine/FileDescriptor.h"

#include <QByteArray>
#include <QString>

namespace twinscan {

// A new file of a unique, short name in a given folder, where a save writes before it commits:
// ".twinscan-" and eight random letters and digits, then ".twintemp". It is created exclusively,
// so no file of another run or of anyone else is ever opened or removed under its name, and it is
// removed when it goes unless it was committed or kept. While it exists, a SIGINT, SIGTERM or
// SIGHUP removes it (InterruptSignals).
class TemporaryFile
{
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Creates the file in `folder`, readable and writable by its owner only, and returns its
    // descriptor for writing; not open, with errno set, on failure.
    FileDescriptor create(const QString &folder);
    // Renames the file onto `name` in the same folder, atomically replacing what had that name.
    // False with errno set when that fails; the file is then still there.
    bool commit(const QString &name);
    // Leaves the file in place, for a save the user stopped.
    void keep();
    // Removes the file now; false with errno set when that fails.
    bool remove();

    QString path() const; // empty before create(); still the name after commit() or keep()

    static constexpr char prefix[] = ".twinscan-";
    static constexpr char suffix[] = ".twintemp";

private:
    FileDescriptor folder_;
    QString folderPath_;
    QByteArray name_;
    bool live_ = false; // whether the file is still there and ours to remove
};

} // namespace twinscan
