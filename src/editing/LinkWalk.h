#pragma once

#include "engine/FileDescriptor.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <sys/stat.h>

namespace twinscan {

// Where a path leads once every symbolic link on it is followed, as the kernel would follow them
// with its protection of shared folders on, whatever the system's setting: a link in a sticky
// folder that everyone may write is followed only when it belongs to the user or to the folder's
// owner, and a FIFO there is written only when it is theirs. Otherwise anyone could plant a link
// or a FIFO under a name someone else is about to write. The walk opens each folder relative to
// the one before without following a link, and looks at each link through a descriptor of the
// link itself, so what it checked is what a save then writes: the final name in the final folder.
struct LinkWalk
{
    QString path; // the file the path leads to, through folders that are no links; may not exist
    // The folder that holds it, open for use as a base of further calls (O_PATH), and its name
    // there; the folder is not open when the walk failed.
    std::shared_ptr<FileDescriptor> folder;
    QByteArray name;
    bool exists = false;
    struct stat file
    {
    }; // the file itself, when it exists
    bool followedLink = false;
    enum Refusal {
        None,
        PlantedLink, // one the protection refuses
        PlantedFifo, // another user's FIFO in a shared folder
        Unreadable, // a loop of links, or one that went while it was read
        Unopenable, // a folder on the way could not be opened: see error
    } refused
        = None;
    int error = 0;
};

LinkWalk walkLinks(const QString &path);

} // namespace twinscan
