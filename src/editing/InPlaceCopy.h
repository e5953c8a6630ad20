#pragma once

namespace twinscan {

// Writes the whole content of the file open as `from`, read from where it stands, over the file
// open as `to` from its start, cuts `to` to that length and syncs it: the file keeps its inode, so
// every other name of it (a hard link) and everything it holds besides its bytes stay. Returns 0,
// or the error of the call that failed, after which `to` may hold a part of the new content.
int copyOver(int from, int to);

} // namespace twinscan
