#ifndef TAVREL_VERSION_H
#define TAVREL_VERSION_H

namespace tavrel {

// The version text of the library, NUL included: callers reserve 5 bytes for it.
inline constexpr char kLibVersion[] = "1.16";

} // namespace tavrel

#endif
