#include "node_access.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace tavrel {

int nodeOpenError(const std::string& path) {
    // Non-blocking: a probe must never wait on a device.
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return errno;
    ::close(fd);
    return 0;
}

} // namespace tavrel
