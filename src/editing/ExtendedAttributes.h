#pragma once

#include <QString>

namespace twinscan {

// Gives the file open as `to` every extended attribute of the file open as `from` that this
// process may read: the POSIX ACLs (system.posix_acl_access and system.posix_acl_default), the
// user's own attributes, and the security and trusted ones where the process may set them, as
// `cp --preserve=all` does. Returns what could not be kept, as the attributes' names and the
// system's reason ("user.a, user.b (Operation not supported)") or the reason alone when none could
// be read; empty when all were kept.
QString copyExtendedAttributes(int from, int to);

} // namespace twinscan
