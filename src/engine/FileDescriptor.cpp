#include "engine/FileDescriptor.h"

#include "engine/SystemCalls.h"

namespace twinscan {

void FileDescriptor::reset(int fd)
{
    if (fd_ >= 0 && fd_ != fd)
        sys::close(fd_);
    fd_ = fd;
}

bool FileDescriptor::close()
{
    return fd_ < 0 || sys::close(release()) == 0;
}

} // namespace twinscan
