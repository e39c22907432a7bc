// Why a device node cannot be opened, asked of the system directly: hidapi keeps the
// reason of a failed open to itself.
#ifndef TAVREL_NODE_ACCESS_H
#define TAVREL_NODE_ACCESS_H

#include <string>

namespace tavrel {

// 0 when the node opens for reading and writing (it is closed again at once), else the
// system's error number: EACCES or EPERM without permission, ENOENT when it is gone.
int nodeOpenError(const std::string& path);

} // namespace tavrel

#endif
