// An open hidraw node: whole reports moved with read and write on its file descriptor.
#ifndef TAVREL_HIDRAW_HANDLE_H
#define TAVREL_HIDRAW_HANDLE_H

#include "backend.h"

#include <memory>

namespace tavrel {

// Takes over fd and closes it with the handle. numberedReports: the device's report
// descriptor declares report ids, so hidraw delivers each input report with its id first.
std::unique_ptr<DeviceHandle> makeHidrawHandle(int fd, bool numberedReports);

} // namespace tavrel

#endif
