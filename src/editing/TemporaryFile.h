#pragma once

#include "engine/FileDescriptor.h"

#include <QByteArray>
#include <QString>

namespace twinscan {

// A new file in a given folder, where a save writes before it commits. Where the file system
// allows it the file has no name until the commit links it in, so that even a killed program
// leaves nothing behind. Elsewhere it gets a unique, short name: ".twinscan-" and eight random
// letters and digits, then ".twintemp"; while it has one, a SIGINT, SIGTERM or SIGHUP removes it
// (InterruptSignals). Either way it is created exclusively, so no file of another run or of
// anyone else is ever opened or removed under its name, and it is removed when it goes unless it
// was committed.
class TemporaryFile
{
public:
    TemporaryFile() = default;
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile &) = delete;
    TemporaryFile &operator=(const TemporaryFile &) = delete;

    // Creates the file in `folder`, readable and writable by its owner only, and returns a
    // descriptor for writing; not open, with errno set, on failure.
    FileDescriptor create(const QString &folder);
    // The same in the folder open as `folder` (for use as a base only, say), which is not looked
    // up again by name.
    FileDescriptor create(int folder);
    // Puts the file under `name` in the same folder, atomically replacing what had that name.
    // False with errno set when that fails; the file is then still ours, and removed when it goes.
    bool commit(const QString &name);
    // Removes the file now; false with errno set when that fails.
    bool remove();
    // Gives a file without a name its name now; false with errno set when that fails.
    bool giveName();
    // Opens the named file for reading from its start.
    FileDescriptor openForReading() const;
    // Leaves the named file for the user: neither it going nor a signal removes it any more.
    // Returns its name in its folder.
    QByteArray keep();

    static constexpr char prefix[] = ".twinscan-";
    static constexpr char suffix[] = ".twintemp";

private:
    FileDescriptor createIn();
    FileDescriptor createNamed();
    bool linkIn();

    FileDescriptor folder_;
    FileDescriptor unnamed_; // the file without a name, held open until it is linked in
    QByteArray name_;
    bool live_ = false; // whether the file has a name that is ours to remove
};

} // namespace twinscan
