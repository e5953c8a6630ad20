#pragma once

#include <QString>

namespace twinscan {

// Where a path leads once every symbolic link on it is followed, as the kernel would follow them
// with its protection of shared folders on, whatever the system's setting: a link in a sticky
// folder that everyone may write is followed only when it belongs to the user or to the folder's
// owner. Otherwise anyone could plant a link under a name someone else is about to write.
struct LinkWalk
{
    QString path; // the file the path leads to, through folders that are no links; may not exist
    bool followedLink = false;
    enum Refusal {
        None,
        PlantedLink, // one the protection refuses
        Unreadable, // a loop of links, or one that went while it was read
    } refused
        = None;
};

LinkWalk walkLinks(const QString &path);

} // namespace twinscan
